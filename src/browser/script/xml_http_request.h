// XMLHttpRequest over the same WinINet session as the page loads, so it
// carries the page's cookies. Synchronous requests block the calling script;
// asynchronous ones run on a worker thread and report on the UI thread.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browser/net/http_client.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser {

class WindowHost;

class XmlHttpRequest final : public om::DispatchObject {
public:
    // `page` turns null when the page closes.
    explicit XmlHttpRequest(std::shared_ptr<WindowHost*> page) : page_(std::move(page)) {}
    // The answer of an exchange started by send().
    void Complete(const HttpResponse& response);
    // The exchange under way; open and abort start a new one, so an answer
    // to an older one is dropped.
    unsigned Exchange() const { return exchange_; }
    long ReadyState() const { return readyState_; }

protected:
    const om::MemberTable& Members() const override;

private:
    HRESULT Open(om::Invocation& call);
    HRESULT SetRequestHeader(om::Invocation& call);
    HRESULT Send(om::Invocation& call);
    HRESULT Abort(om::Invocation& call);
    HRESULT GetResponseHeader(om::Invocation& call);
    HRESULT GetAllResponseHeaders(om::Invocation& call);
    HRESULT GetReadyState(om::Invocation& call);
    HRESULT GetStatus(om::Invocation& call);
    HRESULT GetStatusText(om::Invocation& call);
    HRESULT GetResponseText(om::Invocation& call);
    HRESULT GetResponseXml(om::Invocation& call);
    HRESULT GetHandler(om::Invocation& call);
    HRESULT PutHandler(om::Invocation& call);
    void ChangeState(long state);
    WindowHost* CurrentPage() const { return page_ ? *page_ : nullptr; }

    std::shared_ptr<WindowHost*> page_;
    HttpRequest request_;
    bool async_ = true;
    long readyState_ = 0;
    unsigned exchange_ = 0;     // bumped by open and abort; stale answers are ignored
    int status_ = 0;
    std::wstring statusText_;
    std::string rawHeaders_;
    HttpResponse headersOnly_;
    std::wstring responseText_;
    om::ComPtr<IDispatch> onreadystatechange_;
};

// window.XMLHttpRequest: `new XMLHttpRequest()` arrives here as a construct call.
class XmlHttpRequestConstructor final : public om::DispatchObject {
public:
    explicit XmlHttpRequestConstructor(std::shared_ptr<WindowHost*> page) : page_(std::move(page)) {}

protected:
    const om::MemberTable& Members() const override;
    HRESULT InvokeValue(om::Invocation& call) override;

private:
    std::shared_ptr<WindowHost*> page_;
};

}  // namespace corvalin::browser
