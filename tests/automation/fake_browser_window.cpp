#include "automation/fake_browser_window.h"

#include <oleacc.h>

#include <atomic>

namespace corvalin::testing {

namespace {

constexpr GUID kHtmlDocumentInterface = {0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

struct ServerState {
    IDispatch* document;
    DWORD delayMs;
};

std::atomic<int> requests{0};

LRESULT CALLBACK FakeServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT getObject = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    auto* state = reinterpret_cast<ServerState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_NCDESTROY && state) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete state;
    } else if (message == getObject && state) {
        ++requests;
        if (state->delayMs) Sleep(state->delayMs);
        if (!state->document) return 0;
        return LresultFromObject(kHtmlDocumentInterface, wParam, state->document);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The fakes' class is registered for an instance handle of its own, so it
// lives beside the browser engine's class of the same name in one program.
HINSTANCE FakeClassInstance() {
    static char marker;
    return reinterpret_cast<HINSTANCE>(&marker);
}

void RegisterFakeServerClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = FakeServerProc;
        windowClass.hInstance = FakeClassInstance();
        windowClass.lpszClassName = "Internet Explorer_Server";
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

UniqueWindow CreateFakeBrowserServer(HWND parent, IDispatch* document, DWORD delayMs) {
    RegisterFakeServerClass();
    auto* state = new ServerState{document, delayMs};
    HWND window = CreateWindowExA(0, "Internet Explorer_Server", "", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                                  parent, nullptr, FakeClassInstance(), state);
    if (!window) delete state;
    return UniqueWindow(window);
}

UniqueWindow CreateContainerWindow(HWND parent, const char* className) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ContainerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);   // a second registration of the same class fails harmlessly
    return UniqueWindow(CreateWindowExA(0, className, "", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
                                        nullptr, GetModuleHandleA(nullptr), nullptr));
}

int FakeBrowserRequests() { return requests.load(); }

}  // namespace corvalin::testing
