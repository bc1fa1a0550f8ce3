// The hang service's web page, in GBK.
#pragma once
#include <string>

namespace corvalin::hang {

// The page with `status` (markup, inserted as it is) already in its status span.
std::string ServicePage(const std::string& status);

}  // namespace corvalin::hang
