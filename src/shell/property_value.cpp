#include "shell/property_value.h"

#include <cstring>

#include "shell/conversions.h"

namespace corvalin::shell {

int PropertyValue::AsInteger() const {
    if (const int* i = std::get_if<int>(&value_)) return *i;
    if (const std::string* s = std::get_if<std::string>(&value_)) return TextToInteger(*s);
    if (const Bytes* b = std::get_if<Bytes>(&value_)) return TextToInteger(BytesToText(*b));
    return 0;
}

std::string PropertyValue::AsText() const {
    if (const int* i = std::get_if<int>(&value_)) return NumberToText(*i);
    if (const std::string* s = std::get_if<std::string>(&value_)) return *s;
    if (const Bytes* b = std::get_if<Bytes>(&value_)) return BytesToText(*b);
    return {};
}

Bytes PropertyValue::AsBytes() const {
    if (const Bytes* b = std::get_if<Bytes>(&value_)) return *b;
    if (const std::string* s = std::get_if<std::string>(&value_)) return Bytes(s->begin(), s->end());
    if (const int* i = std::get_if<int>(&value_)) {
        Bytes bytes(sizeof(int));
        std::memcpy(bytes.data(), i, sizeof(int));
        return bytes;
    }
    return {};
}

}  // namespace corvalin::shell
