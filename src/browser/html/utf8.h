// UTF-8 ⇄ UTF-16 for the parser's input and events (fast, no allocations
// beyond the result; malformed bytes become U+FFFD).
#pragma once
#include <string>
#include <string_view>

namespace corvalin::browser::html {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace corvalin::browser::html
