#include "browser/script/popup_object.h"

#include "browser/layout/geometry.h"
#include "browser/layout/painter.h"
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser {

using om::Bind;
using om::Invocation;

namespace {
constexpr char kPopupClass[] = "Corvalin.BrowserPopup";

bool RegisterPopupClass() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(instance, kPopupClass, &existing)) return true;
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kPopupClass;
    return RegisterClassExA(&wc) != 0;
}
}  // namespace

PopupObject::PopupObject(HWND owner) : owner_(owner), document_(dom::Document::Create(L"about:blank")) {
    document_->EnsureStructure();
    // The popup is all body: its border and background reach the window's
    // edges, as that browser draws a popup.
    if (dom::Element* head = document_->Head()) {
        dom::Ref<dom::Element> style = document_->CreateElement(L"style");
        style->AppendChild(document_->CreateTextNode(L"body { margin: 0 }"));
        head->AppendChild(style);
    }
    document_->SetReadyState(L"complete");
    documentObject_ = om::DocumentObject(*document_);
}

PopupObject::~PopupObject() = default;

const om::MemberTable& PopupObject::Members() const {
    using P = PopupObject;
    static const om::MemberTable table{{
        {L"document", &Bind<P, &P::GetDocument>},
        {L"isOpen", &Bind<P, &P::GetIsOpen>},
        {L"show", nullptr, nullptr, &Bind<P, &P::Show>},
        {L"hide", nullptr, nullptr, &Bind<P, &P::HideMember>},
    }};
    return table;
}

HRESULT PopupObject::GetDocument(Invocation& call) { return call.ReturnObject(documentObject_.Get()); }
HRESULT PopupObject::GetIsOpen(Invocation& call) {
    return call.ReturnBool(window_ && IsWindowVisible(window_.get()));
}

// show(x, y, width, height[, anchor]): x and y are screen coordinates, or
// from the anchor element's top left when one is given.
HRESULT PopupObject::Show(Invocation& call) {
    POINT origin{call.Integer(0), call.Integer(1)};
    if (IDispatch* anchor = call.Object(4)) {
        if (auto* element = dynamic_cast<om::HTMLElement*>(om::AsDispatchObject(anchor))) {
            const RECT box = layout::BoundingClientRect(element->DomElement());
            origin.x += box.left;
            origin.y += box.top;
        }
        ClientToScreen(owner_, &origin);
    }
    const int width = std::max(1L, call.Integer(2, 100));
    const int height = std::max(1L, call.Integer(3, 100));
    if (!window_) {
        if (!RegisterPopupClass()) return E_FAIL;
        window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kPopupClass, "", WS_POPUP,
                                      origin.x, origin.y, width, height, owner_, nullptr, GetModuleHandleA(nullptr),
                                      nullptr));
        if (!window_) return E_FAIL;
        SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupProc));
    }
    SetWindowPos(window_.get(), HWND_TOPMOST, origin.x, origin.y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_.get(), nullptr, TRUE);
    return call.ReturnEmpty();
}

void PopupObject::Hide() {
    if (window_) ShowWindow(window_.get(), SW_HIDE);
}

HRESULT PopupObject::HideMember(Invocation& call) {
    Hide();
    return call.ReturnEmpty();
}

LRESULT CALLBACK PopupObject::PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PopupObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_PAINT && self) {
        PaintScope paint(window);
        RECT client;
        GetClientRect(window, &client);
        dom::Document& content = self->Content();
        content.SetViewSize(client.right, client.bottom);
        layout::PaintDocument(paint.get(), content, layout::CurrentLayout(content), client);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace corvalin::browser
