// Which code page a page's bytes are in: the Content-Type header first, then
// a byte-order mark, then a <meta> declaration near the start of the page.
#pragma once
#include <string>
#include <string_view>

namespace corvalin::browser {

struct Charset {
    std::wstring name;      // as the document reports it, lower case ("gb2312", "utf-8")
    unsigned codePage = 0;
};

// The code page of a charset label; 0 when the label is unknown.
unsigned CodePageOfCharset(std::string_view label);
// The charset parameter of a Content-Type value, lower case; empty when absent.
std::string CharsetOfContentType(std::string_view contentType);
// A charset label declared by <meta charset> or <meta http-equiv content> in
// the first few kilobytes; empty when none.
std::string SniffMetaCharset(std::string_view bytes);
// The charset a page is decoded with. Pages that declare nothing are read in
// the system's ANSI code page, as the browser on that system does.
Charset DetermineCharset(std::string_view contentType, std::string_view bytes);

// A page's bytes as text in the charset DetermineCharset finds: without a
// UTF-8 byte-order mark, and with NULs (which would end the page early in the
// parser) as U+FFFD.
struct DecodedPage {
    std::wstring markup;
    Charset charset;
};
DecodedPage DecodePage(std::string_view contentType, std::string_view bytes);

}  // namespace corvalin::browser
