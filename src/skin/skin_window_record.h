// The records of the skin's registry: one SkinWindowRecord per skinned
// top-level window, holding its caption buttons, caches and one list per
// control family. Every family list starts with a placeholder element (window
// 0) that the first control of the family fills.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "base/text.h"
#include "base/unique.h"
#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/skin_tool_tip.h"
#include "skin/caption_states.h"
#include "skin/child_exclusion.h"
#include "skin/composed_layer.h"
#include "skin/skin_surface.h"

namespace corvalin {

// A routine the skin calls by address without arguments (help, menu and
// custom caption buttons).
using SkinCallback = void(CALLBACK*)();

// Kinds of caption buttons.
enum SkinCaptionKind : int {
    kCaptionClose = 0,
    kCaptionMaximize = 1,
    kCaptionMinimize = 2,
    kCaptionMenu = 3,
    kCaptionHelp = 4,
    kCaptionCustom = 5,
};

struct SkinCaptionButton {
    int width = 26;            // 38 for close
    int height = 18;
    Bytes glyph;               // encoded picture
    Bytes secondGlyph;         // maximise only: shown while maximised
    int reserved = 0;
    int kind = kCaptionClose;
    std::string toolTipText;
    SkinCallback callback = nullptr;   // kind 5 only
    SkinRectF rect;            // client coordinates, set by LayoutCaptionButtons
};

struct SkinMenuItem {
    int width = 0;             // -1 takes the rest of the bar
    std::string text;
    Bytes picture;
    int value = 0;
    SkinRectF rect;            // set by LayoutMenuBar
};

// A window laid out to fill its container or top-level window on resize.
struct SkinPage {
    HWND window = nullptr;
    int top = 0;
};

struct SkinFadeStep {
    int button = 0;
    int step = 0;              // 0 to 8
};

// Family elements. Every element starts with the control's window and its
// previous window procedure.
struct SkinButtonRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int kind = 0;              // 0 push, 1 picture, 3 state (toggle) button, 4 automatic radio button, 5 check box
    int down = 0;              // kind 3: the button stays pressed
    std::string text;
    int focused = 0;
    int checked = 0;
    HWND parent = nullptr;
    SkinToolTip toolTip;
    std::string fontName;
    int fontSize = 0;
    int fontStyle = 0;
};

struct SkinEditRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int focused = 0;
    int selecting = 0;         // between WM_LBUTTONDOWN and WM_LBUTTONUP
};

struct SkinComboRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int focused = 0;
};

struct SkinListRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int focused = 0;
    int arrowKeyHeld = 0;      // between an arrow key's WM_KEYDOWN and the next WM_KEYUP
    int hot = 0;               // the mouse is over it
};

struct SkinTrackbarRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int vertical = 0;
    int noTicks = 0;
    int hot = 0;
};

struct SkinProgressRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int vertical = 0;
};

struct SkinUpDownRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    int hotPart = 0;           // 0 none, 1 first arrow, 2 second arrow
    int pressed = 0;
    int horizontal = 0;
    LPARAM pressPosition = 0;
};

struct SkinHeaderRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    HWND listView = nullptr;
    int hotItem = -1;
    int pressed = 0;
    int pressedItem = -1;
};

struct SkinContainerRecord {
    HWND window = nullptr;
    COLORREF panelColor = 0;   // 0 = no panel
    int panelOpacity = 255;
    int border = 0;
    WNDPROC previousProc = nullptr;
    int rebuildPending = 0;
    int groupBox = 0;          // also makes the panel rounded
    int containerFlag = 1;
    std::string captionFontName;
    int captionFontSize = 0;
    int captionFontStyle = 0;
    std::vector<SkinPage> pages;
};

struct SkinStaticRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    COLORREF keyColor = 0;
};

// Families this program never registers; kept so every record has all lists.
struct SkinReservedRecord {
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
};

// A family list numbered from 1, always holding at least its placeholder.
template <class Element>
class SkinFamilyList {
public:
    SkinFamilyList() { elements_.emplace_back(); }

    // 1-based position of the control, 0 when it is not in the list.
    int Find(HWND control) const {
        if (!control) return 0;
        for (std::size_t i = 0; i < elements_.size(); ++i)
            if (elements_[i].window == control) return static_cast<int>(i) + 1;
        return 0;
    }
    // Takes the placeholder while it is the only element, else appends a new
    // element; stores the control and returns the element's number.
    int Add(HWND control) {
        if (!(elements_.size() == 1 && elements_[0].window == nullptr)) elements_.emplace_back();
        elements_.back().window = control;
        return static_cast<int>(elements_.size());
    }
    // Number of elements, the placeholder included.
    int Count() const { return static_cast<int>(elements_.size()); }
    bool Valid(int number) const { return number >= 1 && number <= Count(); }
    Element& operator[](int number) { return elements_[number - 1]; }
    const Element& operator[](int number) const { return elements_[number - 1]; }
    auto begin() { return elements_.begin(); }
    auto end() { return elements_.end(); }
    auto begin() const { return elements_.begin(); }
    auto end() const { return elements_.end(); }

private:
    std::vector<Element> elements_;
};

struct SkinCaptionStrip {
    int x = 0, y = 0, width = 0, height = 0;
};

struct SkinControlColor {
    HWND control = nullptr;
    UniqueGdiObject brush;
    UniqueGdiObject bitmap;
};

struct SkinWindowRecord {
    HWND window = nullptr;
    int captionHeight = 25;
    int helpButtonWanted = 0;
    int menuButtonWanted = 0;
    int minimizeBox = 0;
    int maximizeBox = 0;
    int closeButton = 1;
    int titleShown = 1;
    int captionGloss = 0;
    WNDPROC previousProc = nullptr;
    Bytes ownPicture;          // prepared picture for this window only; empty = none
    int backgroundMode = 0;
    COLORREF backgroundColor = 0;
    std::vector<SkinCaptionButton> captionButtons;
    SkinCaptionStrip captionStrip;
    int maximized = 0;
    int minimized = 0;
    int minTrackWidth = 200;
    int minTrackHeight = 150;
    int screenWidth = 0;
    int screenHeight = 0;
    int doubleClickMaximizes = 1;
    int captionButtonsActive = 1;
    COLORREF titleColor = 0xFFFFFF;
    COLORREF titleShadowColor = 0x808080;
    std::string titleFontName = "宋体";
    int titleFontSize = 12;
    int titleFontStyle = 1;
    int hoveredButton = 0;     // caption button under the mouse, 0 = none
    SkinCallback helpCallback = nullptr;
    SkinCallback menuCallback = nullptr;
    SkinToolTip toolTip;       // one tool per caption button

    // Menu bar; a height of 0 means the window has none.
    int menuBarHeight = 0;
    SkinRectF menuBarRect;
    std::vector<SkinMenuItem> menuItems;
    int menuBarStyle = 1;
    int menuBarStyle2 = 0;
    int menuBarStyle3 = 0;
    COLORREF menuTextColor = 0xFFFFFF;
    COLORREF menuColor = 0;
    COLORREF menuHighlightColor = 0xFFFFFF;
    std::string menuFontName = "宋体";
    int menuFontSize = 12;

    SkinFamilyList<SkinButtonRecord> buttons;
    SkinFamilyList<SkinEditRecord> edits;
    SkinFamilyList<SkinListRecord> listControls;
    SkinFamilyList<SkinTrackbarRecord> trackbars;
    SkinFamilyList<SkinProgressRecord> progressBars;
    SkinFamilyList<SkinComboRecord> combos;
    SkinFamilyList<SkinUpDownRecord> upDowns;
    SkinFamilyList<SkinHeaderRecord> headers;
    SkinFamilyList<SkinReservedRecord> reservedFamily1;
    SkinFamilyList<SkinReservedRecord> reservedFamily2;
    SkinFamilyList<SkinStaticRecord> statics;

    int repaintAll = 0;        // the next paint redraws the whole skin
    // backgroundCache.original() and .bitmap() mirror the Ck_Ycjdx and Ck_wtjbdx
    // properties of the window.
    SkinMemorySurface backgroundCache;
    SkinMemorySurface captionCopy;
    SkinMemorySurface menuBarCopy;

    // Hover ownership shared by the control families: the control drawn hot,
    // the control the mouse last moved over (family-list numbers), whether
    // another family took the hover, and the parent of the hot edit box.
    int hotControl = 0;
    int mouseOverControl = 0;
    int hoverTaken = 0;
    HWND hotEditParent = nullptr;

    int captionButtonCount = 0;
    SkinFamilyList<SkinContainerRecord> containers;
    std::vector<SkinPage> pages;   // laid out by OnWindowSized

    int mouseTracking = 0;     // between a hover and a leave notification
    SkinFadeStep fadeIn;
    SkinFadeStep fadeOut;
    int hoverTimerRunning = 0;

    // Kept between paints (see their headers).
    ChildExclusion childExclusion;
    ComposedLayer staticLayer;
    CaptionStates captionStates;

    // The brushes (and their bitmaps) the colour messages handed to this
    // window's controls, also named by their Kj_dxjb and Kj_wtjb properties.
    // Kept here so they go with the window even when a control is destroyed
    // first and takes its properties along.
    std::vector<SkinControlColor> controlColors;
};

}  // namespace corvalin
