// Value conversions between text and numbers. Text is GBK; full-width forms
// of ASCII characters count as their ASCII forms.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

namespace corvalin::shell {

// The longest prefix that reads as a decimal floating-point number (leading
// blanks, sign, digits, point, exponent); 0 when none.
double TextToNumber(std::string_view text);
// The longest prefix that reads as a decimal integer, saturated to 32 bits.
int TextToInteger(std::string_view text);

std::string NumberToText(int value);            // "%d"
std::string NumberToText(std::int16_t value);   // "%d"
std::string NumberToText(std::uint8_t value);   // "%u"
std::string NumberToText(std::int64_t value);
std::string NumberToText(float value);          // "%.6g"
std::string NumberToText(double value);         // "%.13g"
std::string BoolToText(bool value);             // "真" / "假"

// The bytes up to the first zero byte.
std::string BytesToText(const Bytes& bytes);

}  // namespace corvalin::shell
