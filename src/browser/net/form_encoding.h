// application/x-www-form-urlencoded, in the document's code page: the body of
// a form POST and the query of a form GET.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace corvalin::browser {

using FormField = std::pair<std::wstring, std::wstring>;   // name, value

// Characters the code page cannot hold are sent as "&#N;", as the browser does.
std::string EncodeFormComponent(std::wstring_view text, unsigned codePage);
std::string EncodeFormData(const std::vector<FormField>& fields, unsigned codePage);

}  // namespace corvalin::browser
