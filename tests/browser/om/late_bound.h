// Late-bound calls by name, the way the page toolkit reaches the page:
// GetIDsOfNames, then Invoke with a property read, write or method call.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace corvalin::testing {

using Microsoft::WRL::ComPtr;

// An owning VARIANT.
class Var {
public:
    Var() { VariantInit(&v_); }
    Var(const wchar_t* text) : Var() {
        v_.vt = VT_BSTR;
        v_.bstrVal = SysAllocString(text);
    }
    Var(const std::wstring& text) : Var(text.c_str()) {}
    Var(double d) : Var() {
        v_.vt = VT_R8;
        v_.dblVal = d;
    }
    Var(int i) : Var() {
        v_.vt = VT_I4;
        v_.lVal = i;
    }
    static Var Bool(bool b) {
        Var v;
        v.v_.vt = VT_BOOL;
        v.v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static Var Object(IDispatch* d) {
        Var v;
        v.v_.vt = VT_DISPATCH;
        v.v_.pdispVal = d;
        if (d) d->AddRef();
        return v;
    }
    Var(const Var& o) : Var() { VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)); }
    Var& operator=(const Var& o) {
        if (this != &o) {
            VariantClear(&v_);
            VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
        }
        return *this;
    }
    ~Var() { VariantClear(&v_); }
    VARIANT* operator&() { return &v_; }
    const VARIANT& get() const { return v_; }
    VARTYPE vt() const { return v_.vt; }
    // The platform's conversion with no flags, as the toolkit reads text.
    std::wstring Text() const {
        VARIANT t;
        VariantInit(&t);
        std::wstring out;
        if (SUCCEEDED(VariantChangeType(&t, const_cast<VARIANT*>(&v_), 0, VT_BSTR)) && t.bstrVal) out = t.bstrVal;
        VariantClear(&t);
        return out;
    }
    double Number() const {
        VARIANT t;
        VariantInit(&t);
        double d = 0;
        if (SUCCEEDED(VariantChangeType(&t, const_cast<VARIANT*>(&v_), 0, VT_R8))) d = t.dblVal;
        return d;
    }
    ComPtr<IDispatch> Object() const {
        return v_.vt == VT_DISPATCH ? ComPtr<IDispatch>(v_.pdispVal) : ComPtr<IDispatch>();
    }

private:
    VARIANT v_;
};

inline HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Var> args, VARIANT* result) {
    if (!object) return E_POINTER;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->get());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                          nullptr);
}

inline Var Get(IDispatch* object, const wchar_t* name, std::vector<Var> args = {}) {
    Var r;
    Invoke(object, name, DISPATCH_PROPERTYGET, std::move(args), &r);
    return r;
}

inline Var Call(IDispatch* object, const wchar_t* name, std::vector<Var> args = {}) {
    Var r;
    Invoke(object, name, DISPATCH_METHOD, std::move(args), &r);
    return r;
}

inline bool Put(IDispatch* object, const wchar_t* name, Var value) {
    return SUCCEEDED(Invoke(object, name, DISPATCH_PROPERTYPUT, {value}, nullptr));
}

inline ComPtr<IDispatch> GetObj(IDispatch* object, const wchar_t* name, std::vector<Var> args = {}) {
    return Get(object, name, std::move(args)).Object();
}

inline ComPtr<IDispatch> CallObj(IDispatch* object, const wchar_t* name, std::vector<Var> args = {}) {
    return Call(object, name, std::move(args)).Object();
}

inline bool HasMember(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

}  // namespace corvalin::testing
