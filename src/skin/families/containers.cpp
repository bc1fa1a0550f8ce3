// Group boxes and tab controls as transparent containers: the controls inside
// are skinned as if they sat on the window, the container is painted over the
// window's skin (a drawn frame and caption for group boxes), and it answers the
// colour and notification messages of its controls as the window would.
#include "skin/families/control_families.h"

#include <cmath>

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

SkinContainerRecord* FindContainer(HWND container) {
    return FindFamilyElement(container, &SkinWindowRecord::containers);
}

bool IsGroupBox(HWND window) {
    return HasWindowClass(window, "Button") && (GetWindowLongA(window, GWL_STYLE) & 0x4);
}

// The nearest ancestor that is a drawing layer, or 0.
HWND LayerAncestor(HWND window) {
    for (HWND parent = GetParent(window); parent; parent = GetParent(parent))
        if (GetPropValue(parent, kPropIsLayer) == 1) return parent;
    return nullptr;
}

// Keeps a copy from painting over the visible children that paint themselves.
void ExcludeOpaqueChildren(HWND container, HDC dc) {
    for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) continue;
        RECT r = RectRelativeTo(container, child);
        const RECT client = ClientRectInWindow(container);
        OffsetRect(&r, -client.left, -client.top);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

float MeasureCaptionWidth(const std::string& text, const SkinFont& font) {
    UniqueMemoryDc scratch(CreateCompatibleDC(nullptr));
    SkinGraphics graphics(scratch.get());
    SkinStringFormat format;
    format.Create();
    const SkinRectF box = graphics.MeasureString(text, font, SkinRectF{0, 0, 10000, 1000}, format);
    return std::floor(box.width) + 1;
}

void DrawGroupBoxLook(HWND container, const SkinContainerRecord& record, HDC composition, int w, int h) {
    {
        SkinGraphics graphics(composition);
        StrokeRoundRect(graphics, 0, 5, static_cast<float>(w - 1), static_cast<float>(h - 6), 5, ColorToArgb(0, 40, 1));
        StrokeRoundRect(graphics, 1, 6, static_cast<float>(w - 3), static_cast<float>(h - 8), 3,
                        ColorToArgb(0xFFFFFF, 90, 1));
    }
    char text[512] = {};
    GetWindowTextA(container, text, sizeof text);
    if (!text[0]) return;
    SkinFont font;
    if (!font.Create(record.captionFontName.empty() ? "宋体" : record.captionFontName,
                     static_cast<float>(record.captionFontSize > 0 ? record.captionFontSize : 12),
                     record.captionFontStyle, Gdiplus::UnitPoint))
        return;
    const int textWidth = static_cast<int>(MeasureCaptionWidth(text, font));
    const LONG style = GetWindowLongA(container, GWL_STYLE);
    int x = w - textWidth - 10;
    if ((style & 0x100) && (style & 0x200)) x = (w - textWidth) / 2;
    else if (style & 0x100) x = 10;
    const RECT box{x, 1, x + textWidth, 1 + record.captionFontSize + 3};
    // The frame lines stop at the caption: the skin shows through under it.
    const RECT client = ClientRectInWindow(container);
    RECT under = box;
    OffsetRect(&under, client.left, client.top);
    {
        ComposedBackground background(container, under);
        if (background)
            BitBlt(composition, box.left, box.top, background.width(), background.height(), background.dc(), 0, 0,
                   SRCCOPY);
    }
    SkinGraphics graphics(composition);
    SkinStringFormat format;
    format.Create();
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    SkinSolidBrush brush(ColorToArgb(static_cast<COLORREF>(GetPropValue(container, kPropTextColor)), 255, 0));
    graphics.DrawString(text, font,
                        SkinRectF{static_cast<float>(box.left), static_cast<float>(box.top),
                                  static_cast<float>(textWidth), static_cast<float>(box.bottom - box.top)},
                        format, brush);
}

void DrawPanelBorder(HDC composition, int w, int h) {
    SkinGraphics graphics(composition);
    StrokeRoundRect(graphics, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 5, ColorToArgb(0, 40, 1));
    StrokeRoundRect(graphics, 1, 1, static_cast<float>(w - 3), static_cast<float>(h - 3), 3,
                    ColorToArgb(0xFFFFFF, 100, 1));
}

// The container's client area composed over the skin, with its own look.
struct ContainerPicture {
    ComposedBackground background;
    explicit ContainerPicture(HWND container) : background(container, ClientRectInWindow(container)) {
        SkinContainerRecord* record = FindContainer(container);
        if (!background || !record) return;
        if (record->groupBox) DrawGroupBoxLook(container, *record, background.dc(), background.width(), background.height());
        else if (record->border) DrawPanelBorder(background.dc(), background.width(), background.height());
    }
};

void FullRepaint(HWND container, HDC given) {
    {
        ContainerPicture picture(container);
        if (picture.background) {
            HDC target = given ? given : GetDC(container);
            const int saved = SaveDC(target);
            ExcludeOpaqueChildren(container, target);
            BitBlt(target, 0, 0, picture.background.width(), picture.background.height(), picture.background.dc(), 0,
                   0, SRCCOPY);
            RestoreDC(target, saved);
            if (!given) ReleaseDC(container, target);
        }
    }
    if (SkinContainerRecord* record = FindContainer(container)) record->rebuildPending = 0;
}

void UpdateRepaint(HWND container, const PaintScope& paint) {
    {
        ContainerPicture picture(container);
        if (picture.background) {
            const RECT& r = paint.paint().rcPaint;
            const int saved = SaveDC(paint.get());
            ExcludeOpaqueChildren(container, paint.get());
            BitBlt(paint.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, picture.background.dc(), r.left, r.top,
                   SRCCOPY);
            RestoreDC(paint.get(), saved);
        }
    }
    for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) InvalidateRect(child, nullptr, FALSE);
}

bool IsListBoxWithoutOwnerDraw(HWND control) {
    return HasWindowClass(control, "ListBox") && !(GetWindowLongA(control, GWL_STYLE) & (0x10 | 0x20));
}

bool NeedsRepaintOnCommand(HWND sender, WORD code) {
    if (HasWindowClass(sender, "Edit")) return code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE;
    if (HasWindowClass(sender, "ListBox")) return code == LBN_SELCHANGE || code == LBN_SELCANCEL;
    if (HasWindowClass(sender, "ComboBox")) return code == CBN_SELCHANGE || code == CBN_KILLFOCUS;
    return false;
}

}  // namespace

int SkinEngine::SkinContainer(HWND container, std::optional<int> containerFlag, COLORREF panelColor,
                              std::optional<int> panelOpacity, std::optional<int> border) {
    if (!container) return 0;
    const int n = FindOwnerRecord(container);
    if (n == 0) return 0;
    if (const int existing = WindowRecord(n).containers.Find(container)) return existing;

    const int number = WindowRecord(n).containers.Add(container);
    {
        SkinContainerRecord& record = WindowRecord(n).containers[number];
        record.panelColor = panelColor;
        record.panelOpacity = panelOpacity ? (*panelOpacity & 0xFF) : 255;
        record.border = border.value_or(0);
        record.containerFlag = containerFlag.value_or(1);
        if (IsGroupBox(container)) {
            record.groupBox = 1;
            const SkinControlFont font = GetControlFont(container);
            record.captionFontName = font.name;
            record.captionFontSize = font.size;
            record.captionFontStyle = font.style;
        }
    }
    SkinControlFamilies(n, container);

    SkinContainerRecord& record = WindowRecord(n).containers[number];
    record.rebuildPending = 1;
    record.previousProc = SubclassWindow(container, SkinContainerProc);
    SetPropValue(container, kPropPreviousProc, reinterpret_cast<INT_PTR>(record.previousProc));
    SetPropValue(container, kPropListId, number);
    SetPropValue(container, kPropOwnerId, n);
    SetPropValue(container, kPropContainerLayer, reinterpret_cast<INT_PTR>(LayerAncestor(container)));
    return number;
}

void SkinEngine::SetContainerOpacity(HWND container, int opacity) {
    const int n = static_cast<int>(GetPropValue(container, kPropOwnerId));
    const int c = static_cast<int>(GetPropValue(container, kPropListId));
    if (n < 1 || c < 1 || !IsSkinWindowNumber(n)) return;
    auto& containers = WindowRecord(n).containers;
    if (!containers.Valid(c) || containers[c].window != container || containers[c].panelColor == 0) return;
    containers[c].panelOpacity = opacity & 0xFF;
    InvalidateRect(container, nullptr, FALSE);
}

void SkinEngine::SetControlTextColor(HWND control, COLORREF color) {
    if (!control) return;
    HWND target = control;
    if (HasWindowClass(control, "ComboBox")) {
        target = FindWindowExA(control, nullptr, "Edit", nullptr);
        if (!target) return;
    }
    SetPropValue(target, kPropTextColor, static_cast<INT_PTR>(color));
}

LRESULT CALLBACK SkinContainerProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(container, &SkinWindowRecord::containers);
    if (!member) return CallPreviousProc(container, message, wParam, lParam);
    SkinContainerRecord* record = member.element;
    const WNDPROC previous = record->previousProc;
    const bool painted = record->containerFlag != 0;
    const bool veiled = SkinVeilOn && SkinTransparentControls;

    switch (message) {
    case WM_MOVE:
        if (painted && record->panelOpacity != 255) InvalidateRect(container, nullptr, FALSE);
        break;
    case WM_SIZE: {
        record->rebuildPending = 1;
        RECT client{};
        GetClientRect(container, &client);
        for (const SkinPage& page : record->pages)
            MoveWindow(page.window, 2, page.top, client.right - 4, client.bottom - page.top, TRUE);
        break;
    }
    case WM_PAINT:
        if (!painted) break;
        {
            PaintScope paint(container);
            if (record->rebuildPending) FullRepaint(container, paint.get());
            else UpdateRepaint(container, paint);
        }
        return DefWindowProcA(container, message, wParam, lParam);
    case WM_ERASEBKGND:
        if (!painted) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_SHOWWINDOW:
        if (!wParam) break;
        CallPreviousProc(container, message, wParam, lParam);
        if (painted) FullRepaint(container, nullptr);
        return DefWindowProcA(container, message, wParam, lParam);
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        DrawOwnerButton(member.window, item);
        break;
    }
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && (static_cast<int>(header->code) == -405 || static_cast<int>(header->code) == -406))
            InvalidateRect(header->hwndFrom, nullptr, TRUE);
        break;
    }
    case WM_COMMAND: {
        const HWND sender = reinterpret_cast<HWND>(lParam);
        if (veiled && sender && NeedsRepaintOnCommand(sender, HIWORD(wParam))) InvalidateRect(sender, nullptr, TRUE);
        break;
    }
    case WM_CTLCOLOREDIT:
        if (veiled && !HasWindowClass(GetParent(reinterpret_cast<HWND>(lParam)), "ComboBox"))
            return reinterpret_cast<LRESULT>(
                StaticControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        break;
    case WM_CTLCOLORLISTBOX:
        if (veiled && IsListBoxWithoutOwnerDraw(reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(
                PlainControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        break;
    case WM_CTLCOLORBTN:
        if (veiled)
            return reinterpret_cast<LRESULT>(
                PlainControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        break;
    case WM_CTLCOLORSTATIC:
        if (veiled)
            return reinterpret_cast<LRESULT>(
                StaticControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, container, message, wParam, lParam);
}

}  // namespace corvalin
