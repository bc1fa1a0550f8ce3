#include "browser/om/dispatch_object.h"

#include <oleauto.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cwchar>
#include <cstring>
#include <cwctype>
#include <mutex>

#include "browser/watchdog/script_watchdog.h"

namespace corvalin::browser::om {

long IndexName(std::wstring_view name) {
    if (name.empty() || name.size() > 9) return -1;
    long v = 0;
    for (wchar_t ch : name) {
        if (ch < L'0' || ch > L'9') return -1;
        v = v * 10 + (ch - L'0');
    }
    return v;
}

namespace {

std::atomic<std::size_t> liveObjects{0};

// Answered only by our objects, with the DispatchObject itself.
constexpr GUID kDispatchObjectIid = {0x6b1c3e52, 0x8f0a, 0x4d3e, {0x9a, 0x51, 0x2c, 0x7e, 0x10, 0xd4, 0x63, 0xb8}};

// Expandos and dynamic names get ids above every table id.
constexpr DISPID kDynamicBase = 0x20000000;
constexpr DISPID kFirstMemberId = 1000;

std::wstring Lower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return out;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

const VARIANT& Deref(const VARIANT& v) {
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return *v.pvarVal;
    return v;
}

// A method read as a property: a function object that calls the method.
class BoundMethod final : public DispatchObject {
public:
    BoundMethod(DispatchObject* owner, const Member* member) : owner_(owner), member_(member) {}

protected:
    const MemberTable& Members() const override {
        static const MemberTable table{{}};
        return table;
    }
    HRESULT InvokeValue(Invocation& call) override {
        if (call.IsMethod() || call.Count() > 0) return member_->call(*owner_.Get(), call);
        return call.ReturnText(std::wstring(L"\nfunction ") + member_->name + L"() {\n    [native code]\n}\n");
    }

private:
    ComPtr<DispatchObject> owner_;
    const Member* member_;
};

}  // namespace

// ---- Invocation -------------------------------------------------------------

Invocation::Invocation(WORD flags, DISPPARAMS* params, VARIANT* result) : flags_(flags), result_(result) {
    if (result_) VariantInit(result_);
    if (!params) return;
    UINT named = params->cNamedArgs;
    UINT first = 0;
    if (IsPut() && params->cArgs > 0) {
        // The value is the argument named DISPID_PROPERTYPUT, or else the first one.
        UINT at = 0;
        for (UINT i = 0; i < named; ++i) {
            if (params->rgdispidNamedArgs && params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) at = i;
        }
        value_ = &Deref(params->rgvarg[at]);
        first = named > 0 ? named : 1;
    } else {
        first = named;
    }
    params_ = params;
    count_ = params->cArgs > first ? params->cArgs - first : 0;
}

// rgvarg holds the positional arguments last to first.
const VARIANT& Invocation::At(std::size_t i) const { return Deref(params_->rgvarg[params_->cArgs - 1 - i]); }

bool Invocation::Has(std::size_t i) const {
    if (i >= count_) return false;
    const VARIANT& v = At(i);
    return v.vt != VT_EMPTY && !(v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

const VARIANT& Invocation::Arg(std::size_t i) const { return i < count_ ? At(i) : empty_; }

std::wstring Invocation::Text(std::size_t i, std::wstring_view fallback) const {
    if (!Has(i)) return std::wstring(fallback);
    return ToText(At(i));
}

double Invocation::Number(std::size_t i, double fallback) const {
    if (!Has(i)) return fallback;
    return ToNumber(At(i));
}

long Invocation::Integer(std::size_t i, long fallback) const {
    if (!Has(i)) return fallback;
    double d = ToNumber(At(i));
    if (std::isnan(d) || d > 2147483647.0 || d < -2147483648.0) return fallback;
    return static_cast<long>(d);
}

bool Invocation::Bool(std::size_t i, bool fallback) const {
    if (!Has(i)) return fallback;
    return ToBool(At(i));
}

IDispatch* Invocation::Object(std::size_t i) const {
    if (i >= count_) return nullptr;
    const VARIANT& v = At(i);
    if (v.vt == VT_DISPATCH) return v.pdispVal;
    if (v.vt == (VT_BYREF | VT_DISPATCH) && v.ppdispVal) return *v.ppdispVal;
    return nullptr;
}

bool Invocation::IsNumberArg(std::size_t i) const {
    if (!Has(i)) return false;
    const VARIANT& v = At(i);
    switch (v.vt) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8:
    case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_DECIMAL: case VT_CY:
        return true;
    case VT_BSTR: {
        const wchar_t* s = v.bstrVal;
        if (!s || !*s) return false;
        for (; *s; ++s) {
            if (*s < L'0' || *s > L'9') return false;
        }
        return true;
    }
    default:
        return false;
    }
}

std::wstring Invocation::ValueText() const { return value_ ? ToText(*value_) : std::wstring(); }
double Invocation::ValueNumber() const { return value_ ? ToNumber(*value_) : 0; }
bool Invocation::ValueBool() const { return value_ ? ToBool(*value_) : false; }

HRESULT Invocation::ReturnEmpty() { return S_OK; }

HRESULT Invocation::ReturnNull() {
    if (result_) result_->vt = VT_NULL;
    return S_OK;
}

HRESULT Invocation::ReturnText(std::wstring_view text) {
    if (!result_) return S_OK;
    result_->vt = VT_BSTR;
    result_->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return result_->bstrVal || text.empty() ? S_OK : E_OUTOFMEMORY;
}

HRESULT Invocation::ReturnNullText() {
    if (result_) {
        result_->vt = VT_BSTR;
        result_->bstrVal = nullptr;
    }
    return S_OK;
}

HRESULT Invocation::ReturnInteger(long value) {
    if (result_) {
        result_->vt = VT_I4;
        result_->lVal = value;
    }
    return S_OK;
}

HRESULT Invocation::ReturnNumber(double value) {
    if (result_) {
        result_->vt = VT_R8;
        result_->dblVal = value;
    }
    return S_OK;
}

HRESULT Invocation::ReturnBool(bool value) {
    if (result_) {
        result_->vt = VT_BOOL;
        result_->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT Invocation::ReturnObject(IDispatch* object) {
    if (!result_) return S_OK;
    if (!object) {
        result_->vt = VT_NULL;
        return S_OK;
    }
    result_->vt = VT_DISPATCH;
    result_->pdispVal = object;
    object->AddRef();
    return S_OK;
}

HRESULT Invocation::ReturnVariant(const VARIANT& value) {
    if (!result_) return S_OK;
    return VariantCopy(result_, const_cast<VARIANT*>(&value));
}

std::wstring Invocation::ToText(const VARIANT& in) {
    const VARIANT& v = Deref(in);
    if (v.vt == VT_BSTR) return v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : std::wstring();
    if (v.vt == VT_EMPTY || v.vt == VT_NULL) return {};
    if (v.vt == VT_BOOL) return v.boolVal ? L"true" : L"false";
    VARIANT converted;
    VariantInit(&converted);
    std::wstring out;
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&v), 0, VT_BSTR)) && converted.bstrVal) {
        out.assign(converted.bstrVal, SysStringLen(converted.bstrVal));
    }
    VariantClear(&converted);
    return out;
}

double Invocation::ToNumber(const VARIANT& in) {
    const VARIANT& v = Deref(in);
    if (v.vt == VT_R8) return v.dblVal;
    if (v.vt == VT_I4) return v.lVal;
    if (v.vt == VT_BSTR) {
        if (!v.bstrVal) return 0;
        wchar_t* end = nullptr;
        double d = std::wcstod(v.bstrVal, &end);
        return end == v.bstrVal ? 0 : d;
    }
    VARIANT converted;
    VariantInit(&converted);
    double out = 0;
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&v), 0, VT_R8))) out = converted.dblVal;
    VariantClear(&converted);
    return out;
}

bool Invocation::ToBool(const VARIANT& in) {
    const VARIANT& v = Deref(in);
    switch (v.vt) {
    case VT_EMPTY: case VT_NULL: return false;
    case VT_BOOL: return v.boolVal != VARIANT_FALSE;
    case VT_BSTR: return v.bstrVal && SysStringLen(v.bstrVal) > 0;   // any text but "" is true
    case VT_DISPATCH: return v.pdispVal != nullptr;
    default: {
        double d = ToNumber(v);
        return d != 0 && !std::isnan(d);
    }
    }
}

// ---- Member tables ----------------------------------------------------------

DISPID MemberDispId(std::wstring_view name) {
    static std::mutex lock;
    static std::unordered_map<std::wstring, DISPID> ids;
    std::lock_guard<std::mutex> guard(lock);
    auto [it, added] = ids.try_emplace(Lower(name), 0);
    if (added) it->second = kFirstMemberId + static_cast<DISPID>(ids.size());
    return it->second;
}

MemberTable::MemberTable(std::initializer_list<Member> members, const MemberTable* base) : own_(members) {
    if (base) ordered_ = base->ordered_;
    for (const Member& m : own_) {
        DISPID id = MemberDispId(m.name);
        const auto found = std::find_if(ordered_.begin(), ordered_.end(), [&](const auto& entry) { return entry.first == id; });
        if (found != ordered_.end()) found->second = &m;
        else ordered_.emplace_back(id, &m);
    }
    for (const auto& [id, member] : ordered_) {
        const auto at = static_cast<std::size_t>(id - kFirstMemberId);
        if (byId_.size() <= at) byId_.resize(at + 1, nullptr);
        byId_[at] = member;
    }
    std::size_t capacity = 8;
    while (capacity < 2 * ordered_.size()) capacity *= 2;
    byName_.resize(capacity);
    nameMask_ = capacity - 1;
    for (const auto& [id, member] : ordered_) {
        const std::wstring_view name(member->name);
        std::size_t at = MemberNameHash{}(name) & nameMask_;
        while (byName_[at].member) at = (at + 1) & nameMask_;
        byName_[at] = Slot{name, id, member};
    }
}

std::size_t MemberNameHash::operator()(std::wstring_view name) const noexcept {
    // The length and four characters folded to lower case: enough to tell a
    // table's names apart, and a lookup per late-bound call stays short.
    auto folded = [&](std::size_t i) {
        wchar_t c = name[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        return static_cast<std::size_t>(c);
    };
    const std::size_t n = name.size();
    if (n == 0) return 0;
    std::size_t hash = n;
    for (std::size_t i : {std::size_t{0}, n / 3, (2 * n) / 3, n - 1}) hash = hash * 131 + folded(i);
    // Spread into the high bits and fold them down: tables mask the low ones.
    hash *= static_cast<std::size_t>(0x9E3779B97F4A7C15ull);
    return hash ^ (hash >> 29);
}

bool MemberNameEqual::operator()(std::wstring_view a, std::wstring_view b) const noexcept { return SameName(a, b); }

const Member* MemberTable::Find(std::wstring_view name, DISPID* id) const {
    for (std::size_t at = MemberNameHash{}(name) & nameMask_;; at = (at + 1) & nameMask_) {
        const Slot& slot = byName_[at];
        if (!slot.member) return nullptr;
        if (slot.name.size() == name.size() && SameName(slot.name, name)) {
            if (id) *id = slot.id;
            return slot.member;
        }
    }
}

const Member* MemberTable::Find(DISPID id) const {
    if (id < kFirstMemberId) return nullptr;
    const auto at = static_cast<std::size_t>(id - kFirstMemberId);
    return at < byId_.size() ? byId_[at] : nullptr;
}

// ---- DispatchObject ---------------------------------------------------------

DispatchObject::DispatchObject() { ++liveObjects; }

DispatchObject::~DispatchObject() {
    if (dynamic_) {
        for (auto& d : dynamic_->names) VariantClear(&d.value);
    }
    if (!resting_) --liveObjects;
}

std::size_t DispatchObject::LiveCount() { return liveObjects.load(); }

HRESULT DispatchObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == kDispatchObjectIid) {
        *object = this;
        return S_OK;   // not counted: AsDispatchObject borrows
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IDispatchEx)) {
        *object = static_cast<IDispatchEx*>(this);
    } else if (void* extra = QueryExtraInterface(riid)) {
        *object = extra;
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DispatchObject::AddRef() {
    if (resting_) {
        resting_ = false;
        ++liveObjects;
        Woken();
    }
    return ++refCount_;
}

ULONG DispatchObject::Release() {
    ULONG left = --refCount_;
    if (left == 0) LastReferenceGone();
    return left;
}

void DispatchObject::Rest() {
    resting_ = true;
    --liveObjects;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    // Only the first name is a member; the rest name arguments, which we don't take by name.
    std::wstring_view name = names[0] ? names[0] : L"";
    DISPID id = DISPID_UNKNOWN;
    if (Members().Find(name, &id)) {
        ids[0] = id;
    } else {
        id = DynamicId(name, false);
        if (id == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
        ids[0] = id;
    }
    if (count > 1) hr = DISP_E_UNKNOWNNAME;
    return hr;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* argError) {
    if (argError) *argError = 0;
    return InvokeEx(id, lcid, flags, params, result, exception, nullptr);
}

HRESULT DispatchObject::GetDispID(BSTR name, DWORD flags, DISPID* id) {
    if (!id) return E_POINTER;
    *id = DISPID_UNKNOWN;
    std::wstring_view n = name ? std::wstring_view(name, SysStringLen(name)) : std::wstring_view();
    if (Members().Find(n, id)) return S_OK;
    DISPID d = DynamicId(n, (flags & fdexNameEnsure) != 0);
    if (d == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
    *id = d;
    return S_OK;
}

DISPID DispatchObject::DynamicId(std::wstring_view name, bool create) {
    if (!dynamic_) {
        if (!create && !HasDynamicMember(name)) return DISPID_UNKNOWN;
        dynamic_ = std::make_unique<DynamicMembers>();
    }
    if (auto found = dynamic_->index.find(name); found != dynamic_->index.end()) {
        DynamicName& d = dynamic_->names[found->second];
        if (!d.deleted || create || HasDynamicMember(name)) {
            if (create) d.deleted = false;
            return kDynamicBase + static_cast<DISPID>(found->second);
        }
        return DISPID_UNKNOWN;
    }
    if (!create && !HasDynamicMember(name)) return DISPID_UNKNOWN;
    std::vector<DynamicName>& names = dynamic_->names;
    names.push_back(DynamicName{std::wstring(name)});
    dynamic_->index.emplace(std::wstring(name), names.size() - 1);
    return kDynamicBase + static_cast<DISPID>(names.size() - 1);
}

HRESULT DispatchObject::InvokeEx(DISPID id, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* exception, IServiceProvider*) {
    if (exception) std::memset(exception, 0, sizeof(*exception));
    // Hold ourselves: a member may drop the caller's last reference to us.
    ComPtr<DispatchObject> self(this);
    Invocation call(flags, params, result);
    if (id == DISPID_VALUE) return InvokeValue(call);
    if (id >= kDynamicBase && static_cast<std::size_t>(id - kDynamicBase) < DynamicCount()) {
        return InvokeDynamicId(static_cast<std::size_t>(id - kDynamicBase), call);
    }
    const Member* member = Members().Find(id);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    // A script may replace a built-in method (window.alert = f): the value it
    // put answers under that name from then on.
    if (dynamic_ && !dynamic_->replaced.empty()) {
        if (const auto replaced = dynamic_->replaced.find(id); replaced != dynamic_->replaced.end())
            return InvokeDynamicId(replaced->second, call);
    }
    if (call.IsPut() && !member->put && !member->get) {
        const auto index = static_cast<std::size_t>(DynamicId(member->name, true) - kDynamicBase);
        dynamic_->replaced[id] = index;
        return InvokeDynamicId(index, call);
    }
    return InvokeMember(*member, id, call);
}

HRESULT DispatchObject::InvokeMember(const Member& member, DISPID, Invocation& call) {
    if (call.IsPut()) {
        if (!member.put) return DISP_E_MEMBERNOTFOUND;
        return member.put(*this, call);
    }
    if (call.IsMethod() && member.call) return member.call(*this, call);
    if (member.get) {
        if (!call.IsMethod() || call.Count() == 0) return member.get(*this, call);
        // obj.prop(args): the property's value called with the arguments
        // (document.all("name") arrives this way from script).
        VARIANT value;
        VariantInit(&value);
        Invocation read(DISPATCH_PROPERTYGET, nullptr, &value);
        HRESULT hr = member.get(*this, read);
        if (FAILED(hr)) return hr;
        if (value.vt != VT_DISPATCH || !value.pdispVal) {
            VariantClear(&value);
            return DISP_E_TYPEMISMATCH;
        }
        std::vector<VARIANT> reversed;
        for (std::size_t i = call.Count(); i > 0; --i) reversed.push_back(call.Arg(i - 1));
        DISPPARAMS forwarded{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        EngineCall engineCall;   // may be a script function: under the watchdog
        engineCall.dispatch = value.pdispVal;
        engineCall.dispatchFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
        engineCall.params = &forwarded;
        engineCall.result = call.Result();
        hr = CallEngine(engineCall);
        VariantClear(&value);
        return hr;
    }
    if (member.call) {
        if (call.Count() > 0) return member.call(*this, call);
        return call.ReturnObject(MakeDispatch<BoundMethod>(this, &member).Get());
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT DispatchObject::InvokeDynamicId(std::size_t index, Invocation& call) {
    std::wstring name = dynamic_->names[index].name;   // copy: the member may add names
    HRESULT hr = InvokeDynamic(name, call);
    if (hr != DISP_E_MEMBERNOTFOUND) return hr;
    DynamicName& d = dynamic_->names[index];
    if (call.IsPut()) {
        VariantClear(&d.value);
        d.deleted = false;
        return VariantCopy(&d.value, const_cast<VARIANT*>(&call.Value()));
    }
    if (d.deleted || d.value.vt == VT_EMPTY) return DISP_E_MEMBERNOTFOUND;
    if (call.IsMethod() && d.value.vt == VT_DISPATCH && d.value.pdispVal) {
        ComPtr<IDispatch> function(d.value.pdispVal);
        return CallWithThis(function.Get(), static_cast<IDispatchEx*>(this), call);   // obj.f(): obj is `this`
    }
    return call.ReturnVariant(d.value);
}

bool DispatchObject::GetExpando(std::wstring_view name, VARIANT* value) const {
    if (!dynamic_) return false;
    for (const auto& d : dynamic_->names) {
        if (SameName(d.name, name) && !d.deleted && d.value.vt != VT_EMPTY) {
            if (value) VariantCopy(value, const_cast<VARIANT*>(&d.value));
            return true;
        }
    }
    return false;
}

std::wstring_view DispatchObject::ExpandoName(std::wstring_view name) const {
    if (!dynamic_) return {};
    for (const auto& d : dynamic_->names) {
        if (SameName(d.name, name) && !d.deleted && d.value.vt != VT_EMPTY) return d.name;
    }
    return {};
}

void DispatchObject::SetExpando(std::wstring_view name, const VARIANT& value) {
    DISPID id = DynamicId(name, true);
    DynamicName& d = dynamic_->names[static_cast<std::size_t>(id - kDynamicBase)];
    VariantClear(&d.value);
    VariantCopy(&d.value, const_cast<VARIANT*>(&value));
}

HRESULT DispatchObject::DeleteMemberByName(BSTR name, DWORD) {
    std::wstring_view n = name ? std::wstring_view(name, SysStringLen(name)) : std::wstring_view();
    if (!dynamic_) return S_FALSE;
    for (auto& d : dynamic_->names) {
        if (SameName(d.name, n)) {
            VariantClear(&d.value);
            d.deleted = true;
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT DispatchObject::DeleteMemberByDispID(DISPID id) {
    if (id < kDynamicBase || static_cast<std::size_t>(id - kDynamicBase) >= DynamicCount()) return S_FALSE;
    DynamicName& d = dynamic_->names[static_cast<std::size_t>(id - kDynamicBase)];
    VariantClear(&d.value);
    d.deleted = true;
    return S_OK;
}

HRESULT DispatchObject::GetMemberProperties(DISPID, DWORD, DWORD* properties) {
    if (properties) *properties = 0;
    return E_NOTIMPL;
}

HRESULT DispatchObject::GetMemberName(DISPID id, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (id >= kDynamicBase && static_cast<std::size_t>(id - kDynamicBase) < DynamicCount()) {
        *name = SysAllocString(dynamic_->names[static_cast<std::size_t>(id - kDynamicBase)].name.c_str());
        return S_OK;
    }
    if (const Member* m = Members().Find(id)) {
        *name = SysAllocString(m->name);
        return S_OK;
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::GetNextDispID(DWORD, DISPID id, DISPID* next) {
    if (!next) return E_POINTER;
    // for..in lists the members of the object's table, then what script added.
    std::size_t start = 0;
    if (id < kDynamicBase) {
        const auto& members = Members().Ordered();
        std::size_t at = 0;
        if (id != DISPID_STARTENUM) {
            while (at < members.size() && members[at].first != id) ++at;
            ++at;
        }
        for (; at < members.size(); ++at) {
            if (!dynamic_ || !dynamic_->replaced.count(members[at].first)) {
                *next = members[at].first;
                return S_OK;
            }
        }
    } else {
        start = static_cast<std::size_t>(id - kDynamicBase) + 1;
    }
    for (std::size_t i = start; i < DynamicCount(); ++i) {
        if (!dynamic_->names[i].deleted && dynamic_->names[i].value.vt != VT_EMPTY) {
            *next = kDynamicBase + static_cast<DISPID>(i);
            return S_OK;
        }
    }
    *next = DISPID_STARTENUM;
    return S_FALSE;
}

HRESULT DispatchObject::GetNameSpaceParent(IUnknown** parent) {
    if (parent) *parent = nullptr;
    return E_NOTIMPL;
}

HRESULT DispatchObject::InvokeByName(std::wstring_view name, WORD flags, DISPPARAMS* params, VARIANT* result) {
    BSTR b = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = GetDispID(b, 0, &id);
    SysFreeString(b);
    if (FAILED(hr)) return hr;
    return InvokeEx(id, 0, flags, params, result, nullptr, nullptr);
}

HRESULT CallWithThis(IDispatch* function, IDispatch* self, Invocation& call) {
    if (!function) return E_POINTER;
    // `this` travels as the named argument DISPID_THIS, which comes first.
    std::vector<VARIANT> ordered;
    VARIANT thisValue;
    thisValue.vt = VT_DISPATCH;
    thisValue.pdispVal = self;
    ordered.push_back(thisValue);
    for (std::size_t i = call.Count(); i > 0; --i) ordered.push_back(call.Arg(i - 1));
    DISPID thisId = DISPID_THIS;
    DISPPARAMS withThis{ordered.data(), &thisId, static_cast<UINT>(ordered.size()), 1};
    DISPPARAMS plain{ordered.data() + 1, nullptr, static_cast<UINT>(ordered.size() - 1), 0};
    ComPtr<IDispatch> keep(function);
    ComPtr<IDispatchEx> extended;
    EngineCall engineCall;
    engineCall.result = call.Result();
    if (self && SUCCEEDED(keep.As(&extended))) {
        engineCall.kind = EngineCall::Kind::InvokeEx;
        engineCall.extended = extended.Get();
        engineCall.params = &withThis;
    } else {
        engineCall.dispatch = keep.Get();
        engineCall.params = &plain;
    }
    return CallEngine(engineCall);
}

DispatchObject* AsDispatchObject(IUnknown* object) {
    if (!object) return nullptr;
    void* p = nullptr;
    if (FAILED(object->QueryInterface(kDispatchObjectIid, &p))) return nullptr;
    return static_cast<DispatchObject*>(p);
}

HRESULT CallByName(IDispatch* object, std::wstring_view name, WORD flags, std::initializer_list<VARIANT> args,
                   VARIANT* result) {
    if (result) VariantInit(result);
    if (!object) return E_POINTER;
    std::wstring n(name);
    LPOLESTR names[] = {n.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::vector<VARIANT> ordered(reversed.rbegin(), reversed.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{ordered.data(), nullptr, static_cast<UINT>(ordered.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

}  // namespace corvalin::browser::om
