// Reading and writing control properties by index.
#include <algorithm>

#include "shell/loaded_window.h"
#include "shell/loaded_windows.h"
#include "shell/runtime.h"

namespace corvalin::shell {
namespace {

constexpr int kLargestSize = 32627;
constexpr char kWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
constexpr char kControlWindowGone[] = "指定窗口尚未载入";

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

// The window's rectangle in its parent's client area (the screen for a top-level window).
RECT PlacedRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (HWND parent = GetParent(window); parent && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

// Common properties shared by the window itself and its controls.
struct CommonState {
    HWND window;        // nullptr when there is no live window
    int* left;
    int* top;
    int* width;
    int* height;
    std::string* tag;
    bool* visible;
    bool* disabled;
    int* cursor;
};

PropertyValue ReadCommon(const CommonState& s, PropertyIndex index) {
    if (s.window && index <= kPropHeight) {
        const RECT r = PlacedRect(s.window);
        switch (index) {
        case kPropLeft: return static_cast<int>(r.left);
        case kPropTop: return static_cast<int>(r.top);
        case kPropWidth: return static_cast<int>(r.right - r.left);
        case kPropHeight: return static_cast<int>(r.bottom - r.top);
        }
    }
    switch (index) {
    case kPropLeft: return *s.left;
    case kPropTop: return *s.top;
    case kPropWidth: return *s.width;
    case kPropHeight: return *s.height;
    case kPropTag: return *s.tag;
    case kPropVisible:
        if (s.window) return (GetWindowLongPtrA(s.window, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
        return *s.visible ? 1 : 0;
    case kPropDisabled:
        if (s.window) return IsWindowEnabled(s.window) ? 0 : 1;
        return *s.disabled ? 1 : 0;
    case kPropCursor: return *s.cursor;
    }
    return {};
}

// Answers whether the window itself changed (moved, resized, shown, hidden,
// enabled or disabled). Writing the value a window already has leaves it
// alone: the same place again would still send it its position messages, and
// a skinned window repaints on them.
bool WriteCommon(const CommonState& s, PropertyIndex index, const PropertyValue& value) {
    switch (index) {
    case kPropLeft:
    case kPropTop:
    case kPropWidth:
    case kPropHeight: {
        int v = value.AsInteger();
        if (index >= kPropWidth) v = std::min(v, kLargestSize);
        if (s.window) {
            const RECT r = PlacedRect(s.window);
            *s.left = r.left;
            *s.top = r.top;
            *s.width = r.right - r.left;
            *s.height = r.bottom - r.top;
        }
        int* field[] = {s.left, s.top, s.width, s.height};
        if (s.window && *field[index] == v) return false;
        *field[index] = v;
        if (!s.window) return false;
        SetWindowPos(s.window, nullptr, *s.left, *s.top, *s.width, *s.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | (index <= kPropTop ? SWP_NOSIZE : SWP_NOMOVE));
        return true;
    }
    case kPropTag:
        *s.tag = value.AsText();
        return false;
    case kPropVisible:
        *s.visible = value.AsBool();
        if (!s.window || ((GetWindowLongPtrA(s.window, GWL_STYLE) & WS_VISIBLE) != 0) == *s.visible) return false;
        ShowWindow(s.window, *s.visible ? SW_SHOWNA : SW_HIDE);
        return true;
    case kPropDisabled:
        *s.disabled = value.AsBool();
        if (!s.window || (IsWindowEnabled(s.window) == FALSE) == *s.disabled) return false;
        EnableWindow(s.window, *s.disabled ? FALSE : TRUE);
        return true;
    case kPropCursor:
        *s.cursor = value.AsInteger();
        return false;
    }
    return false;
}

PropertyValue ReadOwn(LoadedControl& c, PropertyIndex index) {
    switch (c.form->kind) {
    case kKindTimer:
        if (index == kPropInterval) return c.interval;
        break;
    case kKindEditBox:
    case kKindButton:
    case kKindLabel:
        if (index == kPropText) return WindowText(c.window);
        break;
    case kKindTransparentLabel:
        switch (index) {
        case kPropCaption: return WindowText(c.window);
        case kPropTextEffect: return c.textEffect;
        case kPropFont: return c.font;
        case kPropTextColor: return static_cast<int>(c.textColor);
        case kPropAlignment: return c.alignment;
        case kPropWordWrap: return c.wordWrap ? 1 : 0;
        case kPropVerticalAlignment: return c.verticalAlignment;
        }
        break;
    case kKindPictureBox:
        switch (index) {
        case kPropBorder: return c.border;
        case kPropBackColor: return static_cast<int>(c.backColor);
        case kPropPicture: return c.pictureBytes;
        }
        break;
    }
    return {};
}

void WriteTimerInterval(LoadedWindow& w, LoadedControl& c, int interval) {
    interval = std::max(interval, 0);
    // The same value leaves a running period alone.
    if (interval == c.interval) return;
    if (c.interval > 0) KillTimer(w.window, c.timerId);
    c.interval = interval;
    if (interval > 0) SetTimer(w.window, c.timerId, static_cast<UINT>(interval), nullptr);
}

void WriteOwn(LoadedWindow& w, LoadedControl& c, PropertyIndex index, const PropertyValue& value) {
    switch (c.form->kind) {
    case kKindTimer:
        if (index == kPropInterval) WriteTimerInterval(w, c, value.AsInteger());
        return;
    case kKindEditBox:
    case kKindButton:
    case kKindLabel:
        if (index == kPropText) {
            SetWindowTextA(c.window, value.AsText().c_str());
            if (c.form->kind == kKindLabel) InvalidateRect(c.window, nullptr, TRUE);
        }
        return;
    case kKindTransparentLabel:
        switch (index) {
        case kPropCaption:
            // The same text again would only repaint the label and what lies under it.
            if (WindowText(c.window) == value.AsText()) return;
            SetWindowTextA(c.window, value.AsText().c_str());
            break;
        case kPropTextEffect: c.textEffect = value.AsInteger(); break;
        case kPropFont: c.font = value.AsBytes(); ApplyLabelFont(c); break;
        case kPropTextColor: c.textColor = static_cast<COLORREF>(value.AsInteger()); break;
        case kPropAlignment: c.alignment = value.AsInteger(); break;
        case kPropWordWrap: c.wordWrap = value.AsBool(); break;
        case kPropVerticalAlignment: c.verticalAlignment = value.AsInteger(); break;
        default: return;
        }
        RepaintTransparentLabel(c);
        return;
    case kKindPictureBox:
        switch (index) {
        case kPropBorder: c.border = value.AsInteger(); break;
        case kPropBackColor: c.backColor = static_cast<COLORREF>(value.AsInteger()); break;
        case kPropPicture:
            c.pictureBytes = value.AsBytes();
            c.picture = c.pictureBytes.empty() ? Picture{} : DecodePicture(c.pictureBytes);
            break;
        default: return;
        }
        InvalidateRect(c.window, nullptr, TRUE);
        return;
    }
}

CommonState CommonOf(LoadedWindow& w) {
    return {w.window, &w.left, &w.top, &w.width, &w.height, &w.tag, &w.visible, &w.disabled, &w.cursor};
}

CommonState CommonOf(LoadedControl& c) {
    HWND live = c.window && IsWindow(c.window) ? c.window : nullptr;
    return {live, &c.left, &c.top, &c.width, &c.height, &c.tag, &c.visible, &c.disabled, &c.cursor};
}

struct Target {
    std::shared_ptr<LoadedWindow> window;
    LoadedControl* control = nullptr;   // nullptr: the window itself
    bool found = false;
};

Target Resolve(ControlId windowId, ControlId controlId) {
    Target target;
    target.window = FindLoadedWindow(windowId);
    if (!target.window) FatalError(std::nullopt, kWindowNotLoaded);
    if (controlId == target.window->form->unitId) {
        target.found = true;
    } else if ((target.control = FindControl(*target.window, controlId))) {
        target.found = true;
    }
    return target;
}

// A control's own properties need its window; a timer lives in its form's.
void RequireLiveWindow(const LoadedControl& c, PropertyIndex index) {
    if (index < kPropCaption || c.form->kind == kKindTimer) return;
    if (!c.window || !IsWindow(c.window)) FatalError(std::nullopt, kControlWindowGone);
}

}  // namespace

PropertyValue GetControlProperty(ControlId windowId, ControlId controlId, PropertyIndex index) {
    Target t = Resolve(windowId, controlId);
    if (!t.found || index < 0) return {};
    if (!t.control) {
        LoadedWindow& w = *t.window;
        if (index == kPropCaption) return WindowText(w.window);
        if (index > kPropCursor) return {};
        return ReadCommon(CommonOf(w), index);
    }
    RequireLiveWindow(*t.control, index);
    if (index <= kPropCursor) return ReadCommon(CommonOf(*t.control), index);
    return ReadOwn(*t.control, index);
}

void SetControlProperty(ControlId windowId, ControlId controlId, PropertyIndex index, const PropertyValue& value) {
    Target t = Resolve(windowId, controlId);
    if (!t.found || index < 0) return;
    if (!t.control) {
        LoadedWindow& w = *t.window;
        if (index == kPropCaption) {
            SetWindowTextA(w.window, value.AsText().c_str());
            return;
        }
        if (index <= kPropCursor) WriteCommon(CommonOf(w), index, value);
        return;
    }
    LoadedControl& c = *t.control;
    RequireLiveWindow(c, index);
    if (index > kPropCursor) {
        WriteOwn(*t.window, c, index, value);
        return;
    }
    if (WriteCommon(CommonOf(c), index, value) && c.form->kind == kKindTransparentLabel) RepaintTransparentLabel(c);
}

}  // namespace corvalin::shell
