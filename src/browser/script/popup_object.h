// window.createPopup(): a borderless window of its own with a document of its
// own, shown at a point of the screen until hidden or until the page goes.
#pragma once
#include <windows.h>

#include "base/unique.h"
#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser {

class PopupObject final : public om::DispatchObject {
public:
    // `owner` is the window the popup belongs to: the page's rendering
    // window, whose client area anchored positions are measured in.
    explicit PopupObject(HWND owner);
    ~PopupObject() override;
    void Hide();
    HWND Window() const { return window_.get(); }
    dom::Document& Content() const { return *document_; }

protected:
    const om::MemberTable& Members() const override;

private:
    HRESULT GetDocument(om::Invocation& call);
    HRESULT GetIsOpen(om::Invocation& call);
    HRESULT Show(om::Invocation& call);
    HRESULT HideMember(om::Invocation& call);
    static LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    dom::Ref<dom::Document> document_;
    om::ComPtr<IDispatch> documentObject_;
    UniqueWindow window_;
};

}  // namespace corvalin::browser
