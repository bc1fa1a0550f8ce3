#include "browser/net/charset.h"
#include "browser/net/form_encoding.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace corvalin::browser {
namespace {

TEST(CharsetTest, HeaderWinsOverMetaAndMetaOverTheSystemDefault) {
    struct Case { const char* contentType; const char* body; const wchar_t* name; unsigned codePage; };
    const Case cases[] = {
        {"text/html; charset=UTF-8", "<meta charset=gbk>", L"utf-8", CP_UTF8},
        {"text/html;charset=\"gb2312\"", "", L"gb2312", 936},
        {"text/html", "<html><head><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=GBK\">", L"gbk", 936},
        {"text/html", "<meta charset='utf-8'/>", L"utf-8", CP_UTF8},
        {"text/html; charset=bogus", "<meta charset=big5>", L"big5", 950},
        {"text/html", "\xEF\xBB\xBF<p>bom</p><meta charset=gbk>", L"utf-8", CP_UTF8},
        {"", "<p>nothing declared</p>", L"gb2312", 936},
        {"", "<meta name=keywords content=\"charset\">", L"gb2312", 936},
        {"", "<!-- <meta charset=big5> --><META HTTP-EQUIV=Content-Type CONTENT=\"text/html;charset=utf-8\" />", L"utf-8", CP_UTF8},
        {"", "<!-- <meta charset=big5> -- still a comment --><!----><meta charset=\"GB2312\">", L"gb2312", 936},
        {"", "<!-- never closed <meta charset=utf-8>", L"gb2312", 936},
    };
    for (const auto& c : cases) {
        const Charset charset = DetermineCharset(c.contentType, c.body);
        EXPECT_EQ(charset.name, c.name) << c.contentType << " / " << c.body;
        EXPECT_EQ(charset.codePage, c.codePage) << c.contentType << " / " << c.body;
    }
}

TEST(CharsetTest, PagesDecodeWithoutTheirByteOrderMarkAndWithoutNuls) {
    struct Case { const char* contentType; std::string body; const wchar_t* markup; unsigned codePage; };
    const Case cases[] = {
        {"text/html; charset=utf-8", "\xEF\xBB\xBF<p>\xE4\xB8\xAD</p>", L"<p>\u4e2d</p>", CP_UTF8},
        {"", "\xEF\xBB\xBF<b>x</b>", L"<b>x</b>", CP_UTF8},
        {"text/html; charset=gbk", std::string("<p>\xD6\xD0\0x</p>", 11), L"<p>\u4e2d\xFFFDx</p>", 936},
        {"", "<meta charset=gbk><i>\xD6\xD0</i>", L"<meta charset=gbk><i>\u4e2d</i>", 936},
    };
    for (const auto& c : cases) {
        const DecodedPage page = DecodePage(c.contentType, c.body);
        EXPECT_EQ(page.markup, c.markup) << c.body;
        EXPECT_EQ(page.charset.codePage, c.codePage) << c.body;
    }
}

TEST(FormEncodingTest, EncodesInTheDocumentCodePage) {
    const std::vector<FormField> fields = {
        {L"user", L"\u5f20\u4e09"},                 // 张三
        {L"note", L"a b&c=d+e/\u00e9\u0e01"},
        {L"lines", L"1\n2\r3"},
        {L"empty", L""},
    };
    EXPECT_EQ(EncodeFormData(fields, 936),
              "user=%D5%C5%C8%FD&note=a+b%26c%3Dd%2Be%2F%A8%A6%26%233585%3B&lines=1%0D%0A2%0D%0A3&empty=");
    EXPECT_EQ(EncodeFormData({{L"user", L"\u5f20\u4e09"}, {L"e", L"\u00e9"}}, CP_UTF8),
              "user=%E5%BC%A0%E4%B8%89&e=%C3%A9");
    // A character outside the BMP goes out as one numeric reference.
    EXPECT_EQ(EncodeFormComponent(L"\U0001F600", 936), "%26%23128512%3B");
}

}  // namespace
}  // namespace corvalin::browser

namespace corvalin::browser {
namespace {

TEST(FormEncodingTest, MultipartBodiesCarryValuesAndFiles) {
    const std::vector<FormPart> parts = {
        {L"user", L"\u5f20\u4e09", false, {}},
        {L"photo", L"C:\\pics\\a\"b.jpg", true, {0x00, 0xFF, 'x'}},
    };
    const Bytes body = EncodeMultipartFormData(parts, "BOUND", 936);
    const std::string expected = std::string(
        "--BOUND\r\nContent-Disposition: form-data; name=\"user\"\r\n\r\n\xD5\xC5\xC8\xFD\r\n"
        "--BOUND\r\nContent-Disposition: form-data; name=\"photo\"; filename=\"C:\\pics\\a%22b.jpg\"\r\n"
        "Content-Type: application/octet-stream\r\n\r\n") + std::string("\0\xFFx", 3) + "\r\n--BOUND--\r\n";
    EXPECT_EQ(std::string(body.begin(), body.end()), expected);
}

}  // namespace
}  // namespace corvalin::browser
