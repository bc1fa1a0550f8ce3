// The gallery: one skinned window holding every control family of the skin,
// directly on the window and inside a group box and a tab control.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace corvalin::gallery {

struct GalleryControls {
    HWND window = nullptr;
    HWND pushButton = nullptr, defaultButton = nullptr, checkBox = nullptr, radio1 = nullptr, radio2 = nullptr;
    HWND pictureButton = nullptr, stateButton = nullptr;   // button kinds 1 and 3
    HWND borderEdit = nullptr;        // WS_BORDER
    HWND clientEdgeEdit = nullptr;    // WS_EX_CLIENTEDGE
    HWND simpleCombo = nullptr, dropDownCombo = nullptr, dropDownListCombo = nullptr;
    HWND groupBox = nullptr, groupEdit = nullptr, groupTrackbar = nullptr, groupListBox = nullptr;
    HWND tab = nullptr, tabCheckBox = nullptr, tabProgress = nullptr, tabUpDown = nullptr;
    HWND trackbar = nullptr, verticalTrackbar = nullptr, plainTrackbar = nullptr;   // the last without ticks
    HWND progress = nullptr, verticalProgress = nullptr;
    HWND listBox = nullptr, ownerDrawnListBox = nullptr;
    HWND listView = nullptr, header = nullptr;
    HWND treeView = nullptr, ipAddress = nullptr, dateTime = nullptr;
    HWND upDown = nullptr, horizontalUpDown = nullptr, oddUpDown = nullptr, oddHorizontalUpDown = nullptr;
    HWND label = nullptr, picture = nullptr;
};

inline constexpr int kGalleryWidth = 720;
inline constexpr int kGalleryHeight = 520;

// The common control classes every family needs.
void InitGalleryControls();
// The skin module and engine, started once for the process.
void StartGallerySkin();
// Creates the window and every control in it (hidden), without the skin.
GalleryControls CreateGallery();
// Skins the window, its group box and tab control and its label and picture.
void SkinGallery(const GalleryControls& gallery);

}  // namespace corvalin::gallery
