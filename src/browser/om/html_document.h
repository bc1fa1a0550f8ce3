// The document's object: what scripts see as `document` and what the
// rendering window hands out for "WM_HTML_GETOBJECT".
#pragma once
#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

// The browser's IHTMLDocument {626FC520-A41E-11CF-A731-00A0C9082637}: IDispatch
// and one property, the script object. Declared here rather than taken from
// <mshtml.h>, whose size would weigh on every build of the bindings.
struct DocumentInterface : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Script(IDispatch** script) = 0;
};
inline constexpr GUID kIID_IHTMLDocument = {0x626FC520, 0xA41E, 0x11CF,
                                            {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

// Answers QueryInterface only for interfaces whose whole table it implements
// (IUnknown, IDispatch, IDispatchEx, IHTMLDocument): a caller or a proxy that
// calls a claimed interface's own methods must land in them.
class HTMLDocument final : public DispatchObject, public DocumentInterface, public dom::NodeBinding {
public:
    explicit HTMLDocument(dom::Document& document);
    dom::Document& Document() const { return *document_; }

    // IUnknown and IDispatch for both tables.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return DispatchObject::QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return DispatchObject::GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return DispatchObject::GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return DispatchObject::GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override {
        return DispatchObject::Invoke(id, riid, lcid, flags, params, result, exception, argError);
    }
    // IHTMLDocument
    HRESULT STDMETHODCALLTYPE get_Script(IDispatch** script) override;

protected:
    ~HTMLDocument() override;
    const MemberTable& Members() const override;
    void* QueryExtraInterface(REFIID riid) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    dom::Ref<dom::Document> document_;
};

// document.onselectstart and the other on... properties: a write keeps the
// function as the document's handler, a read gives it back, a call runs it
// with the document as `this`.
HRESULT InvokeDocumentHandler(HTMLDocument& document, std::wstring_view name, Invocation& call);

}  // namespace corvalin::browser::om
