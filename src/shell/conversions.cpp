#include "shell/conversions.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace corvalin::shell {
namespace {

// Full-width forms (U+FF01..U+FF5E, the ideographic space) as ASCII; other
// characters as '\x01', which no number contains.
std::string NarrowedForParsing(std::string_view text) {
    std::string out;
    for (wchar_t c : ToWide(text)) {
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<wchar_t>(c - 0xFEE0);
        else if (c == 0x3000) c = L' ';
        out.push_back(c < 0x80 ? static_cast<char>(c) : '\x01');
    }
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipBlanks(const std::string& s, std::size_t i) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    return i;
}

}  // namespace

double TextToNumber(std::string_view text) {
    const std::string s = NarrowedForParsing(text);
    std::size_t i = SkipBlanks(s, 0);
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    std::size_t end = i;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            end = j;
        }
    }
    return std::strtod(s.substr(start, end - start).c_str(), nullptr);
}

int TextToInteger(std::string_view text) {
    const std::string s = NarrowedForParsing(text);
    std::size_t i = SkipBlanks(s, 0);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    long long value = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > 1LL << 32) value = 1LL << 32;   // saturates; keeps the arithmetic in range
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string NumberToText(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

std::string NumberToText(std::int16_t value) { return NumberToText(static_cast<int>(value)); }

std::string NumberToText(std::uint8_t value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(value));
    return buffer;
}

std::string NumberToText(std::int64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return buffer;
}

std::string NumberToText(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(value));
    return buffer;
}

std::string NumberToText(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return buffer;
}

std::string BoolToText(bool value) { return value ? "真" : "假"; }

std::string BytesToText(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b == 0) break;
        text.push_back(static_cast<char>(b));
    }
    return text;
}

}  // namespace corvalin::shell
