#include "browser/script/xml_http_request.h"

#include <windows.h>

#include <cwctype>

#include "browser/script/window_host.h"
#include "browser/net/charset.h"
#include "browser/net/local_file.h"
#include "browser/net/url.h"

namespace corvalin::browser {

using om::Bind;
using om::Invocation;

const om::MemberTable& XmlHttpRequest::Members() const {
    using X = XmlHttpRequest;
    static const om::MemberTable table{{
        {L"open", nullptr, nullptr, &Bind<X, &X::Open>},
        {L"setRequestHeader", nullptr, nullptr, &Bind<X, &X::SetRequestHeader>},
        {L"send", nullptr, nullptr, &Bind<X, &X::Send>},
        {L"abort", nullptr, nullptr, &Bind<X, &X::Abort>},
        {L"getResponseHeader", nullptr, nullptr, &Bind<X, &X::GetResponseHeader>},
        {L"getAllResponseHeaders", nullptr, nullptr, &Bind<X, &X::GetAllResponseHeaders>},
        {L"readyState", &Bind<X, &X::GetReadyState>},
        {L"status", &Bind<X, &X::GetStatus>},
        {L"statusText", &Bind<X, &X::GetStatusText>},
        {L"responseText", &Bind<X, &X::GetResponseText>},
        {L"responseXML", &Bind<X, &X::GetResponseXml>},
        {L"onreadystatechange", &Bind<X, &X::GetHandler>, &Bind<X, &X::PutHandler>},
    }};
    return table;
}

void XmlHttpRequest::ChangeState(long state) {
    readyState_ = state;
    WindowHost* page = CurrentPage();
    if (!onreadystatechange_ || !page || !page->Scripts()) return;
    om::ComPtr<XmlHttpRequest> keep(this);   // the handler may drop the last script reference
    page->CallFunction(onreadystatechange_.Get(), this);
    // A handler usually refers to its request through its closure: a cycle
    // through the script engine that nothing would ever collect. Once the
    // exchange is over the handler is let go, as that browser does (a
    // request used again is given its handler again after open).
    if (state == 4) onreadystatechange_ = nullptr;
}

HRESULT XmlHttpRequest::Open(Invocation& call) {
    WindowHost* page = CurrentPage();
    if (!page || !call.Has(1)) return E_INVALIDARG;
    ++exchange_;
    request_ = HttpRequest{};
    std::wstring method = call.Text(0, L"GET");
    for (auto& c : method) c = static_cast<wchar_t>(towupper(c));
    request_.method = std::string(method.begin(), method.end());
    const std::wstring url = ResolveUrl(page->Url(), call.Text(1));
    request_.url = EncodeUrlForRequest(url);
    request_.referrer = EncodeUrlForRequest(page->Url());
    async_ = call.Has(2) ? call.Bool(2, true) : true;
    status_ = 0;
    statusText_.clear();
    rawHeaders_.clear();
    headersOnly_ = HttpResponse{};
    responseText_.clear();
    ChangeState(1);
    return call.ReturnEmpty();
}

HRESULT XmlHttpRequest::SetRequestHeader(Invocation& call) {
    if (readyState_ != 1) return E_FAIL;
    request_.headers.emplace_back(EncodeCodePage(call.Text(0), CP_UTF8), EncodeCodePage(call.Text(1), CP_UTF8));
    return call.ReturnEmpty();
}

HRESULT XmlHttpRequest::Send(Invocation& call) {
    WindowHost* page = CurrentPage();
    if (!page || readyState_ != 1) return E_FAIL;
    // Text bodies go out as UTF-8, as the platform's request object sends them.
    if (call.Has(0)) {
        const std::string body = EncodeCodePage(call.Text(0), CP_UTF8);
        request_.body.assign(body.begin(), body.end());
    }
    if (async_) {
        page->StartRequest(this, exchange_, request_);
        return call.ReturnEmpty();
    }
    Complete(page->MayFetch(ToWide(request_.url)) ? FetchAddress(request_) : HttpResponse{});
    return call.ReturnEmpty();
}

void XmlHttpRequest::Complete(const HttpResponse& response) {
    status_ = response.status;
    statusText_ = std::wstring(response.statusText.begin(), response.statusText.end());
    rawHeaders_ = response.rawHeaders;
    headersOnly_.rawHeaders = response.rawHeaders;
    const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
    unsigned codePage = CodePageOfCharset(CharsetOfContentType(response.contentType));
    if (codePage == 0) codePage = CP_UTF8;
    if (body.size() >= 3 && body.substr(0, 3) == "\xEF\xBB\xBF") {
        responseText_ = DecodeCodePage(body.substr(3), CP_UTF8);
    } else {
        responseText_ = DecodeCodePage(body, codePage);
    }
    if (async_) ChangeState(2);
    if (async_) ChangeState(3);
    ChangeState(4);
}

HRESULT XmlHttpRequest::Abort(Invocation& call) {
    ++exchange_;
    readyState_ = 0;
    return call.ReturnEmpty();
}

HRESULT XmlHttpRequest::GetResponseHeader(Invocation& call) {
    if (readyState_ < 2) return call.ReturnText(L"");
    const std::string value = headersOnly_.Header(EncodeCodePage(call.Text(0), CP_UTF8));
    return call.ReturnText(DecodeCodePage(value, CP_UTF8));
}

HRESULT XmlHttpRequest::GetAllResponseHeaders(Invocation& call) {
    if (readyState_ < 2) return call.ReturnText(L"");
    // Without the status line, as the platform's object answers.
    std::string headers = rawHeaders_;
    if (const size_t end = headers.find("\r\n"); end != std::string::npos) headers.erase(0, end + 2);
    return call.ReturnText(DecodeCodePage(headers, CP_UTF8));
}

HRESULT XmlHttpRequest::GetReadyState(Invocation& call) { return call.ReturnInteger(readyState_); }
HRESULT XmlHttpRequest::GetStatus(Invocation& call) { return call.ReturnInteger(readyState_ == 4 ? status_ : 0); }
HRESULT XmlHttpRequest::GetStatusText(Invocation& call) { return call.ReturnText(readyState_ == 4 ? statusText_ : L""); }
HRESULT XmlHttpRequest::GetResponseText(Invocation& call) { return call.ReturnText(readyState_ == 4 ? responseText_ : L""); }
HRESULT XmlHttpRequest::GetResponseXml(Invocation& call) { return call.ReturnNull(); }
HRESULT XmlHttpRequest::GetHandler(Invocation& call) {
    return onreadystatechange_ ? call.ReturnObject(onreadystatechange_.Get()) : call.ReturnNull();
}
HRESULT XmlHttpRequest::PutHandler(Invocation& call) {
    const VARIANT& value = call.Value();
    onreadystatechange_ = value.vt == VT_DISPATCH ? value.pdispVal : nullptr;
    return S_OK;
}

const om::MemberTable& XmlHttpRequestConstructor::Members() const {
    static const om::MemberTable table{{}};
    return table;
}

HRESULT XmlHttpRequestConstructor::InvokeValue(Invocation& call) {
    if (!call.IsConstruct() && !call.IsMethod()) return call.ReturnText(L"[object XMLHttpRequest]");
    return call.ReturnObject(om::MakeDispatch<XmlHttpRequest>(page_).Get());
}

}  // namespace corvalin::browser
