#include "driver_values.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace corvalin::page_driver {

std::string Utf8ToAnsi(std::string_view utf8) { return ToAnsi(DecodeCodePage(utf8, CP_UTF8)); }

std::string AnsiToUtf8(std::string_view ansi) { return EncodeCodePage(ToWide(ansi), CP_UTF8); }

bool ReadInteger(const std::string& word, int& value, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(word.c_str(), &end, 10);
    if (word.empty() || *end || errno || number < INT_MIN || number > INT_MAX) {
        error = "not an integer: " + word;
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

bool ReadDouble(const std::string& word, double& value, std::string& error) {
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end) {
        error = "not a number: " + word;
        return false;
    }
    return true;
}

bool ReadBool(const std::string& word, bool& value, std::string& error) {
    if (word != "true" && word != "false") {
        error = "not true or false: " + word;
        return false;
    }
    value = word == "true";
    return true;
}

bool ReadBytes(const std::string& word, Bytes& value, std::string& error) {
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    value.clear();
    for (size_t i = 0; i < word.size(); i += 2) {
        const int high = digit(word[i]);
        const int low = i + 1 < word.size() ? digit(word[i + 1]) : -1;
        if (high < 0 || low < 0) {
            error = "not hexadecimal bytes: " + word;
            return false;
        }
        value.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool ReadWindow(const std::string& word, const DriverScope& scope, HWND& value, std::string& error) {
    if (word == "box") {
        value = scope.box;
        return true;
    }
    char* end = nullptr;
    const unsigned long long handle = std::strtoull(word.c_str(), &end, 10);
    if (word.empty() || *end) {
        error = "not a window (box, 0 or a decimal handle): " + word;
        return false;
    }
    value = reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle));
    return true;
}

bool ReadElement(const std::string& word, const DriverScope& scope, AutomationObject& value, std::string& error) {
    if (word.empty()) {   // the empty element
        value.Clear();
        return true;
    }
    if (word[0] != '#') {
        error = "not an element (#id): " + word;
        return false;
    }
    value = scope.automation.GetDocument().CallObject("getElementById", Utf8ToAnsi(word.substr(1)));
    return true;
}

Json ToJson(bool value) { return value; }
Json ToJson(int value) { return value; }
Json ToJson(double value) { return value; }
Json ToJson(const std::string& ansiText) { return AnsiToUtf8(ansiText); }
Json ToJson(HWND window) { return static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(window)); }

Json ToJson(const AutomationObject& object) {
    if (object.IsEmpty()) return nullptr;
    Json answer = Json::object();
    for (const char* property : {"tagName", "id", "name", "outerHTML"}) answer[property] = ToJson(object.GetText(property));
    // A collection has no tag: its length tells more.
    if (object.GetText("tagName").empty() && !object.GetText("length").empty()) {
        answer["length"] = static_cast<int>(object.GetNumber("length"));
    }
    return answer;
}

Json ToJson(const Bytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

}  // namespace corvalin::page_driver
