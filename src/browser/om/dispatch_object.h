// The base of every object the page's scripts and the automation layer reach:
// IDispatchEx over a table of members (name → getter, setter, method) matched
// without regard to case, with DISPIDs that stay the same for a name, and
// expandos kept per object.
//
// A derived class lists its members once:
//
//   const MemberTable& Location::Members() const {
//       static const MemberTable table{{
//           {L"href", &Bind<Location, &Location::GetHref>, &Bind<Location, &Location::PutHref>},
//           {L"reload", nullptr, nullptr, &Bind<Location, &Location::Reload>},
//       }};
//       return table;
//   }
//
// and each member function reads its arguments from and answers through the
// Invocation: `HRESULT Location::GetHref(Invocation& call) { return call.ReturnText(href_); }`.
#pragma once
#include <windows.h>
#include <dispex.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvalin::browser::om {

// A member name that is a collection index ("12" → 12); anything else → -1.
long IndexName(std::wstring_view name);

using Microsoft::WRL::ComPtr;

// One call: its kind, its arguments in the order the caller wrote them, and
// the place for the result.
class Invocation {
public:
    Invocation(WORD flags, DISPPARAMS* params, VARIANT* result);

    WORD Flags() const { return flags_; }
    bool IsPut() const { return (flags_ & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
    bool IsMethod() const { return (flags_ & DISPATCH_METHOD) != 0; }
    bool IsGet() const { return (flags_ & DISPATCH_PROPERTYGET) != 0; }
    bool IsConstruct() const { return (flags_ & DISPATCH_CONSTRUCT) != 0; }

    // Positional arguments (a put's value is not among them).
    std::size_t Count() const { return count_; }
    bool Has(std::size_t i) const;                 // present and not VT_EMPTY/VT_ERROR (missing)
    const VARIANT& Arg(std::size_t i) const;       // VT_EMPTY when absent
    std::wstring Text(std::size_t i, std::wstring_view fallback = {}) const;
    double Number(std::size_t i, double fallback = 0) const;
    long Integer(std::size_t i, long fallback = 0) const;
    bool Bool(std::size_t i, bool fallback = false) const;
    IDispatch* Object(std::size_t i) const;        // not AddRef'ed; nullptr when not an object
    bool IsNumberArg(std::size_t i) const;         // numeric type, or text that reads as an integer

    // The value of a property write.
    const VARIANT& Value() const { return value_ ? *value_ : empty_; }
    std::wstring ValueText() const;
    double ValueNumber() const;
    bool ValueBool() const;

    // Results (each returns S_OK; without a result place they do nothing).
    HRESULT ReturnEmpty();
    HRESULT ReturnNull();
    HRESULT ReturnText(std::wstring_view text);
    // The null string: a VT_BSTR every reader takes as "", made without
    // allocating (what that browser answers for an attribute never set).
    HRESULT ReturnNullText();
    HRESULT ReturnInteger(long value);
    HRESULT ReturnNumber(double value);
    HRESULT ReturnBool(bool value);                 // VT_BOOL, -1 / 0
    HRESULT ReturnObject(IDispatch* object);        // AddRef'ed into the result; VT_NULL for nullptr
    HRESULT ReturnVariant(const VARIANT& value);    // copied
    VARIANT* Result() const { return result_; }

    // Converting any variant.
    static std::wstring ToText(const VARIANT& value);
    static double ToNumber(const VARIANT& value);
    static bool ToBool(const VARIANT& value);

private:
    WORD flags_;
    // Positional argument i, read in place from the caller's list.
    const VARIANT& At(std::size_t i) const;

    DISPPARAMS* params_ = nullptr;
    std::size_t count_ = 0;
    const VARIANT* value_ = nullptr;
    VARIANT* result_;
    VARIANT empty_{};
};

class DispatchObject;
using MemberFunction = HRESULT (*)(DispatchObject& self, Invocation& call);

// Adapts a member function `HRESULT T::F(Invocation&)` to a table entry.
template <class T, HRESULT (T::*F)(Invocation&)>
HRESULT Bind(DispatchObject& self, Invocation& call) {
    return (static_cast<T&>(self).*F)(call);
}

struct Member {
    const wchar_t* name;
    MemberFunction get = nullptr;    // property read (may take arguments)
    MemberFunction put = nullptr;    // property write
    MemberFunction call = nullptr;   // method call
};

// Hashing and equality of member names without regard to ASCII case (also
// for lookups of a view into maps keyed by std::wstring).
struct MemberNameHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view name) const noexcept;
};
struct MemberNameEqual {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const noexcept;
};

// Members by name (case-insensitive) and by DISPID. A table may extend a base
// table; a member of the same name in the derived table wins. Lookups neither
// allocate nor lock: a table is immutable once built.
class MemberTable {
public:
    MemberTable(std::initializer_list<Member> members, const MemberTable* base = nullptr);
    const Member* Find(std::wstring_view name, DISPID* id) const;
    const Member* Find(DISPID id) const;
    // Names in table order (base first), for enumeration.
    const std::vector<std::pair<DISPID, const Member*>>& Ordered() const { return ordered_; }

private:
    // Indexed by DISPID less the first member id: Invoke finds its member
    // without hashing.
    std::vector<const Member*> byId_;
    // Open addressing over a power of two, at most half full: a name lookup
    // (one per late-bound call) is a hash, a mask and usually one comparison.
    // Slots view the members' own (static) names.
    struct Slot {
        std::wstring_view name;
        DISPID id = DISPID_UNKNOWN;
        const Member* member = nullptr;
    };
    std::vector<Slot> byName_;
    std::size_t nameMask_ = 0;
    std::vector<std::pair<DISPID, const Member*>> ordered_;
    std::vector<Member> own_;
};

// The DISPID a member name has in every table (same name, any case → same id).
DISPID MemberDispId(std::wstring_view name);

class DispatchObject : public IDispatchEx {
public:
    DispatchObject();
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IDispatchEx
    HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD flags, DISPID* id) override;
    HRESULT STDMETHODCALLTYPE InvokeEx(DISPID id, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                       EXCEPINFO* exception, IServiceProvider* caller) override;
    HRESULT STDMETHODCALLTYPE DeleteMemberByName(BSTR name, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE DeleteMemberByDispID(DISPID id) override;
    HRESULT STDMETHODCALLTYPE GetMemberProperties(DISPID id, DWORD fetch, DWORD* properties) override;
    HRESULT STDMETHODCALLTYPE GetMemberName(DISPID id, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD flags, DISPID id, DISPID* next) override;
    HRESULT STDMETHODCALLTYPE GetNameSpaceParent(IUnknown** parent) override;

    // Calls a member by name as the automation layer would (tests, the host).
    HRESULT InvokeByName(std::wstring_view name, WORD flags, DISPPARAMS* params, VARIANT* result);

    // Binding objects someone holds right now (for leak checks). An object
    // resting on its node (see Rest) is not counted: it goes with the node.
    static std::size_t LiveCount();

protected:
    virtual ~DispatchObject();

    // The last reference went: frees the object, unless a derived class
    // keeps it resting instead.
    virtual void LastReferenceGone() { delete this; }
    // Marks the object as kept with no reference; the next AddRef wakes it
    // (Woken) before counting.
    void Rest();
    virtual void Woken() {}
    // Nothing was added to the object by name (no expando, no name looked up
    // beyond its table, no method replaced): it is as a fresh one would be.
    bool IsPristine() const { return !dynamic_ || dynamic_->names.empty(); }

    virtual const MemberTable& Members() const = 0;
    // Another interface the object answers (besides IUnknown, IDispatch, IDispatchEx).
    virtual void* QueryExtraInterface(REFIID /*riid*/) { return nullptr; }
    // DISPID_VALUE: a call with an index or name, `new X()`, conversion to a value.
    virtual HRESULT InvokeValue(Invocation& /*call*/) { return DISP_E_MEMBERNOTFOUND; }
    // Names the object answers beyond its table (collection indices and named
    // items, an element's attributes). Tried before expandos.
    virtual bool HasDynamicMember(std::wstring_view /*name*/) const { return false; }
    virtual HRESULT InvokeDynamic(std::wstring_view /*name*/, Invocation& /*call*/) {
        return DISP_E_MEMBERNOTFOUND;
    }

    // Expandos set by script (or by the object itself).
    bool GetExpando(std::wstring_view name, VARIANT* value) const;
    // The name an expando was made with (its case), empty when there is none.
    std::wstring_view ExpandoName(std::wstring_view name) const;
    void SetExpando(std::wstring_view name, const VARIANT& value);

private:
    struct DynamicName {
        std::wstring name;
        VARIANT value{};      // VT_EMPTY until set
        bool deleted = false;
    };
    DISPID DynamicId(std::wstring_view name, bool create);
    HRESULT InvokeMember(const Member& member, DISPID id, Invocation& call);
    HRESULT InvokeDynamicId(std::size_t index, Invocation& call);

    // Names added to the object; made on the first one, so the many objects
    // that never get one stay small and quick to make.
    struct DynamicMembers {
        std::vector<DynamicName> names;
        std::unordered_map<std::wstring, std::size_t, MemberNameHash, MemberNameEqual> index;   // any case
        std::unordered_map<DISPID, std::size_t> replaced;   // built-in method → the dynamic name replacing it
    };
    std::size_t DynamicCount() const { return dynamic_ ? dynamic_->names.size() : 0; }

    ULONG refCount_ = 1;
    bool resting_ = false;
    std::unique_ptr<DynamicMembers> dynamic_;
};

// Our own object behind an interface pointer; nullptr for anyone else's
// (script objects, the engine's foreign objects).
DispatchObject* AsDispatchObject(IUnknown* object);

// Creates a T (a DispatchObject) with one reference owned by the result.
// (mingw's ComPtr::Attach adds a reference, so the new object's own first
// reference is dropped here instead.)
template <class T, class... Args>
ComPtr<T> MakeDispatch(Args&&... args) {
    T* created = new T(std::forward<Args>(args)...);
    ComPtr<T> p(created);
    created->Release();
    return p;
}

// Calls a script function (or any IDispatch's default member) with `self` as
// `this` and the call's arguments, under the script watchdog.
HRESULT CallWithThis(IDispatch* function, IDispatch* self, Invocation& call);

// Calling into any IDispatch by name (tests, the host's glue). Missing names
// and failures come back as the HRESULT; `result` may be null.
HRESULT CallByName(IDispatch* object, std::wstring_view name, WORD flags, std::initializer_list<VARIANT> args,
                   VARIANT* result);

}  // namespace corvalin::browser::om
