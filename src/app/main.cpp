// Corvalin's entry: start-up in its fixed order, then the message loop.
#include <windows.h>

#include "automation/page_automation.h"
#include "browser/browser_box.h"
#include "client/client_handlers.h"
#include "shell/shell.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace {

// Run once by ExitProgram: the page automation object goes first, then the skin.
void RunExitRoutine() {
    // Page automation: its destructor releases the document and ends its COM initialisation.
    corvalin::ThePageAutomation.reset();
    // Skin: its destructor destroys the caption icon and shuts GDI+ down; the
    // tables go after it, with every cache they own.
    corvalin::TheSkinEngine.reset();
    corvalin::FreeSkinTables();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    namespace shell = corvalin::shell;

    // 1. Runtime: OLE, the current directory, the hidden message window, the forms.
    shell::InitializeRuntime();
    // The page engine's window class for the browser box, before any window is loaded.
    corvalin::browser::RegisterBrowserBoxClass();

    // 2. Page automation.
    corvalin::ThePageAutomation = std::make_unique<corvalin::PageAutomation>();
    // 3. Skin.
    corvalin::TheSkinEngine = std::make_unique<corvalin::SkinEngine>();
    // 4. The skin's window registry and memory device context registry.
    corvalin::CreateSkinTables();

    // 5. The exit routine.
    shell::RegisterExitRoutine(RunExitRoutine);

    // 6. The skin module: GDI+, the caption icon, the defaults.
    corvalin::InitializeSkinModule();

    // The client's event handlers, before the first window loads.
    corvalin::client::RegisterClientHandlers();

    // 7. The start-up page request: an empty address, whatever the shell makes of it.
    shell::OpenAddress("");

    // 8. The start-up window.
    if (!shell::LoadWindow(shell::kMainWindowId, false)) shell::FatalError(std::nullopt, "载入启动窗口失败");

    // 9.
    return shell::RunMessageLoop();
}
