// The one skin object. Windows reaches it through two plain entry points that
// find TheSkinEngine; the operations are grouped by what they paint or do,
// each group in its own source file.
#pragma once
#include <windows.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "base/text.h"
#include "skin/skin_window_record.h"

namespace corvalin {

class SkinGraphics;

// The optional arguments of SkinWindow. A missing flag counts as 1, a missing
// help, menu or gloss as 0, a missing caption height as 25, a missing
// background mode as the global one.
struct SkinWindowOptions {
    std::optional<int> captionHeight;
    std::optional<int> captionButtonsActive;
    std::optional<int> doubleClickMaximizes;
    std::optional<int> helpButton;
    std::optional<int> menuButton;
    std::optional<int> titleShown;
    std::optional<int> captionGloss;
    std::optional<int> menu;                 // menu-bar height when given
    std::vector<SkinMenuItem> menuItems;
    Bytes ownPicture;
    std::optional<int> backgroundMode;
};

// The glyphs SetCaptionGlyphs may replace; a missing one stays.
struct SkinCaptionGlyphs {
    std::optional<Bytes> minimize;
    std::optional<Bytes> maximize;
    std::optional<Bytes> restore;
    std::optional<Bytes> close;
};

using SkinWindowProcEntry = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using SkinCaptionActionEntry = void(CALLBACK*)(int windowNumber, int buttonNumber);

class SkinEngine {
public:
    // All fields zero, both entry points set, SkinBackColor = button face.
    SkinEngine();
    // DestroyIcon(SkinDefaultIcon), GDI+ shut down, entry points cleared.
    ~SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // --- window frame and title bar (window_frame*.cpp)
    LRESULT SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PerformCaptionButton(int windowNumber, int buttonNumber);
    void SkinWindow(HWND window, const SkinWindowOptions& options = {});

    // --- caption buttons: configuration
    bool AddCaptionButton(HWND window, const Bytes& glyph, const std::string& toolTip, SkinCallback action);

    // --- title
    bool SetTitleStyle(HWND window, std::optional<std::string> fontFace, std::optional<int> fontSize,
                       std::optional<COLORREF> textColor, std::optional<COLORREF> haloColor,
                       std::optional<int> bold);

    // --- window background and skin-wide settings
    void SetWindowPicture(HWND window, const Bytes& picture, std::optional<int> mode);
    // accent: absent = the default accent; -1 = follow the background colour.
    void SetSkinPicture(const std::string& fileName, const Bytes& picture, std::optional<COLORREF> backColor,
                        std::optional<LONG> accent, std::optional<int> mode);
    void SetControlVeil(int transparentControls, std::optional<int> veilAlpha = std::nullopt,
                        std::optional<int> trackbarOption = std::nullopt);
    void PaintWindowSkin(int windowNumber, HDC dc, bool paint);
    void PaintFromCache(int windowNumber, HDC dc);
    void PaintBackground(SkinGraphics& graphics, int windowNumber);
    void DrawWindowBorder(int windowNumber, SkinGraphics& graphics);

    // --- caption button states
    void DrawButtonSeparators(int windowNumber, int buttonNumber, SkinGraphics& graphics);
    void RestoreFromCaptionCopy(int windowNumber, const RECT& rect);
    void RestoreFromMenuBarCopy(int windowNumber, const RECT& rect);
    // rebuildGraphics is the graphics of a cache rebuild (inRebuild), else null.
    void DrawCaptionButton(int windowNumber, int buttonNumber, SkinGraphics* rebuildGraphics, bool inRebuild,
                           bool pressed, int hoverIntensity = 0);
    void DrawHoverOverlay(SkinGraphics& graphics, int windowNumber, int buttonNumber, int intensity);
    void LayoutCaptionButtons(int windowNumber);
    int HitTestCaptionButton(int windowNumber, int x, int y);
    int FindMaximizeButton(int windowNumber);

    // --- frame moving and sizing
    void BeginMoveOrSize(int windowNumber, LPARAM position, const RECT& client);
    void UpdateSizeCursor(int windowNumber, LPARAM position, const RECT& client);

    // --- caption button actions
    void SetHelpButtonAction(HWND window, SkinCallback routine);
    void SetMenuButtonAction(HWND window, SkinCallback routine);

    // --- title text and menu bar
    void DrawTitle(int windowNumber, SkinGraphics* rebuildGraphics, bool inRebuild,
                   std::optional<std::string> text);
    void SetMenuBar(int windowNumber, int height, const std::vector<SkinMenuItem>& items, bool recreate);
    void LayoutMenuBar(int windowNumber);
    void DrawMenuBarItem(int windowNumber, SkinGraphics* rebuildGraphics, bool inRebuild, int itemNumber);
    bool SetMenuBarItem(HWND window, int itemNumber, const std::string& text, std::optional<Bytes> picture,
                        std::optional<int> value);
    void SetMenuBarStyle(HWND window, std::optional<int> style, std::optional<int> style2,
                         std::optional<int> style3, std::optional<COLORREF> textColor,
                         std::optional<std::string> fontFace, std::optional<int> fontSize);

    // --- single push buttons of kinds 1 and 3
    void SkinPictureButton(HWND button);
    void SkinStateButton(HWND button);

    // --- containers
    int SkinContainer(HWND container, std::optional<int> containerFlag = std::nullopt, COLORREF panelColor = 0,
                      std::optional<int> panelOpacity = std::nullopt, std::optional<int> border = std::nullopt);
    void SetContainerOpacity(HWND container, int opacity);

    RECT GetCaptionStripRect(HWND window);

    // --- static controls
    int SkinStaticControl(HWND control, std::optional<COLORREF> keyColor = std::nullopt, COLORREF panelColor = 0,
                          int panelOpacity = 255);

    void OnWindowSized(int windowNumber);
    void SetControlTextColor(HWND control, COLORREF color);
    COLORREF GetBackColor();
    bool SetCaptionGlyphs(HWND window, const SkinCaptionGlyphs& glyphs);

    // Fields.
    SkinWindowProcEntry windowProcEntry = nullptr;       // installed as GWLP_WNDPROC of skinned windows
    int resizeBorderWidth = 0;                           // 3 once SkinWindow ran
    int hitCaptionButton = 0;                            // last hit-tested caption button, 0 = none
    SkinCaptionActionEntry captionActionEntry = nullptr;
    INT_PTR captionActionAddress = 0;                    // non-zero once constructed
};

extern std::unique_ptr<SkinEngine> TheSkinEngine;

}  // namespace corvalin
