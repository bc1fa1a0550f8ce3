// The page's window: the global object of its scripts (alert, setTimeout,
// location, document, XMLHttpRequest...) and the document's parentWindow.
#pragma once
#include <string>
#include <vector>

#include "browser/om/dispatch_object.h"
#include "browser/script/window_host.h"

namespace corvalin::browser {


class WindowObject final : public om::DispatchObject {
public:
    explicit WindowObject(WindowHost* page);
    // The page is going away: members answer empty from now on.
    void Detach();

    // window.onload and handlers attached with attachEvent("onload").
    std::vector<om::ComPtr<IDispatch>> LoadHandlers() const;

protected:
    const om::MemberTable& Members() const override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, om::Invocation& call) override;
    HRESULT InvokeValue(om::Invocation& call) override;

private:
    // A global the page's scripts declared (var x, function f) or assigned.
    om::ComPtr<IDispatch> ScriptGlobal(std::wstring_view name, DISPID* id) const;
    HRESULT GetDocument(om::Invocation& call);
    HRESULT GetLocation(om::Invocation& call);
    HRESULT PutLocation(om::Invocation& call);
    HRESULT GetNavigator(om::Invocation& call);
    HRESULT GetScreen(om::Invocation& call);
    HRESULT GetHistory(om::Invocation& call);
    HRESULT GetEvent(om::Invocation& call);
    HRESULT GetStatus(om::Invocation& call);
    HRESULT PutStatus(om::Invocation& call);
    HRESULT GetDefaultStatus(om::Invocation& call);
    HRESULT PutDefaultStatus(om::Invocation& call);
    HRESULT GetSelf(om::Invocation& call);
    HRESULT GetParent(om::Invocation& call);
    HRESULT GetTop(om::Invocation& call);
    HRESULT GetLength(om::Invocation& call);
    HRESULT GetFrameElement(om::Invocation& call);
    // The page of a frame by index ("0") or name; null when there is none.
    WindowHost* Frame(std::wstring_view name) const;
    HRESULT GetNull(om::Invocation& call);
    HRESULT GetFalse(om::Invocation& call);
    HRESULT GetZero(om::Invocation& call);
    HRESULT GetName(om::Invocation& call);
    HRESULT PutName(om::Invocation& call);
    HRESULT GetOnload(om::Invocation& call);
    HRESULT PutOnload(om::Invocation& call);
    HRESULT GetXmlHttpRequest(om::Invocation& call);
    HRESULT SetTimeout(om::Invocation& call);
    HRESULT SetInterval(om::Invocation& call);
    HRESULT ClearTimer(om::Invocation& call);
    HRESULT Alert(om::Invocation& call);
    HRESULT Confirm(om::Invocation& call);
    HRESULT Prompt(om::Invocation& call);
    HRESULT ExecScript(om::Invocation& call);
    HRESULT Navigate(om::Invocation& call);
    HRESULT Open(om::Invocation& call);
    HRESULT AttachEvent(om::Invocation& call);
    HRESULT DetachEvent(om::Invocation& call);
    HRESULT CreatePopup(om::Invocation& call);
    HRESULT GetOption(om::Invocation& call);
    HRESULT GetImage(om::Invocation& call);
    HRESULT Nothing(om::Invocation& call);
    HRESULT ScrollTo(om::Invocation& call);
    HRESULT ScrollBy(om::Invocation& call);
    HRESULT StartTimer(om::Invocation& call, bool repeat);

    WindowHost* page_;
    std::wstring defaultStatus_;
    std::wstring name_;
    om::ComPtr<IDispatch> onload_;
    std::vector<om::ComPtr<IDispatch>> attachedLoad_;
    om::ComPtr<IDispatch> navigator_;
    om::ComPtr<IDispatch> screen_;
    om::ComPtr<IDispatch> history_;
    mutable bool askingScripts_ = false;   // a global of the engines is being looked up
    om::ComPtr<IDispatch> xhrConstructor_;
    om::ComPtr<IDispatch> optionConstructor_;
    om::ComPtr<IDispatch> imageConstructor_;
    std::vector<om::ComPtr<IDispatch>> popups_;   // hidden when the page goes
};

// window.location and document.location.
class LocationObject final : public om::DispatchObject {
public:
    explicit LocationObject(WindowHost* page) : page_(page) {}
    void Detach() { page_ = nullptr; }

protected:
    const om::MemberTable& Members() const override;
    HRESULT InvokeValue(om::Invocation& call) override;

private:
    std::wstring Href() const;
    HRESULT GetHref(om::Invocation& call);
    HRESULT PutHref(om::Invocation& call);
    HRESULT GetProtocol(om::Invocation& call);
    HRESULT GetHost(om::Invocation& call);
    HRESULT GetHostname(om::Invocation& call);
    HRESULT GetPort(om::Invocation& call);
    HRESULT GetPathname(om::Invocation& call);
    HRESULT GetSearch(om::Invocation& call);
    HRESULT PutSearch(om::Invocation& call);
    HRESULT GetHash(om::Invocation& call);
    HRESULT PutHash(om::Invocation& call);
    HRESULT Reload(om::Invocation& call);
    HRESULT Assign(om::Invocation& call);
    HRESULT ToString(om::Invocation& call);

    WindowHost* page_;
};

// window.navigator: what the page learns about the browser.
class NavigatorObject final : public om::DispatchObject {
protected:
    const om::MemberTable& Members() const override;

private:
    HRESULT GetUserAgent(om::Invocation& call);
    HRESULT GetAppName(om::Invocation& call);
    HRESULT GetAppCodeName(om::Invocation& call);
    HRESULT GetAppVersion(om::Invocation& call);
    HRESULT GetPlatform(om::Invocation& call);
    HRESULT GetLanguage(om::Invocation& call);
    HRESULT GetTrue(om::Invocation& call);
    HRESULT JavaEnabled(om::Invocation& call);
};

// window.screen: the display the box is shown on.
class ScreenObject final : public om::DispatchObject {
protected:
    const om::MemberTable& Members() const override;
};

// window.history. The box keeps no list of visited pages: one entry, and
// back, forward and go have nowhere to go.
class HistoryObject final : public om::DispatchObject {
protected:
    const om::MemberTable& Members() const override;
};

}  // namespace corvalin::browser
