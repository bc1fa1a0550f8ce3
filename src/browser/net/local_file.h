// Files of the local machine: upload parts and pages loaded from file: addresses.
#pragma once
#include <string>
#include <string_view>

#include "base/text.h"

namespace corvalin::browser {

// The whole file, empty when it cannot be read or is larger than a page may be.
Bytes ReadLocalFile(const std::wstring& path);
// The path of a file: address ("file:///Z:/tmp/a%20b.html" is "Z:\tmp\a b.html").
std::wstring FileUrlToPath(std::wstring_view url);

}  // namespace corvalin::browser
