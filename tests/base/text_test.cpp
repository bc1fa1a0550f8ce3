#include "base/text.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace corvalin;

TEST(TextTest, AnsiRoundTripsThroughUtf16InGbk) {
    const std::string status = "状态：请输入验证码";
    const std::wstring wide = ToWide(status);
    EXPECT_EQ(wide, L"状态：请输入验证码");
    EXPECT_EQ(ToAnsi(wide), status);
}

TEST(TextTest, Utf8PagesDecodeByTheirOwnCodePage) {
    const std::string utf8 = "\xE4\xB8\x8B\xE7\xBA\xBF";  // 下线
    EXPECT_EQ(DecodeCodePage(utf8, CP_UTF8), L"下线");
    EXPECT_EQ(EncodeCodePage(L"下线", CP_UTF8), utf8);
    EXPECT_EQ(DecodeCodePage("", CP_UTF8), L"");
}
