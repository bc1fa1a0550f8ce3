// application/x-www-form-urlencoded, in the document's code page: the body of
// a form POST and the query of a form GET.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"

namespace corvalin::browser {

using FormField = std::pair<std::wstring, std::wstring>;   // name, value

// Characters the code page cannot hold are sent as "&#N;", as the browser does.
std::string EncodeFormComponent(std::wstring_view text, unsigned codePage);
std::string EncodeFormData(const std::vector<FormField>& fields, unsigned codePage);

// One part of a multipart/form-data body: a plain value, or a chosen file
// (its path as the file name, its bytes as the content).
struct FormPart {
    std::wstring name;
    std::wstring value;       // the value, or the file's path
    bool file = false;
    Bytes content;            // the file's bytes
};
// The body; names, values and file names in the code page.
Bytes EncodeMultipartFormData(const std::vector<FormPart>& parts, const std::string& boundary, unsigned codePage);

}  // namespace corvalin::browser
