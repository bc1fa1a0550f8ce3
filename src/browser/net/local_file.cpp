#include "browser/net/local_file.h"

#include <windows.h>

#include "base/unique.h"
#include "browser/net/http_client.h"

namespace corvalin::browser {

Bytes ReadLocalFile(const std::wstring& path) {
    Bytes bytes;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > static_cast<LONGLONG>(kMaxBodyBytes)) return bytes;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
    return bytes;
}

HttpResponse FetchAddress(const HttpRequest& request) {
    if (request.url.size() < 5 || _strnicmp(request.url.c_str(), "file:", 5) != 0) return Fetch(request);
    HttpResponse response;
    response.finalUrl = request.url;
    response.body = ReadLocalFile(FileUrlToPath(ToWide(request.url)));
    response.completed = !response.body.empty();
    response.status = response.completed ? 200 : 404;
    if (!response.completed) response.error = "the file cannot be read";
    return response;
}

namespace {
int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}
}  // namespace

std::wstring FileUrlToPath(std::wstring_view url) {
    if (url.size() >= 5 && _wcsnicmp(url.data(), L"file:", 5) == 0) url.remove_prefix(5);
    // "file:///Z:/x" and "file://Z:/x" both name Z:\x; the query and fragment are no part of the file.
    while (!url.empty() && url.front() == L'/') url.remove_prefix(1);
    url = url.substr(0, url.find_first_of(L"?#"));
    // Escapes are UTF-8 bytes.
    std::string bytes;
    for (size_t i = 0; i < url.size(); ++i) {
        if (url[i] == L'%' && i + 2 < url.size() && HexValue(url[i + 1]) >= 0 && HexValue(url[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        } else {
            bytes += EncodeCodePage(std::wstring_view(&url[i], 1), CP_UTF8);
        }
    }
    std::wstring path = DecodeCodePage(bytes, CP_UTF8);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

}  // namespace corvalin::browser
