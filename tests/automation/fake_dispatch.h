// An IDispatch of the tests' own: members by name (case-insensitive), a shared
// log of every call it receives, and counts of its references and of the
// fake objects alive, so a test can see which calls an operation makes, in
// which order, and that it gives back every reference it took.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvalin::testing {

using Microsoft::WRL::ComPtr;

// The calls the fakes received, one line each: "label.member kind(args)",
// kind being get, put or call.
struct CallLog {
    std::vector<std::string> lines;
    bool enabled = true;
};

// The logical arguments of a call (first to last) and a place for its result.
struct FakeCall {
    std::vector<VARIANT> args;   // not owned
    VARIANT* result = nullptr;
};

class FakeDispatch : public IDispatch {
public:
    static ComPtr<FakeDispatch> Create(std::string label, std::shared_ptr<CallLog> log);

    // A property that reads as this value (the fake keeps a copy).
    void SetValue(const std::string& name, const VARIANT& value);
    void SetText(const std::string& name, const std::wstring& text);
    void SetNumber(const std::string& name, double value);
    void SetBool(const std::string& name, bool value);
    void SetObject(const std::string& name, const ComPtr<FakeDispatch>& object);
    // A member answered by code, for reads with arguments and method calls.
    void SetHandler(const std::string& name, std::function<HRESULT(FakeCall&)> handler);
    // Reads of a value member (not a handler) with an argument list fail.
    // Writes store the value, unless the member is read-only.
    void SetReadOnly(const std::string& name);

    // The value last stored in `name` (VT_EMPTY when none).
    const VARIANT* Value(const std::string& name) const;
    const std::string& label() const { return label_; }
    ULONG references() const { return references_; }
    static int Alive();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* badArgument) override;

private:
    FakeDispatch(std::string label, std::shared_ptr<CallLog> log);
    virtual ~FakeDispatch();

    struct Member {
        std::string name;
        VARIANT value;
        std::function<HRESULT(FakeCall&)> handler;
        bool readOnly = false;
    };
    Member& MemberNamed(const std::string& name);
    std::string Describe(const Member& member, WORD flags, const FakeCall& call) const;

    std::string label_;
    std::shared_ptr<CallLog> log_;
    ULONG references_ = 1;
    std::vector<std::unique_ptr<Member>> members_;   // DISPID = index + 1
};

// Text of an argument for the log and for checks: texts in quotes, numbers
// with %g, booleans true/false, objects by label.
std::string DescribeVariant(const VARIANT& value);

// A small page: a document whose body's `all.tags(tag)` answers a fresh
// collection of the elements of that tag, in the order they were added.
class FakePage {
public:
    FakePage();
    FakePage(const FakePage&) = delete;
    FakePage& operator=(const FakePage&) = delete;
    // An element with the given properties (texts); "tagName" picks its tag.
    ComPtr<FakeDispatch> AddElement(const std::string& label, const std::string& tagName,
                                    const std::vector<std::pair<std::string, std::wstring>>& properties);

    std::shared_ptr<CallLog> log;
    ComPtr<FakeDispatch> document;
    ComPtr<FakeDispatch> body;
    ComPtr<FakeDispatch> all;

private:
    std::vector<std::pair<std::string, ComPtr<FakeDispatch>>> elements_;
};

}  // namespace corvalin::testing
