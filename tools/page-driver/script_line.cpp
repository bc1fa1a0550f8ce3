#include "script_line.h"

namespace corvalin::page_driver {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::optional<std::vector<std::string>> SplitScriptLine(std::string_view line, std::string& error) {
    std::vector<std::string> words;
    size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size()) return words;
        std::string word;
        while (i < line.size() && !IsBlank(line[i])) {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            // A quoted part, possibly inside a longer word (a"b c"d is one word).
            ++i;
            while (true) {
                if (i == line.size()) {
                    error = "unterminated quote";
                    return std::nullopt;
                }
                if (line[i] == '"') break;
                if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
                word += line[i++];
            }
            ++i;
        }
        words.push_back(std::move(word));
    }
}

}  // namespace corvalin::page_driver
