// Push buttons, check boxes and automatic radio buttons drawn as translucent
// glass over the window skin, with a hover highlight in the accent colour, a
// focus glow, a pressed look and a grey disabled look.
#include "skin/families/control_families.h"

#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

constexpr int kPushButton = 0;
constexpr int kPictureButton = 1;
constexpr int kStateButton = 3;
constexpr int kRadioButton = 4;
constexpr int kCheckBox = 5;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kGlowColor = 0x00DDCA22;
constexpr int kGlyphSize = 13;

// Low style bits 0, 1 and 8: push, default push and user buttons.
bool IsPushStyle(LONG style) {
    const LONG low = style & 0xF;
    return !(low & 0x2) && !((low & 0x1) && (low & 0x8)) && !(low & 0x4);
}
bool IsOwnerDrawn(LONG style) { return (style & 0xF) == BS_OWNERDRAW; }
// Kinds drawn through WM_DRAWITEM with the push button's glass.
bool IsDrawnAsPush(int kind) { return kind == kPushButton || kind == kPictureButton || kind == kStateButton; }

SkinButtonRecord* FindButton(HWND button) { return FindFamilyElement(button, &SkinWindowRecord::buttons); }

void RegisterButton(int windowNumber, HWND parent, HWND button, int kind) {
    auto& list = WindowRecord(windowNumber).buttons;
    const int number = RegisterControl(list, windowNumber, button, SkinButtonProc);
    if (number == 0) return;
    SkinButtonRecord& record = WindowRecord(windowNumber).buttons[number];
    record.kind = kind;
    char text[512] = {};
    GetWindowTextA(button, text, sizeof text);
    record.text = text;
    record.parent = parent;
    if (kind == kRadioButton || kind == kCheckBox)
        record.checked = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    const SkinControlFont font = GetControlFont(button);
    record.fontName = font.name;
    record.fontSize = font.size;
    record.fontStyle = font.style;
}

Gdiplus::ARGB Argb(COLORREF color, int alpha) { return ColorToArgb(color, alpha, 1); }

void FillVertical(SkinGraphics& graphics, const SkinPath& path, float top, float bottom, Gdiplus::ARGB from,
                  Gdiplus::ARGB to) {
    SkinLinearBrush brush;
    if (brush.Create(0, top, 0, bottom, from, to)) graphics.FillPath(brush, path);
}

void Outline(SkinGraphics& graphics, const SkinPath& path, Gdiplus::ARGB color, float width = 1) {
    SkinPen pen(color, width);
    graphics.DrawPath(pen, path);
}

// The grey look of a disabled button or box, over (x, y, w, h).
void PaintDisabled(SkinGraphics& graphics, float x, float y, float w, float h) {
    SkinSolidBrush grey(Argb(0xC0C0C0, 255));
    graphics.FillRectangle(grey, x, y, w, h);
    SkinPath path;
    path.Create();
    AddRoundRect(path, x, y, w - 1, h - 1, 5);
    SkinLinearBrush shade;
    if (shade.Create(x, y, x, y + h, Argb(kWhite, 50), Argb(kWhite, 50))) {
        shade.SetPresetBlend({Argb(kWhite, 50), Argb(kBlack, 10), Argb(kWhite, 50)}, {0.0f, 0.5f, 1.0f});
        graphics.FillPath(shade, path);
    }
    SkinPath rim;
    rim.Create();
    AddEvenRoundRect(rim, x, y, w - 1, h - 1, 5);
    Outline(graphics, rim, Argb(kBlack, 80));
}

void DrawButtonText(SkinGraphics& graphics, HWND button, const SkinButtonRecord& record, const SkinRectF& layout,
                    Gdiplus::StringAlignment alignment) {
    SkinFont font;
    if (!font.Create(record.fontName, static_cast<float>(record.fontSize), record.fontStyle, Gdiplus::UnitPoint))
        return;
    SkinStringFormat format;
    format.Create();
    format.SetAlignment(alignment);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    SkinSolidBrush brush(Argb(static_cast<COLORREF>(GetPropValue(button, kPropTextColor)), 255));
    graphics.DrawString(record.text, font, layout, format, brush);
}

// A picture button's bitmap or icon (BM_SETIMAGE), centred on the glass; false
// when it has none.
bool DrawButtonPicture(HDC dc, SkinGraphics& graphics, HWND button, const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (HICON icon = reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0))) {
        ICONINFO info{};
        if (!GetIconInfo(icon, &info)) return false;
        BITMAP size{};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof size, &size);
        const int iconHeight = info.hbmColor ? size.bmHeight : size.bmHeight / 2;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
        DrawIconEx(dc, (w - size.bmWidth) / 2, (h - iconHeight) / 2, icon, size.bmWidth, iconHeight, 0, nullptr, DI_NORMAL);
        return true;
    }
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size{};
    if (!bitmap || !GetObjectA(bitmap, sizeof size, &size)) return false;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectScope select(source.get(), bitmap);
    gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
    BitBlt(dc, (w - size.bmWidth) / 2, (h - size.bmHeight) / 2, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
    return true;
}

// The hot highlight of the 13 x 13 box and of the radio circle.
void PaintMarkHot(SkinGraphics& graphics, const SkinPath& path, float top, float bottom) {
    FillVertical(graphics, path, top, bottom, Argb(SkinAccentColor, 100), Argb(kBlack, 0));
    DrawGlow(graphics, path, 2, kGlowColor, 30);
    Outline(graphics, path, Argb(SkinAccentColor, 255));
}

// Shared frame of the check box and radio button painters: the background
// under the whole client area, the mark, the text at the right, the copy.
template <class PaintMark>
void PaintMarkedButton(HWND button, UINT state, PaintMark paintMark) {
    SkinButtonRecord* record = FindButton(button);
    if (!record) return;
    RECT client{};
    GetClientRect(button, &client);
    ComposedBackground background(button, client);
    if (!background) return;
    const float x = static_cast<float>(client.left), y = static_cast<float>(client.top);
    const float w = static_cast<float>(client.right - client.left), h = static_cast<float>(client.bottom - client.top);
    {
        SkinGraphics graphics(background.dc());
        if (state & ODS_DISABLED)
            PaintDisabled(graphics, x, y, w, h);
        else
            paintMark(graphics, x, y, h);
        DrawButtonText(graphics, button, *record, SkinRectF{x + 17, 2, w - 19, h}, Gdiplus::StringAlignmentNear);
    }
    WindowDc target(button);
    BitBlt(target.get(), 0, 0, background.width(), background.height(), background.dc(), 0, 0, SRCCOPY);
}

}  // namespace

SkinControlFont GetControlFont(HWND control) {
    SkinControlFont result{"宋体", 12, 0};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (!handle) return result;
    WindowDc dc(control);
    SkinFont font;
    if (!font.Create(dc.get(), handle)) return result;
    SkinFontFamily family;
    if (font.GetFamily(family)) {
        std::string name = family.Name();
        if (!name.empty()) result.name = name;
    }
    // A font made from a LOGFONT measures in pixels; the record keeps points.
    float size = font.Size();
    Gdiplus::Unit unit = Gdiplus::UnitPoint;
    gdip::GdipGetFontUnit(font.Handle(), &unit);
    if (unit == Gdiplus::UnitWorld || unit == Gdiplus::UnitPixel) {
        const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
        size = size * 72.0f / static_cast<float>(dpi > 0 ? dpi : 96);
    }
    result.size = static_cast<int>(size);
    if (result.size == 0) result.size = 12;
    result.style = font.Style();
    return result;
}

void SkinButtons(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    for (HWND b = FindWindowExA(parent, nullptr, "BUTTON", nullptr); b; b = FindWindowExA(parent, b, "BUTTON", nullptr)) {
        const LONG style = GetWindowLongA(b, GWL_STYLE);
        if (!IsPushStyle(style) || IsOwnerDrawn(style)) continue;
        if (WindowRecord(windowNumber).buttons.Find(b)) continue;
        RegisterButton(windowNumber, parent, b, kPushButton);
        SetWindowLongA(b, GWL_STYLE, style | BS_OWNERDRAW);
    }
    for (HWND b = FindWindowExA(parent, nullptr, "BUTTON", nullptr); b; b = FindWindowExA(parent, b, "BUTTON", nullptr)) {
        const LONG style = GetWindowLongA(b, GWL_STYLE);
        const LONG low = style & 0xF;
        if (IsOwnerDrawn(style)) continue;
        int kind = -1;
        if (low == BS_AUTORADIOBUTTON) kind = kRadioButton;
        else if ((low & 0x2) && !(low & 0x4)) kind = kCheckBox;
        if (kind < 0) continue;
        RegisterButton(windowNumber, parent, b, kind);
    }
}

LRESULT CALLBACK SkinButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(button, &SkinWindowRecord::buttons);
    if (!member) return CallPreviousProc(button, message, wParam, lParam);
    SkinButtonRecord* record = member.element;
    SkinWindowRecord* owner = &member.owner();
    const WNDPROC previous = record->previousProc;
    const int number = member.number;
    const int kind = record->kind;

    switch (message) {
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        owner->mouseOverControl = number;
        if (owner->hotControl != number || owner->hoverTaken) {
            RepaintButton(button, 0, true);
            owner = OwningRecord(button);
            if (owner) {
                owner->hotControl = number;
                owner->hoverTaken = 0;
            }
        }
        break;
    }
    case WM_MOUSELEAVE:
        GiveUpHover(*owner, number);
        RepaintButton(button, record->focused ? ODS_FOCUS : 0, false);
        break;
    case WM_MOVE:
        InvalidateRect(button, nullptr, TRUE);
        break;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE) break;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case BM_SETCHECK:
        // The previous procedure changes the state first, so the repaint shows the new one.
        if (kind == kRadioButton) {
            CallPreviousProc(button, message, wParam, lParam);
            PaintRadioButton(button, ODS_SELECTED);
            return DefWindowProcA(button, message, wParam, lParam);
        }
        if (kind == kCheckBox) {
            CallPreviousProc(button, message, wParam, lParam);
            PaintCheckBox(button, 0);
            return DefWindowProcA(button, message, wParam, lParam);
        }
        break;
    case WM_LBUTTONUP: {
        owner->hotControl = 0;
        // A state button flips when the press ends over it, as a click does.
        RECT client{};
        GetClientRect(button, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (kind == kStateButton && GetCapture() == button && PtInRect(&client, at)) record->down ^= 1;
        break;
    }
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return static_cast<LRESULT>(SetTextColor(reinterpret_cast<HDC>(wParam),
                                                 static_cast<COLORREF>(GetPropValue(button, kPropTextColor))));
    case WM_PAINT:
        if (kind == kCheckBox || kind == kRadioButton) {
            {
                PaintScope paint(button);
                if (kind == kCheckBox) PaintCheckBox(button, 0);
                else PaintRadioButton(button, 0);
            }
            return DefWindowProcA(button, message, wParam, lParam);
        }
        break;   // push buttons paint through WM_DRAWITEM
    case WM_SETFOCUS:
        record->focused = 1;
        break;
    case WM_KILLFOCUS:
        record->focused = 0;
        break;
    case WM_SETTEXT:
        record->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        break;
    case WM_NCPAINT:
        return 1;   // the skin draws the whole button; there is no frame to paint
    default:
        break;
    }
    return CallPreviousProc(previous, button, message, wParam, lParam);
}

void DrawOwnerButton(int windowNumber, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON || !IsSkinWindowNumber(windowNumber)) return;
    auto& list = WindowRecord(windowNumber).buttons;
    const int number = list.Find(item.hwndItem);
    if (number == 0 || !IsDrawnAsPush(list[number].kind)) return;   // radio buttons and check boxes paint themselves
    const UINT state = item.itemState | (list[number].down ? ODS_SELECTED : 0);
    PaintPushButton(item.hwndItem, item.hDC, state, item.rcItem);
}

void RepaintButton(HWND button, UINT state, bool hot) {
    SkinButtonRecord* record = FindButton(button);
    if (!record) return;
    if (hot) state |= ODS_HOTLIGHT;
    if (record->down) state |= ODS_SELECTED;
    switch (record->kind) {
    case kPushButton:
    case kPictureButton:
    case kStateButton: {
        WindowDc dc(button);
        RECT client{};
        GetClientRect(button, &client);
        PaintPushButton(button, dc.get(), state, client);
        break;
    }
    case kRadioButton: PaintRadioButton(button, state); break;
    case kCheckBox: PaintCheckBox(button, state); break;
    default: break;
    }
}

void PaintPushButton(HWND button, HDC dc, UINT state, const RECT& rect) {
    SkinButtonRecord* record = FindButton(button);
    if (!record) return;
    ComposedBackground background(button, rect);
    if (!background) return;
    const float x = static_cast<float>(rect.left), y = static_cast<float>(rect.top);
    const float w = static_cast<float>(rect.right - rect.left), h = static_cast<float>(rect.bottom - rect.top);
    {
        SkinGraphics graphics(background.dc());
        SkinPath face;
        face.Create();
        AddRoundRect(face, x, y, w - 1, h - 1, 5);
        // Strokes are not anti-aliased: their outline has four alike corners.
        SkinPath rim;
        rim.Create();
        AddEvenRoundRect(rim, x, y, w - 1, h - 1, 5);

        SkinSolidBrush glass(Argb(kWhite, 120));
        graphics.FillPath(glass, face);
        if (state & ODS_DISABLED) {
            PaintDisabled(graphics, x, y, w, h);
        } else {
            FillVertical(graphics, face, y, y + h - 1, Argb(kWhite, 0), Argb(0x808080, 60));
            SkinPath highlight;
            highlight.Create();
            AddTopRoundedPath(highlight, x, y, w - 1, h / 2, 5);
            FillVertical(graphics, highlight, y, y + h / 2, Argb(kWhite, 50), Argb(kWhite, 10));
            if (state & ODS_HOTLIGHT) {
                FillVertical(graphics, face, y, y + h, Argb(SkinAccentColor, 60), Argb(SkinAccentColor, 10));
                Outline(graphics, rim, Argb(SkinAccentColor, 255));
            } else if (state & ODS_FOCUS) {
                DrawGlow(graphics, rim, 3, kGlowColor, 120);
                Outline(graphics, rim, Argb(kBlack, 70));
            } else {
                Outline(graphics, rim, Argb(kBlack, 120));
            }
            if (state & ODS_SELECTED) {
                SkinPath pressed;
                pressed.Create();
                AddRoundRect(pressed, x + 2, y + 2, w - 3, h - 3, 5);
                FillVertical(graphics, pressed, y + 2, y + h - 2, Argb(SkinAccentColor, 60), Argb(kWhite, 100));
            }
        }
        if (!(record->kind == kPictureButton && DrawButtonPicture(background.dc(), graphics, button, rect)))
            DrawButtonText(graphics, button, *record, SkinRectF{0, 2, w, h}, Gdiplus::StringAlignmentCenter);
    }
    BitBlt(dc, 0, 0, background.width(), background.height(), background.dc(), 0, 0, SRCCOPY);
}

void PaintCheckBox(HWND button, UINT state) {
    PaintMarkedButton(button, state, [&](SkinGraphics& graphics, float x, float y, float h) {
        const float top = y + static_cast<float>(static_cast<int>(h - kGlyphSize) / 2);
        DrawGlyph(graphics, CheckBoxGlyph(), x, top);
        if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) DrawGlyph(graphics, CheckBoxCheckedGlyph(), x, top);
        if (state & ODS_HOTLIGHT) {
            SkinPath box;
            box.Create();
            box.AddRectangle(x, top, kGlyphSize, kGlyphSize);
            PaintMarkHot(graphics, box, top, top + kGlyphSize);
        }
    });
}

void PaintRadioButton(HWND button, UINT state) {
    PaintMarkedButton(button, state, [&](SkinGraphics& graphics, float x, float y, float h) {
        const int height = static_cast<int>(h);
        const float outerTop = y + static_cast<float>((height - 12) / 2);
        const float innerTop = y + static_cast<float>((height - 11) / 2);
        SkinPath outer;
        outer.Create();
        outer.AddEllipse(x + 2, outerTop, 12, 12);
        Outline(graphics, outer, Argb(kBlack, 200));
        SkinPath inner;
        inner.Create();
        inner.AddEllipse(x + 3, innerTop, 9, 9);
        SkinSolidBrush white(Argb(kWhite, 255));
        graphics.FillPath(white, inner);
        FillVertical(graphics, inner, innerTop, innerTop + 9, Argb(kBlack, 100), Argb(kBlack, 0));
        if (state & ODS_HOTLIGHT) PaintMarkHot(graphics, outer, outerTop, outerTop + 12);
        if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            SkinPath dot;
            dot.Create();
            dot.AddEllipse(x + 5, outerTop + 3, 6, 6);
            SkinPathBrush fill;
            if (fill.Create(dot)) {
                fill.SetCenterColor(Argb(kWhite, 100));
                fill.SetSurroundColors({Argb(0x808000, 255)});
                graphics.FillPath(fill, dot);
            }
            Outline(graphics, dot, Argb(kBlack, 200));
        }
    });
}

namespace {

// Registers one push button (or re-kinds one already registered) as a
// picture or state button, drawn owner-drawn like a push button.
void SkinSingleButton(HWND button, int kind) {
    const int n = FindOwnerRecord(button);
    if (!SkinTransparentControls || !n) return;
    if (!WindowRecord(n).buttons.Find(button)) RegisterButton(n, GetParent(button), button, kind);
    auto& list = WindowRecord(n).buttons;
    const int number = list.Find(button);
    if (!number) return;
    list[number].kind = kind;
    SetWindowLongA(button, GWL_STYLE, (GetWindowLongA(button, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
    InvalidateRect(button, nullptr, TRUE);
}

}  // namespace

void SkinEngine::SkinPictureButton(HWND button) { SkinSingleButton(button, kPictureButton); }

void SkinEngine::SkinStateButton(HWND button) { SkinSingleButton(button, kStateButton); }

}  // namespace corvalin
