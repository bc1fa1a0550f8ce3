#include "browser/net/charset.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "base/text.h"

namespace corvalin::browser {

namespace {

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view TrimQuotesAndSpace(std::string_view text) {
    auto junk = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\'' || c == '\r' || c == '\n'; };
    while (!text.empty() && junk(text.front())) text.remove_prefix(1);
    while (!text.empty() && junk(text.back())) text.remove_suffix(1);
    return text;
}

// The value after "charset=" in `text` (already lower case), up to a delimiter.
std::string CharsetParameter(std::string_view text) {
    const size_t at = text.find("charset");
    if (at == std::string_view::npos) return {};
    size_t i = at + 7;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size() || text[i] != '=') return {};
    ++i;
    while (i < text.size() && (text[i] == ' ' || text[i] == '"' || text[i] == '\'')) ++i;
    size_t end = i;
    while (end < text.size() && text[end] != ';' && text[end] != '"' && text[end] != '\'' && text[end] != ' ' &&
           text[end] != '>' && text[end] != '/' && text[end] != '\t')
        ++end;
    return std::string(TrimQuotesAndSpace(text.substr(i, end - i)));
}

std::wstring WideAscii(std::string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

unsigned CodePageOfCharset(std::string_view label) {
    const std::string name = LowerAscii(TrimQuotesAndSpace(label));
    struct Entry { const char* name; unsigned codePage; };
    static constexpr Entry kCharsets[] = {
        {"utf-8", CP_UTF8}, {"utf8", CP_UTF8}, {"unicode-1-1-utf-8", CP_UTF8},
        {"gbk", 936}, {"gb2312", 936}, {"x-gbk", 936}, {"cp936", 936}, {"windows-936", 936},
        {"csgb2312", 936}, {"gb_2312-80", 936}, {"chinese", 936},
        {"gb18030", 54936},
        {"big5", 950}, {"big5-hkscs", 950}, {"cp950", 950},
        {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"x-sjis", 932},
        {"euc-jp", 20932}, {"euc-kr", 949}, {"ks_c_5601-1987", 949},
        {"iso-8859-1", 1252}, {"latin1", 1252}, {"us-ascii", 1252}, {"ascii", 1252}, {"windows-1252", 1252},
        {"iso-8859-2", 28592}, {"windows-1250", 1250}, {"windows-1251", 1251}, {"koi8-r", 20866},
    };
    for (const auto& entry : kCharsets)
        if (name == entry.name) return entry.codePage;
    return 0;
}

std::string CharsetOfContentType(std::string_view contentType) {
    return CharsetParameter(LowerAscii(contentType));
}

std::string SniffMetaCharset(std::string_view bytes) {
    const std::string head = LowerAscii(bytes.substr(0, std::min<size_t>(bytes.size(), 8192)));
    size_t at = 0;
    while ((at = head.find("<meta", at)) != std::string::npos) {
        // A declaration inside a comment declares nothing.
        if (const size_t open = head.rfind("<!--", at); open != std::string::npos) {
            const size_t close = head.find("-->", open + 4);
            if (close == std::string::npos) break;
            if (close > at) {
                at = close + 3;
                continue;
            }
        }
        const size_t end = head.find('>', at);
        const std::string_view tag = std::string_view(head).substr(at, end == std::string::npos ? std::string::npos : end - at);
        std::string label = CharsetParameter(tag);
        if (!label.empty()) return label;
        at += 5;
    }
    return {};
}

Charset DetermineCharset(std::string_view contentType, std::string_view bytes) {
    const std::string declared = CharsetOfContentType(contentType);
    if (const unsigned page = CodePageOfCharset(declared); page != 0) return {WideAscii(declared), page};
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        return {L"utf-8", CP_UTF8};
    const std::string meta = SniffMetaCharset(bytes);
    if (const unsigned page = CodePageOfCharset(meta); page != 0) return {WideAscii(meta), page};
    const unsigned system = GetACP();
    return {system == 936 ? L"gb2312" : L"windows-" + std::to_wstring(system), system};
}

DecodedPage DecodePage(std::string_view contentType, std::string_view bytes) {
    DecodedPage page;
    page.charset = DetermineCharset(contentType, bytes);
    if (page.charset.codePage == CP_UTF8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    page.markup = DecodeCodePage(bytes, page.charset.codePage);
    std::replace(page.markup.begin(), page.markup.end(), L'\0', L'\xFFFD');
    return page;
}

}  // namespace corvalin::browser
