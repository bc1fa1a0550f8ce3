// The late-bound calling layer: owning references to automation objects and
// values, and calls by member name that answer with an empty result instead
// of failing.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace corvalin {

class AutomationObject;

// An owning holder of one automation value of any type.
class AutomationVariant {
public:
    AutomationVariant();
    AutomationVariant(const AutomationVariant& other);
    AutomationVariant(AutomationVariant&& other) noexcept;
    AutomationVariant& operator=(AutomationVariant other) noexcept;
    ~AutomationVariant();

    void Clear();
    // The value as a double; 0 when it cannot be converted.
    double ToNumber() const;

    bool IsEmpty() const { return value_.vt == VT_EMPTY; }
    const VARIANT& value() const { return value_; }
    // Clears the held value and hands out its storage to be filled.
    VARIANT* Receive();

private:
    VARIANT value_;
};

// One argument of a call, converted the way the page expects it: text as
// UTF-16 from the ANSI code page, integers as 32-bit integers, booleans as a
// variant boolean (true is -1).
class AutomationArgument {
public:
    AutomationArgument(const char* text);
    AutomationArgument(const std::string& text);
    AutomationArgument(std::string_view text);
    AutomationArgument(int value);
    AutomationArgument(double value);
    AutomationArgument(bool value);
    AutomationArgument(const AutomationObject& object);
    AutomationArgument(const AutomationVariant& value);
    AutomationArgument(const AutomationArgument&) = delete;
    AutomationArgument& operator=(const AutomationArgument&) = delete;
    ~AutomationArgument();

    const VARIANT& value() const { return value_; }

private:
    VARIANT value_;
};

using AutomationArguments = std::span<const AutomationArgument>;

// An owning reference to an automation object, or empty. Every call on an
// empty object, to a missing member, or that fails answers with an empty
// result: "", 0, false or an empty object or value.
class AutomationObject {
public:
    AutomationObject() = default;
    explicit AutomationObject(Microsoft::WRL::ComPtr<IDispatch> object) : object_(std::move(object)) {}

    bool IsEmpty() const { return object_ == nullptr; }
    void Clear() { object_.Reset(); }
    IDispatch* get() const { return object_.Get(); }

    template <class... Args>
    std::string GetText(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return ReadText(name, list);
    }
    template <class... Args>
    double GetNumber(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return ReadNumber(name, list);
    }
    template <class... Args>
    AutomationObject GetObject(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return ReadObject(name, list);
    }
    template <class... Args>
    AutomationVariant GetVariant(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return ReadVariant(name, list);
    }
    template <class... Args>
    bool Put(const char* name, const AutomationArgument& value, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return Write(name, value, list);
    }
    template <class... Args>
    void Call(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        CallVariantWith(name, list);
    }
    template <class... Args>
    bool CallBool(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return CallBoolWith(name, list);
    }
    template <class... Args>
    AutomationObject CallObject(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return CallObjectWith(name, list);
    }
    template <class... Args>
    AutomationVariant CallVariant(const char* name, const Args&... args) const {
        const std::array<AutomationArgument, sizeof...(Args)> list{AutomationArgument(args)...};
        return CallVariantWith(name, list);
    }

    // The same calls with an argument list built by the caller.
    std::string ReadText(const char* name, AutomationArguments args) const;
    double ReadNumber(const char* name, AutomationArguments args) const;
    AutomationObject ReadObject(const char* name, AutomationArguments args) const;
    AutomationVariant ReadVariant(const char* name, AutomationArguments args) const;
    bool Write(const char* name, const AutomationArgument& value, AutomationArguments args) const;
    bool CallBoolWith(const char* name, AutomationArguments args) const;
    AutomationObject CallObjectWith(const char* name, AutomationArguments args) const;
    AutomationVariant CallVariantWith(const char* name, AutomationArguments args) const;

private:
    // Binds `name` and invokes it; false (and an empty result) on any failure.
    bool Invoke(const char* name, WORD flags, AutomationArguments args, const AutomationArgument* putValue,
                VARIANT* result) const;

    Microsoft::WRL::ComPtr<IDispatch> object_;
};

// The text, number, boolean and object readings of a value, with the empty
// result when the platform's conversion refuses it.
std::string VariantToText(const VARIANT& value);
// Whether VariantToText(value) == text, without converting through the code
// page when the value is a string of ASCII characters.
bool VariantTextEquals(const VARIANT& value, std::string_view text);
double VariantToNumber(const VARIANT& value);
bool VariantToBool(const VARIANT& value);
AutomationObject VariantToObject(const VARIANT& value);

}  // namespace corvalin
