// A control property value: an integer, a text or bytes, read in whichever
// form the caller wants through the runtime's conversions.
#pragma once
#include <string>
#include <variant>

#include "base/text.h"

namespace corvalin::shell {

class PropertyValue {
public:
    PropertyValue() = default;
    PropertyValue(int value) : value_(value) {}
    PropertyValue(std::string text) : value_(std::move(text)) {}
    PropertyValue(const char* text) : value_(std::string(text ? text : "")) {}
    PropertyValue(Bytes bytes) : value_(std::move(bytes)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsInteger() const { return std::holds_alternative<int>(value_); }
    bool IsText() const { return std::holds_alternative<std::string>(value_); }
    bool IsBytes() const { return std::holds_alternative<Bytes>(value_); }

    // Text reads as an integer by TextToInteger, bytes by their text.
    int AsInteger() const;
    bool AsBool() const { return AsInteger() != 0; }
    // An integer reads as "%d", bytes up to their first zero byte.
    std::string AsText() const;
    // Text gives its bytes (without the terminating zero); an integer its 4 bytes.
    Bytes AsBytes() const;

private:
    std::variant<std::monostate, int, std::string, Bytes> value_;
};

}  // namespace corvalin::shell
