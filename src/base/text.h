// Text and bytes at the program's boundaries: narrow text is in the ANSI code
// page (GBK), wide text is UTF-16 for COM and the DOM.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvalin {

using Bytes = std::vector<std::uint8_t>;

std::wstring ToWide(std::string_view ansi);
std::string ToAnsi(std::wstring_view wide);

// Any code page to and from UTF-16 (page decoding, form encoding).
std::wstring DecodeCodePage(std::string_view bytes, unsigned codePage);
std::string EncodeCodePage(std::wstring_view wide, unsigned codePage);

}  // namespace corvalin
