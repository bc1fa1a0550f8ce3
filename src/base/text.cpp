#include "base/text.h"

#include <windows.h>

namespace corvalin {

std::wstring DecodeCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
    return wide;
}

std::string EncodeCodePage(std::wstring_view wide, unsigned codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

// Every ANSI code page the program meets keeps ASCII as it is, so ASCII text
// is widened and narrowed in place, without a round trip through the code page.
std::wstring ToWide(std::string_view ansi) {
    for (char c : ansi) {
        if (static_cast<unsigned char>(c) >= 0x80) return DecodeCodePage(ansi, CP_ACP);
    }
    return std::wstring(ansi.begin(), ansi.end());
}

std::string ToAnsi(std::wstring_view wide) {
    for (wchar_t c : wide) {
        if (c >= 0x80) return EncodeCodePage(wide, CP_ACP);
    }
    std::string narrow(wide.size(), '\0');
    for (std::size_t i = 0; i < wide.size(); ++i) narrow[i] = static_cast<char>(wide[i]);
    return narrow;
}

}  // namespace corvalin
