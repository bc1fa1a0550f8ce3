// The identifiers of both windows and their controls.
#pragma once
#include "shell/control_id.h"

namespace corvalin::shell {

// MainWindow.
inline constexpr ControlId kMainWindowId = 0x52010001;
inline constexpr ControlId kMainWindowUnitId = 0x06010000;
inline constexpr ControlId kCaptchaWatchTimerId = 0x1601354C;   // 时钟2
inline constexpr ControlId kStatusPollTimerId = 0x16011BA1;     // 时钟1
inline constexpr ControlId kBrowserBoxId = 0x160101FE;          // 超文本浏览框1
inline constexpr ControlId kStatusLabelId = 0x160101FD;         // 透明标签6
inline constexpr ControlId kCreditLabelId = 0x160101FC;         // 透明标签5
inline constexpr ControlId kOfflineButtonId = 0x160101FB;       // 按钮3 "我要下线"
inline constexpr ControlId kContactButtonId = 0x160101FA;       // 按钮2 "联系作者"
inline constexpr ControlId kStartButtonId = 0x160101F9;         // 按钮1 "开始挂机"
inline constexpr ControlId kCaptchaPictureId = 0x160101F7;      // 图片框1
inline constexpr ControlId kCaptchaEditId = 0x160101F6;         // 编辑框3
inline constexpr ControlId kCaptchaCaptionId = 0x160101F5;      // 透明标签4
inline constexpr ControlId kPasswordEditId = 0x160101F4;        // 编辑框2
inline constexpr ControlId kAccountEditId = 0x160101F3;         // 编辑框1
inline constexpr ControlId kPasswordCaptionId = 0x160101F2;     // 透明标签3
inline constexpr ControlId kAccountCaptionId = 0x160101F1;      // 透明标签2
inline constexpr ControlId kNoticeLabelId = 0x160101EB;         // 透明标签1

// ExitConfirmWindow.
inline constexpr ControlId kExitConfirmWindowId = 0x5201356C;
inline constexpr ControlId kExitConfirmUnitId = 0x0601356B;
inline constexpr ControlId kHotKeyLabelId = 0x16013579;         // 标签1
inline constexpr ControlId kNoButtonId = 0x1601356F;            // 按钮2 "否(N)"
inline constexpr ControlId kYesButtonId = 0x1601356E;           // 按钮1 "是(Y)"
inline constexpr ControlId kQuestionLabelId = 0x1601356D;       // 透明标签1

}  // namespace corvalin::shell
