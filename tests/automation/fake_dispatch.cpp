#include "automation/fake_dispatch.h"

#include <oleauto.h>

#include <cstdio>

#include "base/text.h"

namespace corvalin::testing {

namespace {

// Lets a fake recognise another fake passed to it as an argument.
constexpr GUID kFakeDispatchInterface = {0x5c0e7a31, 0x2b4d, 0x4f11, {0x9a, 0x6e, 0x31, 0x0d, 0x7c, 0x52, 0x88, 0x01}};
// IHTMLDocument: a fake stands in for a document handed out by a window.
constexpr GUID kHtmlDocumentInterface = {0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

int alive = 0;

bool SameName(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

std::string DescribeVariant(const VARIANT& value) {
    char buffer[64];
    switch (value.vt) {
    case VT_EMPTY:
        return "empty";
    case VT_BSTR:
        return "\"" + ToAnsi(std::wstring_view(value.bstrVal, SysStringLen(value.bstrVal))) + "\"";
    case VT_I4:
        std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(value.lVal));
        return buffer;
    case VT_R8:
        // Doubles show a decimal point, so a test sees the argument's type.
        std::snprintf(buffer, sizeof buffer, value.dblVal == static_cast<long long>(value.dblVal) ? "%.1f" : "%g",
                      value.dblVal);
        return buffer;
    case VT_BOOL:
        return value.boolVal == VARIANT_TRUE ? "true" : value.boolVal == VARIANT_FALSE ? "false" : "bool?";
    case VT_DISPATCH: {
        FakeDispatch* fake = nullptr;
        if (value.pdispVal &&
            SUCCEEDED(value.pdispVal->QueryInterface(kFakeDispatchInterface, reinterpret_cast<void**>(&fake)))) {
            std::string label = fake->label();
            fake->Release();
            return "<" + label + ">";
        }
        return value.pdispVal ? "<object>" : "<null>";
    }
    default:
        std::snprintf(buffer, sizeof buffer, "vt%d", value.vt);
        return buffer;
    }
}

ComPtr<FakeDispatch> FakeDispatch::Create(std::string label, std::shared_ptr<CallLog> log) {
    // mingw-w64's ComPtr::Attach adds a reference, so the new object's own
    // first reference is handed over through the address instead.
    ComPtr<FakeDispatch> object;
    *object.GetAddressOf() = new FakeDispatch(std::move(label), std::move(log));
    return object;
}

FakeDispatch::FakeDispatch(std::string label, std::shared_ptr<CallLog> log)
    : label_(std::move(label)), log_(std::move(log)) {
    ++alive;
}

FakeDispatch::~FakeDispatch() {
    for (auto& member : members_) VariantClear(&member->value);
    --alive;
}

int FakeDispatch::Alive() { return alive; }

FakeDispatch::Member& FakeDispatch::MemberNamed(const std::string& name) {
    for (auto& member : members_) {
        if (SameName(member->name, name)) return *member;
    }
    auto member = std::make_unique<Member>();
    member->name = name;
    VariantInit(&member->value);
    members_.push_back(std::move(member));
    return *members_.back();
}

void FakeDispatch::SetValue(const std::string& name, const VARIANT& value) {
    Member& member = MemberNamed(name);
    VariantClear(&member.value);
    VariantCopy(&member.value, const_cast<VARIANT*>(&value));
}

void FakeDispatch::SetText(const std::string& name, const std::wstring& text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    SetValue(name, value);
    VariantClear(&value);
}

void FakeDispatch::SetNumber(const std::string& name, double number) {
    VARIANT value;
    value.vt = VT_R8;
    value.dblVal = number;
    SetValue(name, value);
}

void FakeDispatch::SetBool(const std::string& name, bool flag) {
    VARIANT value;
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    SetValue(name, value);
}

void FakeDispatch::SetObject(const std::string& name, const ComPtr<FakeDispatch>& object) {
    VARIANT value;
    value.vt = VT_DISPATCH;
    value.pdispVal = object.Get();
    SetValue(name, value);   // the copy holds its own reference
}

void FakeDispatch::SetHandler(const std::string& name, std::function<HRESULT(FakeCall&)> handler) {
    MemberNamed(name).handler = std::move(handler);
}

void FakeDispatch::SetReadOnly(const std::string& name) { MemberNamed(name).readOnly = true; }

const VARIANT* FakeDispatch::Value(const std::string& name) const {
    for (const auto& member : members_) {
        if (SameName(member->name, name)) return &member->value;
    }
    return nullptr;
}

HRESULT FakeDispatch::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kHtmlDocumentInterface || iid == kFakeDispatchInterface) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDispatch::AddRef() { return ++references_; }

ULONG FakeDispatch::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1 || !names || !ids) return E_INVALIDARG;
    const std::string name = ToAnsi(names[0]);
    for (size_t i = 0; i < members_.size(); ++i) {
        if (SameName(members_[i]->name, name)) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    }
    if (log_ && log_->enabled) log_->lines.push_back(label_ + "." + name + " unknown");
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

std::string FakeDispatch::Describe(const Member& member, WORD flags, const FakeCall& call) const {
    std::string line = label_ + "." + member.name;
    line += (flags & DISPATCH_PROPERTYPUT) ? " put" : (flags & DISPATCH_METHOD) ? " call" : " get";
    line += "(";
    for (size_t i = 0; i < call.args.size(); ++i) {
        if (i) line += ", ";
        line += DescribeVariant(call.args[i]);
    }
    return line + ")";
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT*) {
    if (id < 1 || static_cast<size_t>(id) > members_.size() || !params) return DISP_E_MEMBERNOTFOUND;
    Member& member = *members_[static_cast<size_t>(id) - 1];

    // Positional arguments arrive last to first; a written value is named.
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    if (put && (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
                params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || params->cArgs < 1)) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    FakeCall call;
    call.result = result;
    for (UINT i = params->cArgs; i > (put ? 1u : 0u); --i) call.args.push_back(params->rgvarg[i - 1]);
    if (put) call.args.push_back(params->rgvarg[0]);
    if (log_ && log_->enabled) log_->lines.push_back(Describe(member, flags, call));

    if (member.handler) {
        const HRESULT hr = member.handler(call);
        if (hr == DISP_E_EXCEPTION && exception) {
            *exception = EXCEPINFO{};
            exception->bstrDescription = SysAllocString(L"refused by the page");
            exception->bstrSource = SysAllocString(L"fake");
        }
        return hr;
    }
    if (put) {
        if (member.readOnly) return DISP_E_EXCEPTION;
        VariantClear(&member.value);
        return VariantCopy(&member.value, &params->rgvarg[0]);
    }
    if (!call.args.empty()) return DISP_E_BADPARAMCOUNT;
    if (!result) return S_OK;
    return VariantCopy(result, &member.value);
}

// ---- FakePage ----

FakePage::FakePage() : log(std::make_shared<CallLog>()) {
    document = FakeDispatch::Create("document", log);
    body = FakeDispatch::Create("body", log);
    all = FakeDispatch::Create("all", log);
    document->SetObject("body", body);
    body->SetObject("all", all);
    all->SetHandler("tags", [this](FakeCall& call) -> HRESULT {
        if (call.args.size() != 1 || call.args[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        const std::string tag = ToAnsi(call.args[0].bstrVal);
        auto elements = std::make_shared<std::vector<ComPtr<FakeDispatch>>>();
        for (const auto& [elementTag, element] : elements_) {
            if (_stricmp(elementTag.c_str(), tag.c_str()) == 0) elements->push_back(element);
        }
        ComPtr<FakeDispatch> collection = FakeDispatch::Create("tags:" + tag, log);
        collection->SetNumber("length", static_cast<double>(elements->size()));
        collection->SetHandler("item", [elements](FakeCall& item) -> HRESULT {
            if (item.args.size() != 1) return DISP_E_BADPARAMCOUNT;
            VARIANT index;
            VariantInit(&index);
            if (FAILED(VariantChangeType(&index, &item.args[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            if (index.lVal < 0 || static_cast<size_t>(index.lVal) >= elements->size()) {
                if (item.result) VariantInit(item.result);   // an index past the end answers null
                return S_OK;
            }
            if (item.result) {
                item.result->vt = VT_DISPATCH;
                item.result->pdispVal = (*elements)[static_cast<size_t>(index.lVal)].Get();
                item.result->pdispVal->AddRef();
            }
            return S_OK;
        });
        if (call.result) {
            call.result->vt = VT_DISPATCH;
            call.result->pdispVal = collection.Detach();
        }
        return S_OK;
    });
}

ComPtr<FakeDispatch> FakePage::AddElement(const std::string& label, const std::string& tagName,
                                          const std::vector<std::pair<std::string, std::wstring>>& properties) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create(label, log);
    for (const auto& [name, value] : properties) element->SetText(name, value);
    elements_.emplace_back(tagName, element);
    return element;
}

}  // namespace corvalin::testing
