// The main window's conversation with the hang service: initialisation, the
// status poll, the two submits, the Enter keys and the contact button. The
// page in the hidden browser box does the talking; these handlers fill its
// inputs, press its buttons and mirror its status span.
#pragma once
#include <string>

namespace corvalin::client {

// The status line's prefix, followed by the page's status markup.
inline constexpr char kStatusPrefix[] = "状态：";

// "tencent://message/?uin=" and the author's number.
std::string ContactAddress();

void OnMainCreated();
void OnStatusPoll();
void SubmitStart();
void SubmitOffline();
void OnAccountKey(int keyCode, int shiftState);
void OnPasswordKey(int keyCode, int shiftState);
void OnCaptchaKey(int keyCode, int shiftState);
void ContactAuthor();

}  // namespace corvalin::client
