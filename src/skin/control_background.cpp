#include "skin/control_background.h"
#include "skin/control_rects.h"
#include "skin/drawing/skin_brush.h"
#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/skin_image.h"
#include "skin/drawing/skin_path.h"
#include "skin/memory_dc_registry.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"

#include <utility>

namespace corvalin {

namespace {

int OwnerOf(HWND control) {
    if (const int n = FindWindowRecord(control)) return n;
    return FindOwnerRecord(control);
}

// The control's window rectangle in the client coordinates of the skinned
// window: the background cache holds that client area.
RECT RectInWindowClient(HWND control, HWND window) {
    RECT r{};
    if (control == window) {
        GetClientRect(window, &r);
        return r;
    }
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CopyFrom(HDC target, int width, int height, HDC source, int x, int y) {
    if (source) BitBlt(target, 0, 0, width, height, source, x, y, SRCCOPY);
}

void DrawPanel(HDC dc, const SkinContainerRecord& container, const RECT& r, int width, int height, bool full) {
    if (container.panelColor == 0) return;
    SkinGraphics graphics(dc);
    SkinSolidBrush brush(ColorToArgb(container.panelColor, container.panelOpacity, 1));
    if (container.groupBox && !full) {
        SkinPath path;
        path.Create();
        AddRoundRect(path, 0, 5, static_cast<float>(r.right), static_cast<float>(r.bottom - 6), 5);
        graphics.FillPath(brush, path);
    } else {
        graphics.FillRectangle(brush, 0, 0, static_cast<float>(width), static_cast<float>(height));
    }
}

// The container whose panel shows behind the control: the control itself
// when it is one, else the registered container it lies in.
int PanelContainer(int n, HWND control, HWND stop) {
    const SkinWindowRecord& record = WindowRecord(n);
    if (const int c = record.containers.Find(control)) return c;
    return FindContainerAncestor(n, control, stop);
}

}  // namespace

BackgroundSource FindBackgroundSource(HWND control, bool useLayers) {
    BackgroundSource source;
    const int owner = OwnerOf(control);
    for (HWND h = control; h; h = GetParent(h)) {
        // The registered window is found in the list first: it never is a
        // drawing layer of its own controls, and each property read costs a
        // round trip to the window server on every control paint.
        if (const int w = FindWindowRecord(h)) {
            source.kind = BackgroundSourceKind::Window;
            source.window = w;
            return source;
        }
        if (useLayers && GetPropValue(h, kPropIsLayer) == 1) {
            source.kind = BackgroundSourceKind::Layer;
            source.layer = h;
            source.window = owner;
            return source;
        }
        if (h == control || owner == 0) continue;
        const SkinWindowRecord& record = WindowRecord(owner);
        const int c = record.containers.Find(h);
        if (c == 0 || record.containers[c].containerFlag == 0) continue;
        if (useLayers) {
            if (auto layer = reinterpret_cast<HWND>(GetPropA(h, kPropContainerLayer))) {
                source.kind = BackgroundSourceKind::Layer;
                source.layer = layer;
                source.window = owner;
                return source;
            }
        }
        source.kind = BackgroundSourceKind::Container;
        source.window = owner;
        source.container = c;
        return source;
    }
    if (owner != 0) source.window = owner;
    return source;
}

HDC MakeControlBackground(HWND control, const RECT& rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int owner = OwnerOf(control);
    if (owner == 0 || width <= 0 || height <= 0) return nullptr;

    // Transparent black, as an empty GDI+ canvas converts, without the canvas.
    SkinMemorySurface surface;
    if (!surface.CreateDib(width, height, nullptr)) return nullptr;
    HDC dc = RememberMemorySurface(std::move(surface));

    const BackgroundSource source = FindBackgroundSource(control, true);
    const SkinWindowRecord& record = WindowRecord(owner);
    if (source.kind == BackgroundSourceKind::Layer) {
        HDC layerDc = nullptr;
        RECT at{};
        if (source.layer == control) {
            if (auto named = reinterpret_cast<HWND>(GetPropA(control, kPropContainerLayer))) {
                layerDc = reinterpret_cast<HDC>(GetPropA(named, kPropLayerDc));
                at = RectRelativeTo(named, control);
            } else {
                layerDc = record.backgroundCache.dc();
                at = RectInWindowClient(control, record.window);
            }
        } else {
            layerDc = reinterpret_cast<HDC>(GetPropA(source.layer, kPropLayerDc));
            at = RectRelativeTo(source.layer, control);
        }
        CopyFrom(dc, width, height, layerDc, at.left + rect.left, at.top + rect.top);
        if (source.layer != control) {
            if (const int c = PanelContainer(owner, control, source.layer))
                DrawPanel(dc, record.containers[c], rect, width, height, false);
        }
        return dc;
    }

    const RECT at = RectInWindowClient(control, record.window);
    CopyFrom(dc, width, height, record.backgroundCache.dc(), at.left + rect.left, at.top + rect.top);
    if (source.kind == BackgroundSourceKind::Window) {
        if (const int c = record.containers.Find(control))
            DrawPanel(dc, record.containers[c], rect, width, height, false);
    } else {
        const int c = record.containers.Find(control) ? record.containers.Find(control) : source.container;
        if (c != 0) DrawPanel(dc, record.containers[c], rect, width, height, true);
    }
    return dc;
}

HBITMAP DcToBitmap(HDC dc, int width, int height) {
    if (!dc) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    if (bitmap) {
        UniqueMemoryDc scratch(CreateCompatibleDC(nullptr));
        SelectScope select(scratch.get(), bitmap);
        BitBlt(scratch.get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDC(dc);
    return bitmap;
}

HBITMAP MakeVeiledBackground(HWND control) {
    const RECT r = ClientRectInWindow(control);
    HDC dc = MakeControlBackground(control, r);
    if (!dc) return nullptr;
    const int width = r.right - r.left, height = r.bottom - r.top;
    {
        SkinGraphics graphics(dc);
        SkinSolidBrush veil(ColorToArgb(0xFFFFFF, SkinVeilAlpha, 1));
        graphics.FillRectangle(veil, 0, 0, static_cast<float>(width), static_cast<float>(height));
    }
    return DcToBitmap(dc, width, height);
}

}  // namespace corvalin
