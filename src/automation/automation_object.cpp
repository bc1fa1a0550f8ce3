#include "automation/automation_object.h"

#include <oleauto.h>

#include <algorithm>
#include <vector>

#include "base/text.h"

namespace corvalin {

using Microsoft::WRL::ComPtr;

namespace {

// The platform declares the source of a copy or conversion without const,
// though it only reads it.
VARIANT* Source(const VARIANT& value) { return const_cast<VARIANT*>(&value); }

// A member name as UTF-16. Names are ASCII and short, so they are widened on
// the stack; anything else goes through the code page.
class MemberName {
public:
    explicit MemberName(const char* name) {
        std::size_t i = 0;
        for (; name[i] && i + 1 < kInline; ++i) {
            if (static_cast<unsigned char>(name[i]) >= 0x80) break;
            inline_[i] = static_cast<wchar_t>(name[i]);
        }
        if (name[i]) {
            converted_ = ToWide(name);
        } else {
            inline_[i] = L'\0';
        }
    }
    wchar_t* get() { return converted_.empty() ? inline_ : converted_.data(); }

private:
    static constexpr std::size_t kInline = 64;
    wchar_t inline_[kInline];
    std::wstring converted_;
};

}  // namespace

// ---- AutomationVariant ----

AutomationVariant::AutomationVariant() { VariantInit(&value_); }

AutomationVariant::AutomationVariant(const AutomationVariant& other) {
    VariantInit(&value_);
    VariantCopy(&value_, Source(other.value_));
}

AutomationVariant::AutomationVariant(AutomationVariant&& other) noexcept {
    value_ = other.value_;
    VariantInit(&other.value_);
}

AutomationVariant& AutomationVariant::operator=(AutomationVariant other) noexcept {
    std::swap(value_, other.value_);
    return *this;
}

AutomationVariant::~AutomationVariant() { VariantClear(&value_); }

void AutomationVariant::Clear() { VariantClear(&value_); }

double AutomationVariant::ToNumber() const { return VariantToNumber(value_); }

VARIANT* AutomationVariant::Receive() {
    VariantClear(&value_);
    return &value_;
}

// ---- AutomationArgument ----

AutomationArgument::AutomationArgument(const char* text) : AutomationArgument(std::string_view(text ? text : "")) {}

AutomationArgument::AutomationArgument(const std::string& text) : AutomationArgument(std::string_view(text)) {}

AutomationArgument::AutomationArgument(std::string_view text) {
    VariantInit(&value_);
    const std::wstring wide = ToWide(text);
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

AutomationArgument::AutomationArgument(int value) {
    VariantInit(&value_);
    value_.vt = VT_I4;
    value_.lVal = value;
}

AutomationArgument::AutomationArgument(double value) {
    VariantInit(&value_);
    value_.vt = VT_R8;
    value_.dblVal = value;
}

AutomationArgument::AutomationArgument(bool value) {
    VariantInit(&value_);
    value_.vt = VT_BOOL;
    value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

AutomationArgument::AutomationArgument(const AutomationObject& object) {
    VariantInit(&value_);
    value_.vt = VT_DISPATCH;
    value_.pdispVal = object.get();
    if (value_.pdispVal) value_.pdispVal->AddRef();
}

AutomationArgument::AutomationArgument(const AutomationVariant& value) {
    VariantInit(&value_);
    VariantCopy(&value_, Source(value.value()));
}

AutomationArgument::~AutomationArgument() { VariantClear(&value_); }

// ---- conversions of results ----

std::string VariantToText(const VARIANT& value) {
    // A string needs no conversion: read it in place.
    if (value.vt == VT_BSTR) return ToAnsi(std::wstring_view(value.bstrVal ? value.bstrVal : L"", SysStringLen(value.bstrVal)));
    VARIANT text;
    VariantInit(&text);
    // The platform's conversion with no flags: a boolean reads "-1" or "0".
    if (FAILED(VariantChangeType(&text, Source(value), 0, VT_BSTR))) return {};
    std::string result = ToAnsi(std::wstring_view(text.bstrVal ? text.bstrVal : L"", SysStringLen(text.bstrVal)));
    VariantClear(&text);
    return result;
}

bool VariantTextEquals(const VARIANT& value, std::string_view text) {
    // Nothing (a missing member's answer) reads as "": no conversion needed.
    if (value.vt == VT_EMPTY) return text.empty();
    if (value.vt == VT_BSTR) {
        const std::wstring_view wide(value.bstrVal ? value.bstrVal : L"", SysStringLen(value.bstrVal));
        // An ASCII character converts to itself in every ANSI code page; any
        // other (which may even turn into '?') takes the conversion.
        const bool ascii = std::all_of(wide.begin(), wide.end(), [](wchar_t c) { return c < 0x80; });
        if (ascii) {
            return wide.size() == text.size() &&
                   std::equal(wide.begin(), wide.end(), text.begin(),
                              [](wchar_t w, char c) { return w == static_cast<wchar_t>(static_cast<unsigned char>(c)); });
        }
    }
    return VariantToText(value) == text;
}

double VariantToNumber(const VARIANT& value) {
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, Source(value), 0, VT_R8))) return 0;
    return number.dblVal;
}

bool VariantToBool(const VARIANT& value) {
    VARIANT flag;
    VariantInit(&flag);
    if (FAILED(VariantChangeType(&flag, Source(value), 0, VT_BOOL))) return false;
    return flag.boolVal != VARIANT_FALSE;
}

AutomationObject VariantToObject(const VARIANT& value) {
    ComPtr<IDispatch> object;
    switch (value.vt) {
    case VT_DISPATCH:
        object = value.pdispVal;
        break;
    case VT_DISPATCH | VT_BYREF:
        if (value.ppdispVal) object = *value.ppdispVal;
        break;
    case VT_UNKNOWN:
        if (value.punkVal) value.punkVal->QueryInterface(IID_PPV_ARGS(&object));
        break;
    default:
        break;
    }
    return AutomationObject(std::move(object));
}

// ---- AutomationObject ----

bool AutomationObject::Invoke(const char* name, WORD flags, AutomationArguments args,
                              const AutomationArgument* putValue, VARIANT* result) const {
    if (!object_ || !name) return false;
    MemberName wideName(name);
    LPOLESTR names[] = {wideName.get()};
    DISPID member = DISPID_UNKNOWN;
    if (FAILED(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) return false;

    // Automation takes the arguments last to first; a written value goes first
    // and is named as the value of a property write.
    // The list holds shallow copies: the arguments keep ownership.
    constexpr std::size_t kInlineArguments = 8;
    VARIANTARG inlineList[kInlineArguments];
    std::vector<VARIANTARG> longList;
    const std::size_t count = args.size() + (putValue ? 1 : 0);
    VARIANTARG* list = inlineList;
    if (count > kInlineArguments) {
        longList.resize(count);
        list = longList.data();
    }
    std::size_t at = 0;
    if (putValue) list[at++] = putValue->value();
    for (auto it = args.rbegin(); it != args.rend(); ++it) list[at++] = it->value();
    DISPID putName = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = count == 0 ? nullptr : list;
    params.cArgs = static_cast<UINT>(count);
    if (putValue) {
        params.rgdispidNamedArgs = &putName;
        params.cNamedArgs = 1;
    }

    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT hr = object_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                                       &badArgument);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    if (FAILED(hr)) {
        if (result) VariantClear(result);
        return false;
    }
    return true;
}

namespace {

// A property read with arguments may be a method on some objects (the
// document's getElementsByTagName), so it is offered as both.
WORD ReadFlags(AutomationArguments args) {
    return args.empty() ? WORD{DISPATCH_PROPERTYGET} : WORD{DISPATCH_PROPERTYGET | DISPATCH_METHOD};
}

// A method call also reaches a property read with arguments (item and tags
// of a collection), the way late-bound callers have always asked.
constexpr WORD kCallFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

}  // namespace

std::string AutomationObject::ReadText(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, ReadFlags(args), args, nullptr, result.Receive())) return {};
    return VariantToText(result.value());
}

double AutomationObject::ReadNumber(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, ReadFlags(args), args, nullptr, result.Receive())) return 0;
    return VariantToNumber(result.value());
}

AutomationObject AutomationObject::ReadObject(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, ReadFlags(args), args, nullptr, result.Receive())) return {};
    return VariantToObject(result.value());
}

AutomationVariant AutomationObject::ReadVariant(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, ReadFlags(args), args, nullptr, result.Receive())) return {};
    return result;
}

bool AutomationObject::Write(const char* name, const AutomationArgument& value, AutomationArguments args) const {
    return Invoke(name, DISPATCH_PROPERTYPUT, args, &value, nullptr);
}

bool AutomationObject::CallBoolWith(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, kCallFlags, args, nullptr, result.Receive())) return false;
    return VariantToBool(result.value());
}

AutomationObject AutomationObject::CallObjectWith(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, kCallFlags, args, nullptr, result.Receive())) return {};
    return VariantToObject(result.value());
}

AutomationVariant AutomationObject::CallVariantWith(const char* name, AutomationArguments args) const {
    AutomationVariant result;
    if (!Invoke(name, kCallFlags, args, nullptr, result.Receive())) return {};
    return result;
}

}  // namespace corvalin
