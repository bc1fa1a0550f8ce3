// The captcha: the watch that turns the main window into its captcha layout
// when the service asks for an answer, the picture and the answer box.
#pragma once
#include <string>

namespace corvalin::client {

// The one status line the watch acts on, compared byte for byte.
inline constexpr char kCaptchaRequestStatus[] = "状态：请输入验证码";

// The service's picture address; the query never changes (downloads bypass caches).
std::string CaptchaAddress();

void OnCaptchaWatch();
void OnCaptchaPictureClick(int x, int y, int shiftState);
void OnCaptchaBoxFocus();

}  // namespace corvalin::client
