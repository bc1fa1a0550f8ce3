// Dialogs a page opens: alert/confirm/prompt and the file input's chooser.
#include "browser/box/page.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "base/module_export.h"
#include "browser/box/browser_box_engine.h"
#include "browser/watchdog/script_watchdog.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

DialogAnswer Page::ShowDialog(const DialogRequest& request) {
    ScriptDepth depth(*this);
    ScriptClockPause pause;   // the user's time to answer is not the script's
    return box_.ShowDialog(request);
}

std::optional<std::wstring> Page::ChooseFile(dom::Element& input) {
    // Looked up at every click, so a patch put on the function takes effect.
    HMODULE dialogs = GetModuleHandleA("comdlg32.dll");
    if (!dialogs) dialogs = LoadLibraryA("comdlg32.dll");
    using OpenFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto open = ModuleExport<OpenFunction>(dialogs, "GetOpenFileNameW");
    if (!open) return std::nullopt;
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring current = input.Value();
    std::copy_n(current.begin(), std::min(current.size(), file.size() - 1), file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetAncestor(box_.Window(), GA_ROOT);
    dialog.lpstrFilter = L"All Files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size() - 1);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ScriptDepth depth(*this);
    ScriptClockPause pause;
    if (!open(&dialog)) return std::nullopt;
    file.back() = L'\0';
    return std::wstring(file.data());
}

}  // namespace corvalin::browser
