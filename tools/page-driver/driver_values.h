// How the driver reads script words into operation arguments and writes
// operation results and out-arguments as JSON. One specialisation of
// Parameter per C++ parameter type the operations use; a type without one
// does not compile into the table.
//
// Roles follow the parameter's type: values and const references are given
// in the script; non-const references to a number or text are given with
// their input value and answered under "out"; pointers and lists are
// supplied by the driver, start empty and are answered under "out".
#pragma once
#include <windows.h>

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "automation/page_automation.h"
#include "base/text.h"

namespace corvalin::page_driver {

using Json = nlohmann::ordered_json;

enum class ParameterRole { In, InOut, Out };

// What a word can refer to besides itself: the page's elements (#id) and the
// driver's browser box (box).
struct DriverScope {
    PageAutomation& automation;
    HWND box = nullptr;
};

std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// Word readers; false (with `error` set) when the word is not of the kind.
bool ReadInteger(const std::string& word, int& value, std::string& error);
bool ReadDouble(const std::string& word, double& value, std::string& error);
bool ReadBool(const std::string& word, bool& value, std::string& error);
bool ReadWindow(const std::string& word, const DriverScope& scope, HWND& value, std::string& error);
// Bytes as hexadecimal digits, two a byte ("424d" is "BM").
bool ReadBytes(const std::string& word, Bytes& value, std::string& error);
bool ReadElement(const std::string& word, const DriverScope& scope, AutomationObject& value, std::string& error);

// Results and out-values as JSON.
Json ToJson(bool value);
Json ToJson(int value);
Json ToJson(double value);
Json ToJson(const std::string& ansiText);
Json ToJson(HWND window);
Json ToJson(const AutomationObject& object);   // null when empty
Json ToJson(const Bytes& bytes);               // lower-case hex
template <class T>
Json ToJson(const std::vector<T>& list) {
    Json array = Json::array();
    for (const T& item : list) array.push_back(ToJson(item));
    return array;
}

template <class T>
struct Parameter;

struct GivenParameter {
    static constexpr ParameterRole role = ParameterRole::In;
    Json Answer() const { return nullptr; }
};
struct SuppliedParameter {
    static constexpr ParameterRole role = ParameterRole::Out;
    bool Take(const std::string&, const DriverScope&, std::string&) { return true; }
};

template <>
struct Parameter<std::string_view> : GivenParameter {
    std::string text;
    bool Take(const std::string& word, const DriverScope&, std::string&) { text = Utf8ToAnsi(word); return true; }
    std::string_view Pass() { return text; }
};
template <>
struct Parameter<const std::string&> : Parameter<std::string_view> {
    const std::string& Pass() { return text; }
};
template <>
struct Parameter<int> : GivenParameter {
    int value = 0;
    bool Take(const std::string& word, const DriverScope&, std::string& error) { return ReadInteger(word, value, error); }
    int Pass() { return value; }
};
template <>
struct Parameter<double> : GivenParameter {
    double value = 0;
    bool Take(const std::string& word, const DriverScope&, std::string& error) { return ReadDouble(word, value, error); }
    double Pass() { return value; }
};
template <>
struct Parameter<bool> : GivenParameter {
    bool value = false;
    bool Take(const std::string& word, const DriverScope&, std::string& error) { return ReadBool(word, value, error); }
    bool Pass() { return value; }
};
template <>
struct Parameter<HWND> : GivenParameter {
    HWND value = nullptr;
    bool Take(const std::string& word, const DriverScope& scope, std::string& error) {
        return ReadWindow(word, scope, value, error);
    }
    HWND Pass() { return value; }
};
template <>
struct Parameter<const AutomationObject&> : GivenParameter {
    AutomationObject value;
    bool Take(const std::string& word, const DriverScope& scope, std::string& error) {
        return ReadElement(word, scope, value, error);
    }
    const AutomationObject& Pass() { return value; }
};
template <>
struct Parameter<const Bytes&> : GivenParameter {
    Bytes value;
    bool Take(const std::string& word, const DriverScope&, std::string& error) { return ReadBytes(word, value, error); }
    const Bytes& Pass() { return value; }
};
template <>
struct Parameter<int&> : Parameter<int> {
    static constexpr ParameterRole role = ParameterRole::InOut;
    int& Pass() { return value; }
    Json Answer() const { return ToJson(value); }
};
template <>
struct Parameter<std::string&> : Parameter<std::string_view> {
    static constexpr ParameterRole role = ParameterRole::InOut;
    std::string& Pass() { return text; }
    Json Answer() const { return ToJson(text); }
};
template <>
struct Parameter<AutomationObject&> : Parameter<const AutomationObject&> {
    static constexpr ParameterRole role = ParameterRole::InOut;
    AutomationObject& Pass() { return value; }
    Json Answer() const { return ToJson(value); }
};
template <class T>
struct Parameter<T*> : SuppliedParameter {
    T value{};
    T* Pass() { return &value; }
    Json Answer() const { return ToJson(value); }
};
template <class T>
struct Parameter<std::vector<T>&> : SuppliedParameter {
    std::vector<T> value;
    std::vector<T>& Pass() { return value; }
    Json Answer() const { return ToJson(value); }
};

}  // namespace corvalin::page_driver
