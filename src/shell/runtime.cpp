// Start-up, the message loops, exit, the message box, the shell's open action
// and fatal errors.
#include "shell/runtime.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "shell/forms.h"
#include "shell/form_ids.h"
#include "shell/loaded_window.h"

namespace corvalin::shell {
namespace {

constexpr char kMessageWindowClass[] = "Corvalin.RuntimeMessages";
// How long one ProcessPendingEvents may keep dispatching.
constexpr DWORD kPendingEventsBudgetMs = 100;

DWORD uiThread = 0;
HWND messageWindow = nullptr;
std::function<void()>& ExitRoutine() {
    static std::function<void()> routine;
    return routine;
}
bool exitRoutineRan = false;
bool inFatalError = false;

// The hidden window: ExitProgram asked from another thread arrives here.
LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ExitRequestMessage()) ExitProgram(static_cast<int>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

void CreateMessageWindow() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MessageWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kMessageWindowClass;
    RegisterClassExA(&wc);
    messageWindow = CreateWindowExA(0, kMessageWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
}

void SetCurrentDirectoryToProgram() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return;
    *(slash == path + 2 && path[1] == ':' ? slash + 1 : slash) = '\0';   // keep "C:\" a root
    SetCurrentDirectoryA(path);
}

void Dispatch(MSG& message) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace

UINT ExitRequestMessage() {
    static const UINT message = RegisterWindowMessageA("Corvalin.ExitRequest");
    return message;
}

void InitializeRuntime() {
    if (messageWindow) {   // already running: only the directory is set again
        SetCurrentDirectoryToProgram();
        return;
    }
    uiThread = GetCurrentThreadId();
    OleInitialize(nullptr);
    SetCurrentDirectoryToProgram();
    CreateMessageWindow();
    // The forms are built once, here, so loading a window later costs nothing.
    FindForm(kMainWindowId);
    FindForm(kExitConfirmWindowId);
}

void RegisterExitRoutine(std::function<void()> routine) { ExitRoutine() = std::move(routine); }

int RunMessageLoop() {
    while (AnyWindowLoaded()) {
        MSG message;
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) break;
        Dispatch(message);
    }
    return 0;
}

void ProcessPendingEvents() {
    // The messages that were waiting, not the ones their handlers post or the
    // timers that come due meanwhile: a flood of those would never let the
    // queue run dry. The time limit is checked before every message.
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < kPendingEventsBudgetMs && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));   // for the loop that owns it
            return;
        }
        const bool arrivedSince = static_cast<LONG>(message.time - start) > 0;
        Dispatch(message);
        if (arrivedSince) return;
    }
}

void ExitProgram(int code) {
    if (uiThread != 0 && GetCurrentThreadId() != uiThread && messageWindow) {
        SendMessageA(messageWindow, ExitRequestMessage(), static_cast<WPARAM>(code), 0);
    }
    DestroyAllLoadedWindows();
    if (!exitRoutineRan) {
        exitRoutineRan = true;
        if (ExitRoutine()) ExitRoutine()();
    }
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
}

void FatalError(std::optional<int> code, const std::string& message) {
    // A second fatal error raised from inside the first one's message box ends at once.
    if (!inFatalError) {
        inFatalError = true;
        std::string text = "运行时出错!\r\n\r\n";
        if (code) text += "错误代码：" + std::to_string(*code) + "\r\n\r\n";
        if (!message.empty()) text += "错误信息：" + message + "\r\n";
        MessageBoxA(nullptr, text.c_str(), "错误", MB_OK | MB_ICONERROR);
    }
    ExitProgram(-1);
}

int ShowMessageBox(const std::string& text, unsigned style, const std::string& title) {
    if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    const int result = MessageBoxA(nullptr, text.c_str(), title.c_str(), style);
    return result > 0 ? result - IDOK : -1;
}

void OpenAddress(const std::string& address) {
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace corvalin::shell
