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

std::wstring ToWide(std::string_view ansi) { return DecodeCodePage(ansi, CP_ACP); }
std::string ToAnsi(std::wstring_view wide) { return EncodeCodePage(wide, CP_ACP); }

}  // namespace corvalin
