// How windows, controls, their kinds, properties and events are named.
#pragma once
#include <cstdint>

namespace corvalin::shell {

// High byte 0x52: a window; 0x06: the window addressed as a control (its unit
// id); 0x16: a control of a window.
using ControlId = std::uint32_t;

// Kind codes: (module number + 1) * 65536 + type number.
using KindCode = std::uint32_t;
inline constexpr KindCode kKindWindow = 0x10001;
inline constexpr KindCode kKindEditBox = 0x10005;
inline constexpr KindCode kKindPictureBox = 0x10006;
inline constexpr KindCode kKindShapeBox = 0x10007;
inline constexpr KindCode kKindDrawingBoard = 0x10008;
inline constexpr KindCode kKindGroupBox = 0x10009;
inline constexpr KindCode kKindLabel = 0x1000A;
inline constexpr KindCode kKindButton = 0x1000B;
inline constexpr KindCode kKindTabControl = 0x10015;
inline constexpr KindCode kKindTimer = 0x10020;
inline constexpr KindCode kKindTransparentLabel = 0x20005;
inline constexpr KindCode kKindBrowserBox = 0x40001;

// The type name a kind is enumerated by ("图片框"...), or nullptr when the
// kind has none.
const char* KindTypeName(KindCode kind);

// A control as the enumeration returns it and the window-handle query takes
// it. A window itself is (window id, unit id, kKindWindow).
struct ControlRef {
    ControlId windowId = 0;
    ControlId controlId = 0;
    KindCode kind = kKindWindow;
};

// Property indices: 0-7 common to every kind, 8 on the kind's own.
using PropertyIndex = int;
inline constexpr PropertyIndex kPropLeft = 0;
inline constexpr PropertyIndex kPropTop = 1;
inline constexpr PropertyIndex kPropWidth = 2;        // values above 32627 are stored as 32627
inline constexpr PropertyIndex kPropHeight = 3;       // likewise
inline constexpr PropertyIndex kPropTag = 4;          // text
inline constexpr PropertyIndex kPropVisible = 5;      // 1 shows, 0 hides
inline constexpr PropertyIndex kPropDisabled = 6;
inline constexpr PropertyIndex kPropCursor = 7;       // a system cursor number (IDC_*), 0 = the class cursor
inline constexpr PropertyIndex kPropCaption = 8;      // window (through its unit id), button, label, transparent label
inline constexpr PropertyIndex kPropText = 8;         // edit box
inline constexpr PropertyIndex kPropInterval = 8;     // timer, milliseconds; 0 = stopped
// Transparent label.
inline constexpr PropertyIndex kPropTextEffect = 9;   // 0 plain, 1 white shadow, 2 black shadow, 3 black 2-pixel shadow
inline constexpr PropertyIndex kPropFont = 10;        // bytes of a LOGFONTA; empty = the default GUI font
inline constexpr PropertyIndex kPropTextColor = 11;   // 0x00BBGGRR
inline constexpr PropertyIndex kPropAlignment = 12;   // 0 left, 1 centre, 2 right
inline constexpr PropertyIndex kPropWordWrap = 13;    // bool
inline constexpr PropertyIndex kPropVerticalAlignment = 14;  // 0 top, 1 centre, 2 bottom (single line only)
// Picture box.
inline constexpr PropertyIndex kPropBorder = 8;       // 0 none, otherwise a thin frame
inline constexpr PropertyIndex kPropBackColor = 9;    // 0x00BBGGRR
inline constexpr PropertyIndex kPropPicture = 10;     // bytes of a JPEG, BMP, GIF or icon file; empty clears

// Event numbers.
using EventNumber = int;
inline constexpr EventNumber kEventCreated = 0;       // on a window
inline constexpr EventNumber kEventMayClose = 1;      // on a window; the handler answers false to keep it open
inline constexpr EventNumber kEventTick = 0;          // on a timer
inline constexpr EventNumber kEventClick = 0;         // on a button
inline constexpr EventNumber kEventFeedback = 0;      // on a label: (hot-key identifier, 0)
inline constexpr EventNumber kEventLeftButtonDown = -1;   // (x, y, shift state)
inline constexpr EventNumber kEventLeftButtonUp = -2;
inline constexpr EventNumber kEventDoubleClick = -3;
inline constexpr EventNumber kEventRightButtonDown = -4;
inline constexpr EventNumber kEventRightButtonUp = -5;
inline constexpr EventNumber kEventMouseMove = -6;
inline constexpr EventNumber kEventGotFocus = -7;
inline constexpr EventNumber kEventLostFocus = -8;
inline constexpr EventNumber kEventKeyDown = -9;      // (virtual-key code, shift state)
inline constexpr EventNumber kEventKeyUp = -10;
inline constexpr EventNumber kEventCharacter = -11;
inline constexpr EventNumber kEventWheel = -12;

// Shift state: a sum of these.
inline constexpr int kShiftCtrl = 1;
inline constexpr int kShiftShift = 2;
inline constexpr int kShiftAlt = 4;

}  // namespace corvalin::shell
