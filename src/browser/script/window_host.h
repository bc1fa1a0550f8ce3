// What a page's window object, its location and its requests ask of the page
// that hosts them: the page implements it, so scripts never see the box.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <string_view>

#include "browser/dom/document.h"
#include "browser/net/http_client.h"
#include "browser/script/script_host.h"

namespace corvalin::browser {

class XmlHttpRequest;

class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual dom::Document* Document() const = 0;
    virtual Microsoft::WRL::ComPtr<IDispatch> DocumentDispatch() const = 0;
    virtual Microsoft::WRL::ComPtr<IDispatch> WindowObject() = 0;
    virtual Microsoft::WRL::ComPtr<IDispatch> LocationObject() = 0;
    virtual const std::wstring& Url() const = 0;
    virtual ScriptHost* Scripts() const = 0;
    virtual ScriptLanguage DefaultLanguage() const = 0;
    // Runs a script function with `self` as `this`, counted as the page's
    // script activity (the page is not freed under it).
    virtual void CallFunction(IDispatch* function, IDispatch* self) = 0;
    virtual bool RunScript(const std::wstring& code, ScriptLanguage language, VARIANT* result = nullptr) = 0;

    // Frames: the window around this one (null at the top), the topmost, and
    // the windows of this page's frames (null while one is still loading).
    virtual WindowHost* ParentWindow() = 0;
    virtual WindowHost& TopWindow() = 0;
    virtual std::size_t FrameCount() const = 0;
    virtual WindowHost* FrameWindow(std::size_t index) const = 0;
    virtual WindowHost* FrameWindowNamed(std::wstring_view name) const = 0;

    virtual long SetTimer(IDispatch* function, const std::wstring& code, ScriptLanguage language, UINT delay, bool repeat) = 0;
    virtual void ClearTimer(long id) = 0;

    virtual void NavigateFrom(const std::wstring& url) = 0;
    virtual void Reload() = 0;
    virtual DialogAnswer ShowDialog(const DialogRequest& request) = 0;
    virtual IDispatch* CurrentEvent() const = 0;
    virtual const std::wstring& Status() const = 0;
    virtual void SetStatus(std::wstring status) = 0;
    // The window a popup shows over.
    virtual HWND PopupOwner() const = 0;
    // An asynchronous exchange: the host keeps the request alive until its
    // answer is delivered (or the page closes).
    virtual void StartRequest(XmlHttpRequest* request, unsigned exchange, HttpRequest http) = 0;
    // Whether the page may fetch `url` at all (a web page reads no local file).
    virtual bool MayFetch(const std::wstring& url) const = 0;
    // Shared with objects that may outlive the page; null once it closed.
    virtual std::shared_ptr<WindowHost*> Link() const = 0;
};

}  // namespace corvalin::browser
