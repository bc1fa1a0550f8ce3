// Text crossing to and from GDI+: ANSI in, UTF-16 to GDI+, and GDI+ strings
// back through the OEM code page.
#pragma once
#include <string>
#include <string_view>

namespace corvalin {

std::wstring ToGdiplusText(std::string_view ansi);
std::string FromGdiplusText(const wchar_t* wide);

}  // namespace corvalin
