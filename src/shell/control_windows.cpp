// The child windows of controls: standard edit boxes and buttons (subclassed
// for their events and input modes) and the shell's own classes for labels,
// picture boxes and the browser box container.
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "shell/loaded_window.h"

namespace corvalin::shell {
namespace {

constexpr char kTransparentLabelClass[] = "Corvalin.TransparentLabel";
constexpr char kLabelClass[] = "Corvalin.Label";
constexpr char kPictureBoxClass[] = "Corvalin.PictureBox";
constexpr char kBrowserContainerClass[] = "Corvalin.BrowserContainer";
// Registered by the page engine when it is part of the program.
constexpr char kBrowserBoxClass[] = "Corvalin.BrowserBox";
constexpr int kFirstChildId = 100;

// The procedure each subclassed standard control had before ours.
std::unordered_map<HWND, WNDPROC>& PreviousProcs() {
    static std::unordered_map<HWND, WNDPROC> procs;
    return procs;
}

EventArgs MouseArgs(LPARAM lParam) { return {{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), CurrentShiftState()}}; }

bool SetCursorOf(const LoadedControl& control, WPARAM wParam, LPARAM lParam) {
    if (control.cursor == 0 || reinterpret_cast<HWND>(wParam) != control.window || LOWORD(lParam) != HTCLIENT) {
        return false;
    }
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(control.cursor)));
    return true;
}

// The integer the text starts with, digits as typed: an account number has
// more digits than a 32-bit integer holds, and must never change. Leading
// zeros go, and 0 reads as the empty text.
std::string IntegerBoxText(const std::string& text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) return {};
    std::string sign;
    if (text[at] == '-' || text[at] == '+') sign = text[at++] == '-' ? "-" : "";
    while (at < text.size() && text[at] == '0') ++at;
    std::size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == at) return {};
    return sign + text.substr(at, end - at);
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

void RewriteIntegerBox(HWND edit) {
    const std::string text = WindowText(edit);
    const std::string rewritten = IntegerBoxText(text);
    if (rewritten != text) SetWindowTextA(edit, rewritten.c_str());
}

}  // namespace

// The order the controls were added to the form, which the form lists last
// first; visible, enabled edit boxes and buttons only; wraps at either end.
void MoveFocusAlongTabOrder(const LoadedWindow& form, HWND from, bool backward) {
    std::vector<const LoadedControl*> stops;
    for (auto it = form.controls.rbegin(); it != form.controls.rend(); ++it) {
        HWND window = (*it)->window;
        if (window && IsWindowVisible(window) && IsWindowEnabled(window) &&
            (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP)) {
            stops.push_back(it->get());
        }
    }
    if (stops.empty()) return;
    const auto at = std::find_if(stops.begin(), stops.end(), [&](const LoadedControl* c) { return c->window == from; });
    std::size_t next = backward ? stops.size() - 1 : 0;
    if (at != stops.end()) {
        const std::size_t here = static_cast<std::size_t>(at - stops.begin());
        next = backward ? (here + stops.size() - 1) % stops.size() : (here + 1) % stops.size();
    }
    SetFocus(stops[next]->window);
    if (stops[next]->form->kind == kKindEditBox) SendMessageA(stops[next]->window, EM_SETSEL, 0, -1);
}

namespace {

// Edit boxes and buttons: the events every control has, the integer input
// mode, Esc as the window's close request and Tab moving the focus.
LRESULT CALLBACK StandardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previousIt = PreviousProcs().find(window);
    if (previousIt == PreviousProcs().end()) return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC previous = previousIt->second;
    if (message == WM_NCDESTROY) {
        PreviousProcs().erase(window);
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    std::optional<WindowOwner> owner = OwnerOf(window);
    if (!owner || !owner->control) return CallWindowProcA(previous, window, message, wParam, lParam);
    LoadedWindow& form = *owner->window;
    LoadedControl& control = *owner->control;
    const bool integerBox = control.form->kind == kKindEditBox && control.form->inputMode == InputMode::Integer;

    switch (message) {
    case WM_CHAR:
        if (wParam == '\t') return 0;   // Tab moved the focus on its key-down
        if (integerBox && wParam >= 0x20 && wParam != '-' && (wParam < '0' || wParam > '9')) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && form.form->escCloses) {
            PostMessageA(form.window, WM_CLOSE, 0, 0);
            return 0;
        }
        RaiseEvent(form, &control, kEventKeyDown, {{static_cast<int>(wParam), CurrentShiftState(), 0}});
        if (!IsWindow(window)) return 0;
        if (wParam == VK_TAB) {
            MoveFocusAlongTabOrder(form, window, GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        break;
    case WM_SETFOCUS: {
        const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        RaiseEvent(form, &control, kEventGotFocus);
        return result;
    }
    case WM_KILLFOCUS: {
        if (integerBox) RewriteIntegerBox(window);
        const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        RaiseEvent(form, &control, kEventLostFocus);
        return result;
    }
    case WM_LBUTTONDOWN:
        RaiseEvent(form, &control, kEventLeftButtonDown, MouseArgs(lParam));
        if (!IsWindow(window)) return 0;
        break;
    case WM_SETCURSOR:
        if (SetCursorOf(control, wParam, lParam)) return TRUE;
        break;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void Subclass(HWND window) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    PreviousProcs()[window] = previous;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandardControlProc));
}

HFONT LabelFont(const LoadedControl& control) {
    return control.fontObject ? static_cast<HFONT>(control.fontObject.get())
                              : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Only the caption, over whatever the parent painted behind the label.
void PaintTransparentLabel(const LoadedControl& control, HDC dc) {
    RECT area;
    GetClientRect(control.window, &area);
    const std::string caption = WindowText(control.window);
    SelectScope font(dc, LabelFont(control));
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_NOPREFIX;
    format |= control.alignment == 1 ? DT_CENTER : control.alignment == 2 ? DT_RIGHT : DT_LEFT;
    if (control.wordWrap) {
        format |= DT_WORDBREAK;
    } else {
        format |= DT_SINGLELINE;
        format |= control.verticalAlignment == 1 ? DT_VCENTER : control.verticalAlignment == 2 ? DT_BOTTOM : DT_TOP;
    }
    const int shadowOffset = control.textEffect == 3 ? 2 : 1;
    if (control.textEffect >= 1 && control.textEffect <= 3) {
        RECT shadow = area;
        OffsetRect(&shadow, shadowOffset, shadowOffset);
        SetTextColor(dc, control.textEffect == 1 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, format);
    }
    SetTextColor(dc, control.textColor);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &area, format);
}

void PaintLabel(const LoadedControl& control, HDC dc) {
    RECT area;
    GetClientRect(control.window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const std::string caption = WindowText(control.window);
    SelectScope font(dc, LabelFont(control));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, control.textColor);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &area, DT_NOPREFIX | DT_WORDBREAK);
}

void PaintPictureBox(LoadedControl& control, HDC dc) {
    RECT area;
    GetClientRect(control.window, &area);
    UniqueGdiObject background(CreateSolidBrush(control.backColor));
    FillRect(dc, &area, static_cast<HBRUSH>(background.get()));
    if (control.picture) DrawPicture(control.picture, dc, 0, 0);
    if (control.border != 0) FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
}

// The shell's own classes: one procedure, painting by kind.
LRESULT CALLBACK OwnControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::optional<WindowOwner> owner = OwnerOf(window);
    if (!owner || !owner->control) return DefWindowProcA(window, message, wParam, lParam);
    LoadedWindow& form = *owner->window;
    LoadedControl& control = *owner->control;
    const KindCode kind = control.form->kind;
    if (message == LabelFeedbackMessage()) {
        if (kind == kKindLabel) {
            RaiseEvent(form, &control, kEventFeedback, {{static_cast<int>(wParam), static_cast<int>(lParam), 0}});
        }
        return 0;
    }
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(window);
        if (kind == kKindTransparentLabel) PaintTransparentLabel(control, paint.get());
        else if (kind == kKindLabel) PaintLabel(control, paint.get());
        else if (kind == kKindPictureBox) PaintPictureBox(control, paint.get());
        else FillRect(paint.get(), &paint.paint().rcPaint, GetSysColorBrush(COLOR_WINDOW));
        return 0;
    }
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (kind == kKindTransparentLabel) PaintTransparentLabel(control, dc);
        else if (kind == kKindLabel) PaintLabel(control, dc);
        else if (kind == kKindPictureBox) PaintPictureBox(control, dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;   // painted whole in WM_PAINT; the transparent label keeps the parent's pixels
    case WM_LBUTTONDOWN:
        RaiseEvent(form, &control, kEventLeftButtonDown, MouseArgs(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is still a press: a quick second
        // click on the captcha picture must fetch a new one.
        RaiseEvent(form, &control, kEventLeftButtonDown, MouseArgs(lParam));
        if (IsWindow(window)) RaiseEvent(form, &control, kEventDoubleClick, MouseArgs(lParam));
        return 0;
    case WM_SETCURSOR:
        if (SetCursorOf(control, wParam, lParam)) return TRUE;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && form.form->escCloses) {
            PostMessageA(form.window, WM_CLOSE, 0, 0);
            return 0;
        }
        RaiseEvent(form, &control, kEventKeyDown, {{static_cast<int>(wParam), CurrentShiftState(), 0}});
        return 0;
    case WM_SETFOCUS:
        RaiseEvent(form, &control, kEventGotFocus);
        return 0;
    case WM_KILLFOCUS:
        RaiseEvent(form, &control, kEventLostFocus);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOwnClass(const char* name, bool withBackground) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = OwnControlProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = withBackground ? reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1) : nullptr;
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

bool BrowserBoxClassRegistered() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    return GetClassInfoExA(GetModuleHandleA(nullptr), kBrowserBoxClass, &wc) != FALSE;
}

}  // namespace

UINT LabelFeedbackMessage() {
    static const UINT message = RegisterWindowMessageA("Corvalin.LabelFeedback");
    return message;
}

void RegisterControlClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    RegisterOwnClass(kTransparentLabelClass, false);
    RegisterOwnClass(kLabelClass, true);
    RegisterOwnClass(kPictureBoxClass, true);
    RegisterOwnClass(kBrowserContainerClass, true);
}

void ApplyLabelFont(LoadedControl& control) {
    control.fontObject.reset();
    if (control.font.size() >= sizeof(LOGFONTA)) {
        LOGFONTA font;
        std::memcpy(&font, control.font.data(), sizeof font);
        control.fontObject.reset(CreateFontIndirectA(&font));
    }
}

void RepaintTransparentLabel(const LoadedControl& control) {
    if (!control.window) return;
    HWND parent = GetParent(control.window);
    RECT area;
    GetWindowRect(control.window, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CreateControlWindow(const std::shared_ptr<LoadedWindow>& owner, LoadedControl& control, int index) {
    const ControlForm& form = *control.form;
    if (form.kind == kKindTimer) return;
    HWND parent = owner->window;
    HINSTANCE module = GetModuleHandleA(nullptr);
    HMENU childId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstChildId + index));
    const DWORD visible = form.visible ? WS_VISIBLE : 0;
    const DWORD disabled = form.enabled ? 0 : WS_DISABLED;
    HWND window = nullptr;
    bool subclass = false;
    switch (form.kind) {
    case kKindEditBox: {
        DWORD style = WS_CHILD | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL | visible | disabled;
        if (form.inputMode == InputMode::Password) style |= ES_PASSWORD;
        window = CreateWindowExA(0, "Edit", form.text.c_str(), style, form.left, form.top, form.width, form.height,
                                 parent, childId, module, nullptr);
        if (window) {
            SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
            if (form.maxLength > 0) SendMessageA(window, EM_SETLIMITTEXT, static_cast<WPARAM>(form.maxLength), 0);
            if (form.inputMode == InputMode::Password) {
                SendMessageA(window, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(form.passwordChar)), 0);
            }
        }
        subclass = true;
        break;
    }
    case kKindButton:
        window = CreateWindowExA(0, "Button", form.text.c_str(), WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | visible | disabled,
                                 form.left, form.top, form.width, form.height, parent, childId, module, nullptr);
        if (window) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        subclass = true;
        break;
    case kKindTransparentLabel:
        window = CreateWindowExA(WS_EX_TRANSPARENT, kTransparentLabelClass, form.text.c_str(), WS_CHILD | visible | disabled,
                                 form.left, form.top, form.width, form.height, parent, childId, module, nullptr);
        break;
    case kKindLabel:
        window = CreateWindowExA(0, kLabelClass, form.text.c_str(), WS_CHILD | visible | disabled, form.left, form.top,
                                 form.width, form.height, parent, childId, module, nullptr);
        break;
    case kKindPictureBox:
        window = CreateWindowExA(0, kPictureBoxClass, "", WS_CHILD | visible | disabled, form.left, form.top, form.width,
                                 form.height, parent, childId, module, nullptr);
        break;
    case kKindBrowserBox:
        // The window text carries the start address for the page engine.
        window = CreateWindowExA(0, BrowserBoxClassRegistered() ? kBrowserBoxClass : kBrowserContainerClass,
                                 form.text.c_str(), WS_CHILD | visible, form.left, form.top, form.width, form.height,
                                 parent, childId, module, nullptr);
        break;
    default:
        window = CreateWindowExA(0, kBrowserContainerClass, form.text.c_str(), WS_CHILD | visible | disabled, form.left,
                                 form.top, form.width, form.height, parent, childId, module, nullptr);
        break;
    }
    if (!window) return;
    control.window = window;
    BindWindow(window, owner, &control);
    if (subclass) Subclass(window);
}

}  // namespace corvalin::shell
