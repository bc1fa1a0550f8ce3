// One line of a driver script split into words: blanks separate them, double
// quotes group a text with blanks, and inside quotes \" and \\ stand for " and \.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvalin::page_driver {

// The words of `line`; nothing (and `error` set) for an unterminated quote.
std::optional<std::vector<std::string>> SplitScriptLine(std::string_view line, std::string& error);

}  // namespace corvalin::page_driver
