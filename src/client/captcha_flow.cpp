#include "client/captcha_flow.h"

#include "shell/shell.h"

namespace corvalin::client {

namespace {

using namespace corvalin::shell;

constexpr ControlId kCaptchaControls[] = {kCaptchaPictureId, kCaptchaEditId, kCaptchaCaptionId};

void Move(ControlId control, int left, int top) {
    SetControlProperty(kMainWindowId, control, kPropLeft, left);
    SetControlProperty(kMainWindowId, control, kPropTop, top);
}

void MoveButtons(int top) {
    Move(kStartButtonId, 31, top);
    Move(kOfflineButtonId, 156, top);
    Move(kContactButtonId, 289, top);
}

// Blocks the thread until the download ends; empty bytes clear the picture.
void LoadCaptchaPicture() {
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, DownloadBytes(CaptchaAddress()));
}

void ShowCaptchaLayout() {
    SetControlProperty(kMainWindowId, kCaptchaWatchTimerId, kPropInterval, 0);   // for the rest of the run
    SetControlProperty(kMainWindowId, kMainWindowUnitId, kPropHeight, 260);
    Move(kStatusLabelId, 24, 239);
    for (ControlId shown : kCaptchaControls) SetControlProperty(kMainWindowId, shown, kPropVisible, 1);
    MoveButtons(197);
    LoadCaptchaPicture();
}

void ShowNormalLayout() {
    // Rewriting 1000 on later ticks keeps the running period.
    SetControlProperty(kMainWindowId, kCaptchaWatchTimerId, kPropInterval, 1000);
    MoveButtons(160);
    Move(kStatusLabelId, 24, 197);
    for (ControlId hidden : kCaptchaControls) SetControlProperty(kMainWindowId, hidden, kPropVisible, 0);
    SetControlProperty(kMainWindowId, kMainWindowUnitId, kPropHeight, 218);
}

}  // namespace

std::string CaptchaAddress() {
    return std::string(build::kServiceUrl) + "/yzm.php?t=1389421390208";
}

void OnCaptchaWatch() {
    if (GetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption).AsText() == kCaptchaRequestStatus)
        ShowCaptchaLayout();
    else
        ShowNormalLayout();
}

void OnCaptchaPictureClick(int, int, int) {
    LoadCaptchaPicture();
}

void OnCaptchaBoxFocus() {
    SetControlProperty(kMainWindowId, kCaptchaEditId, kPropText, std::string());
}

}  // namespace corvalin::client
