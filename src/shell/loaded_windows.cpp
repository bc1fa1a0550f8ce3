// Loading and destroying windows from their forms, and the form window's procedure.
#include "shell/loaded_windows.h"

#include <algorithm>
#include <unordered_map>

#include "shell/loaded_window.h"
#include "shell/runtime.h"

namespace corvalin::shell {
namespace {

constexpr char kFormClass[] = "Corvalin.Form";
constexpr UINT_PTR kTimerIdBase = 1000;

struct Binding {
    std::weak_ptr<LoadedWindow> window;
    LoadedControl* control = nullptr;
};

std::vector<std::shared_ptr<LoadedWindow>>& Loaded() {
    static std::vector<std::shared_ptr<LoadedWindow>> loaded;
    return loaded;
}

std::unordered_map<HWND, Binding>& Bindings() {
    static std::unordered_map<HWND, Binding> bindings;
    return bindings;
}

LoadedControl* ControlOfChild(LoadedWindow& window, HWND child) {
    for (auto& control : window.controls) {
        if (control->window == child) return control.get();
    }
    return nullptr;
}

// Gives back the enabled state of the windows a modal load disabled, before
// the modal window goes, so activation returns to them.
void RestoreDisabledWindows(LoadedWindow& window) {
    for (auto it = window.disabledByModal.rbegin(); it != window.disabledByModal.rend(); ++it) {
        if (IsWindow(it->first)) EnableWindow(it->first, it->second ? TRUE : FALSE);
    }
    window.disabledByModal.clear();
}

struct DisableContext {
    HWND except;
    std::vector<std::pair<HWND, bool>>* disabled;
};

BOOL CALLBACK DisableOtherWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<DisableContext*>(param);
    if (window == context->except || !IsWindowVisible(window)) return TRUE;
    const bool wasEnabled = IsWindowEnabled(window) != FALSE;
    context->disabled->emplace_back(window, wasEnabled);
    if (wasEnabled) EnableWindow(window, FALSE);
    return TRUE;
}

void SetWindowIcons(HWND window) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    // LR_SHARED: the system owns these and frees them with the module.
    auto load = [&](int size) {
        return static_cast<HICON>(LoadImageA(module, "DEFAULT_ICON", IMAGE_ICON, size, size, LR_SHARED));
    };
    if (HICON big = load(GetSystemMetrics(SM_CXICON))) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON small = load(GetSystemMetrics(SM_CXSMICON))) SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void OnFormCommand(LoadedWindow& window, WPARAM wParam, LPARAM lParam) {
    LoadedControl* control = ControlOfChild(window, reinterpret_cast<HWND>(lParam));
    if (control && control->form->kind == kKindButton && HIWORD(wParam) == BN_CLICKED) {
        RaiseEvent(window, control, kEventClick);
    }
}

void OnFormTimer(LoadedWindow& window, WPARAM timerId) {
    for (auto& control : window.controls) {
        if (control->form->kind == kKindTimer && control->timerId == timerId && control->interval > 0) {
            RaiseEvent(window, control.get(), kEventTick);
            return;
        }
    }
}

LRESULT OnFormColorEdit(LoadedWindow& window, HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    LoadedControl* control = ControlOfChild(window, reinterpret_cast<HWND>(lParam));
    if (!control || control->form->kind != kKindEditBox) return DefWindowProcA(form, message, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, control->textColor);
    SetBkColor(dc, control->backColor);
    if (!control->backBrush) control->backBrush.reset(CreateSolidBrush(control->backColor));
    return reinterpret_cast<LRESULT>(control->backBrush.get());
}

void OnFormClose(LoadedWindow& window, HWND form) {
    const std::optional<bool> allowed = RaiseEvent(window, nullptr, kEventMayClose);
    if (allowed.has_value() && !*allowed) return;
    if (!IsWindow(form)) return;
    RestoreDisabledWindows(window);
    DestroyWindow(form);
}

void OnFormDestroyed(HWND form) {
    auto& loaded = Loaded();
    auto it = std::find_if(loaded.begin(), loaded.end(), [&](const auto& w) { return w->window == form; });
    if (it == loaded.end()) return;
    std::shared_ptr<LoadedWindow> window = *it;
    loaded.erase(it);
    for (auto& control : window->controls) {
        if (control->window) UnbindWindow(control->window);
        control->window = nullptr;
    }
    UnbindWindow(form);
    window->window = nullptr;
    window->destroyed = true;
}

LRESULT CALLBACK FormWindowProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    std::optional<WindowOwner> owner = OwnerOf(form);
    if (!owner) return DefWindowProcA(form, message, wParam, lParam);
    LoadedWindow& window = *owner->window;
    if (message == DeferredDestroyMessage()) {
        RestoreDisabledWindows(window);
        DestroyWindow(form);
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        OnFormCommand(window, wParam, lParam);
        break;
    case WM_TIMER:
        OnFormTimer(window, wParam);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return OnFormColorEdit(window, form, message, wParam, lParam);
    case WM_CLOSE:
        OnFormClose(window, form);
        return 0;
    case WM_HOTKEY:
        DeliverHotKey(static_cast<int>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && window.form->escCloses) {
            PostMessageA(form, WM_CLOSE, 0, 0);
            return 0;
        }
        RaiseEvent(window, nullptr, kEventKeyDown, {{static_cast<int>(wParam), CurrentShiftState(), 0}});
        if (wParam == VK_TAB && IsWindow(form)) MoveFocusAlongTabOrder(window, form, GetKeyState(VK_SHIFT) < 0);
        return 0;
    case WM_LBUTTONDOWN:
        RaiseEvent(window, nullptr, kEventLeftButtonDown,
                   {{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), CurrentShiftState()}});
        return 0;
    case WM_SETCURSOR:
        if (window.cursor != 0 && reinterpret_cast<HWND>(wParam) == form && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(window.cursor)));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        RestoreDisabledWindows(window);
        ReleaseHotKeysOf(form);
        for (auto& control : window.controls) {
            if (control->form->kind == kKindTimer && control->interval > 0) KillTimer(form, control->timerId);
        }
        break;
    case WM_NCDESTROY:
        OnFormDestroyed(form);
        break;
    }
    return DefWindowProcA(form, message, wParam, lParam);
}

void RegisterFormClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    registered = RegisterClassExA(&wc) != 0;
}

std::shared_ptr<LoadedWindow> CreateFormWindow(const WindowForm& form) {
    RegisterFormClass();
    RegisterControlClasses();
    auto window = std::make_shared<LoadedWindow>();
    window->form = &form;
    int left = form.left, top = form.top;
    if (form.centred) {
        left = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
    }
    window->left = left;
    window->top = top;
    window->width = form.width;
    window->height = form.height;
    // A plain pop-up: the skin draws its frame and title bar.
    DWORD style = WS_POPUP | WS_SYSMENU | WS_CLIPSIBLINGS;
    if (form.minimizeBox) style |= WS_MINIMIZEBOX;
    HWND handle = CreateWindowExA(WS_EX_APPWINDOW, kFormClass, form.caption.c_str(), style, left, top, form.width,
                                  form.height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!handle) return nullptr;
    window->window = handle;
    BindWindow(handle, window, nullptr);
    Loaded().push_back(window);
    SetWindowIcons(handle);

    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const ControlForm& controlForm = form.controls[i];
        auto control = std::make_unique<LoadedControl>();
        control->form = &controlForm;
        control->left = controlForm.left;
        control->top = controlForm.top;
        control->width = controlForm.width;
        control->height = controlForm.height;
        control->visible = controlForm.visible;
        control->disabled = !controlForm.enabled;
        control->textColor = controlForm.textColor;
        control->backColor = controlForm.backColor;
        control->alignment = controlForm.alignment;
        control->verticalAlignment = controlForm.verticalAlignment;
        control->wordWrap = controlForm.wordWrap;
        control->timerId = kTimerIdBase + i;
        window->controls.push_back(std::move(control));
        LoadedControl& created = *window->controls.back();
        CreateControlWindow(window, created, static_cast<int>(i));
        if (controlForm.kind == kKindTimer && controlForm.interval > 0) {
            created.interval = controlForm.interval;
            SetTimer(handle, created.timerId, static_cast<UINT>(created.interval), nullptr);
        }
    }
    return window;
}

}  // namespace

std::shared_ptr<LoadedWindow> FindLoadedWindow(ControlId windowId) {
    for (const auto& window : Loaded()) {
        if (window->form->windowId == windowId && !window->destroyed) return window;
    }
    return nullptr;
}

LoadedControl* FindControl(LoadedWindow& window, ControlId controlId) {
    for (auto& control : window.controls) {
        if (control->form->id == controlId) return control.get();
    }
    return nullptr;
}

std::optional<WindowOwner> OwnerOf(HWND window) {
    auto it = Bindings().find(window);
    if (it == Bindings().end()) return std::nullopt;
    std::shared_ptr<LoadedWindow> owner = it->second.window.lock();
    if (!owner) return std::nullopt;
    return WindowOwner{owner, it->second.control};
}

void BindWindow(HWND window, const std::shared_ptr<LoadedWindow>& owner, LoadedControl* control) {
    Bindings()[window] = Binding{owner, control};
}

void UnbindWindow(HWND window) { Bindings().erase(window); }

std::optional<bool> RaiseEvent(const LoadedWindow& window, const LoadedControl* control, EventNumber event,
                               EventArgs args) {
    const auto& events = control ? control->form->events : window.form->events;
    return RunEventHandler(BoundHandler(events, event), args);
}

int CurrentShiftState() {
    int state = 0;
    if (GetKeyState(VK_CONTROL) < 0) state += kShiftCtrl;
    if (GetKeyState(VK_SHIFT) < 0) state += kShiftShift;
    if (GetKeyState(VK_MENU) < 0) state += kShiftAlt;
    return state;
}

UINT DeferredDestroyMessage() {
    static const UINT message = RegisterWindowMessageA("Corvalin.DeferredDestroy");
    return message;
}

bool LoadWindow(ControlId windowId, bool modal) {
    if (std::shared_ptr<LoadedWindow> loaded = FindLoadedWindow(windowId)) {
        ShowWindow(loaded->window, SW_SHOW);
        return true;
    }
    const WindowForm* form = FindForm(windowId);
    if (!form) return false;
    std::shared_ptr<LoadedWindow> window = CreateFormWindow(*form);
    if (!window) return false;
    if (modal) {
        DisableContext context{window->window, &window->disabledByModal};
        EnumThreadWindows(GetCurrentThreadId(), DisableOtherWindow, reinterpret_cast<LPARAM>(&context));
    }
    // The created handler runs before the window is shown, so the first
    // paint on screen already has whatever it set up (the skin among it).
    RaiseEvent(*window, nullptr, kEventCreated);
    if (!window->destroyed && IsWindow(window->window)) {
        ShowWindow(window->window, SW_SHOW);
        UpdateWindow(window->window);
    }
    if (!modal) return true;
    while (!window->destroyed) {
        MSG message;
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));   // leave it for the outer loop
            break;
        }
        if (got == -1) break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void DestroyLoadedWindow(ControlId windowId) {
    if (std::shared_ptr<LoadedWindow> window = FindLoadedWindow(windowId)) {
        PostMessageA(window->window, DeferredDestroyMessage(), 0, 0);
    }
}

bool IsWindowLoaded(ControlId windowId) { return FindLoadedWindow(windowId) != nullptr; }

bool AnyWindowLoaded() { return !Loaded().empty(); }

void DestroyAllLoadedWindows() {
    std::vector<std::shared_ptr<LoadedWindow>> windows = Loaded();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IsWindow((*it)->window)) DestroyWindow((*it)->window);
    }
}

HWND GetWindowHandle(const ControlRef& control) {
    std::shared_ptr<LoadedWindow> window = FindLoadedWindow(control.windowId);
    if (!window) return nullptr;
    if (control.controlId == window->form->unitId) return window->window;
    LoadedControl* found = FindControl(*window, control.controlId);
    return found && found->window && IsWindow(found->window) ? found->window : nullptr;
}

void SetControlFocus(const ControlRef& control) {
    if (HWND window = GetWindowHandle(control)) SetFocus(window);
}

}  // namespace corvalin::shell
