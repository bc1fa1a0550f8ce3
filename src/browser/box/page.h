// One loaded document with everything that lives and dies with it: its window
// object, script engines, timers, pending requests. A navigation makes a new
// Page and the box retires the old one.
#pragma once
#include <functional>
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "browser/browser_box.h"
#include "browser/dom/document.h"
#include "browser/dom/document_host.h"
#include "browser/net/http_client.h"
#include "browser/om/document_object_host.h"
#include "browser/script/script_host.h"
#include "browser/script/window_host.h"

namespace corvalin::browser {

class BrowserBoxEngine;
class WindowObject;
class LocationObject;
class XmlHttpRequest;

// What arrived for a navigation, ready to become a document.
struct PageSource {
    std::wstring url;           // the final address, after redirects
    std::wstring markup;        // decoded text
    std::wstring charset;       // as document.charset reports it
    unsigned codePage = 0;
    std::uint64_t fileSize = 0;
    int httpStatus = 0;
};

class Page final : public dom::DocumentHost, public om::DocumentObjectHost, public WindowHost {
public:
    // The page of a navigation, or (with a parent) the page inside one of the
    // parent's frames: its own window, scripts and timers.
    Page(BrowserBoxEngine& box, unsigned serial, Page* parent = nullptr);
    ~Page() override;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    unsigned Serial() const { return serial_; }
    // Shared with objects that may outlive the page; null once it closed.
    std::shared_ptr<WindowHost*> Link() const override { return link_; }
    BrowserBoxEngine& Box() const { return box_; }

    // Parses the source into a new document; scripts run in StartLoad.
    void Build(const PageSource& source);
    // Runs the load's scripts in document order, then onload.
    void StartLoad();
    bool Loaded() const { return loaded_; }
    // Ends scripts, timers and requests; the document stays readable.
    void Close();
    // True while a script of this page or its frames is on the stack (it must
    // not be freed).
    bool Busy() const;

    // Frames: the page around this one (null at the top), the topmost page,
    // and the pages of this page's frames in document order (null while one
    // is still loading).
    Page* Parent() const { return parent_; }
    Page& Top() { return parent_ ? parent_->Top() : *this; }
    std::size_t FrameCount() const override { return frames_.size(); }
    Page* FramePage(std::size_t index) const;
    Page* FramePageNamed(std::wstring_view name) const;
    // The same, as the window objects see them.
    WindowHost* ParentWindow() override { return parent_; }
    WindowHost& TopWindow() override { return Top(); }
    WindowHost* FrameWindow(std::size_t index) const override { return FramePage(index); }
    WindowHost* FrameWindowNamed(std::wstring_view name) const override { return FramePageNamed(name); }
    // This page or a page inside it, by serial.
    Page* FindPage(unsigned serial);

    dom::Document* Document() const override { return document_.get(); }
    Microsoft::WRL::ComPtr<IDispatch> DocumentDispatch() const override { return documentObject_; }
    const std::wstring& Url() const override { return url_; }
    unsigned CodePage() const { return codePage_; }
    int HttpStatus() const { return httpStatus_; }
    ScriptHost* Scripts() const override { return scripts_.get(); }

    // Script entry points of the window object.
    bool RunScript(const std::wstring& code, ScriptLanguage language, VARIANT* result = nullptr) override;
    long SetTimer(IDispatch* function, const std::wstring& code, ScriptLanguage language, UINT delay, bool repeat) override;
    void ClearTimer(long id) override;
    // False when the timer is no timer of this page or its frames.
    bool OnTimer(UINT_PTR id);
    // Loads an address relative to this document (links, location, forms).
    void NavigateFrom(const std::wstring& url) override;
    void NavigateWith(HttpRequest request);
    void Reload() override;
    DialogAnswer ShowDialog(const DialogRequest& request) override;
    IDispatch* CurrentEvent() const override { return currentEvent_.Get(); }
    const std::wstring& Status() const override { return status_; }
    void SetStatus(std::wstring status) override { status_ = std::move(status); }
    ScriptLanguage DefaultLanguage() const override { return defaultLanguage_; }
    void CallFunction(IDispatch* function, IDispatch* self) override;
    HWND PopupOwner() const override;

    // Asynchronous XMLHttpRequest exchanges: the page keeps the object alive
    // until its answer is delivered (or the page closes).
    void StartRequest(XmlHttpRequest* request, unsigned exchange, HttpRequest http) override;
    // Web pages fetch over http and https; a page from a local file also
    // reads the files beside it.
    bool MayFetch(const std::wstring& url) const override;

    // dom::DocumentHost
    bool RunEventHandler(dom::Element& element, dom::Event& event, const dom::EventHandler& handler) override;
    void Navigate(const std::wstring& url, const std::wstring& target) override;
    void SubmitForm(dom::Element& form, const dom::FormSubmission& submission) override;
    std::optional<std::wstring> ChooseFile(dom::Element& input) override;
    std::wstring Cookie() override;
    void SetCookie(const std::wstring& cookie) override;

    // om::DocumentObjectHost
    Microsoft::WRL::ComPtr<IDispatch> WindowObject() override;
    Microsoft::WRL::ComPtr<IDispatch> LocationObject() override;

    // Runs window.onload (assigned from script) and the body's onload.
    void FireLoad();

    // Fetches the images the layout asked for (the page's load waits for
    // those of the first layout), and style sheets of <link> elements.
    void FetchImages();
    void ViewChanged() override;

private:
    struct Timer {
        Microsoft::WRL::ComPtr<IDispatch> function;
        std::wstring code;
        ScriptLanguage language = ScriptLanguage::JScript;
        bool repeat = false;
        UINT delay = USER_TIMER_MINIMUM;
        ULONGLONG due = 0;   // GetTickCount64 time of its next run
    };
    // The page's timers share one native timer, armed for the earliest due:
    // setting one up is a table insert, however many the page has.
    void ArmTimer();
    void RunDueTimers();
    // Handler and timer texts compiled once per page and language.
    Microsoft::WRL::ComPtr<IDispatch> Compiled(const std::wstring& code, ScriptLanguage language);
    // The next script of the load not yet run, in document order.
    dom::Element* NextScript();
    void RunNextScripts();
    void RunScriptElement(dom::Element& script, const std::wstring& text);
    // Frames load after the page's scripts and before its onload, three
    // levels deep, each as a page of its own that runs its scripts.
    void LoadFrames();
    void FrameArrived(std::size_t index, std::unique_ptr<Page> page);
    void FrameLoaded();
    void FinishLoad();

    BrowserBoxEngine& box_;
    unsigned serial_;
    Page* parent_;
    struct Frame {
        dom::Ref<dom::Element> element;
        std::unique_ptr<Page> page;
    };
    std::vector<Frame> frames_;
    std::shared_ptr<WindowHost*> link_;
    dom::Ref<dom::Document> document_;
    Microsoft::WRL::ComPtr<IDispatch> documentObject_;
    Microsoft::WRL::ComPtr<browser::WindowObject> window_;
    Microsoft::WRL::ComPtr<browser::LocationObject> location_;
    std::unique_ptr<ScriptHost> scripts_;
    std::wstring url_;
    unsigned codePage_ = 936;
    int httpStatus_ = 0;
    std::wstring status_;
    ScriptLanguage defaultLanguage_ = ScriptLanguage::JScript;
    bool languageChosen_ = false;

    std::set<dom::Element*> ranScripts_;
    std::vector<dom::Ref<dom::Element>> ranScriptRefs_;   // keeps the set's pointers meaningful
    dom::Ref<dom::Element> lastScript_;
    bool waitingForScript_ = false;
    int pendingFrames_ = 0;
    bool framesStarted_ = false;
    bool loaded_ = false;
    bool closed_ = false;
    int depth_ = 0;

    std::unordered_map<long, Timer> timers_;
    std::set<std::pair<ULONGLONG, long>> schedule_;   // (due, id): runs in due order, then set order
    UINT_PTR nativeTimer_ = 0;
    ULONGLONG armedFor_ = 0;   // the due time the native timer is set for; 0: not set
    bool runningTimers_ = false;
    std::map<std::pair<ScriptLanguage, std::wstring>, Microsoft::WRL::ComPtr<IDispatch>> compiled_;
    std::map<unsigned, Microsoft::WRL::ComPtr<XmlHttpRequest>> requests_;
    // Elements waiting for a download (external scripts, frames). Tasks name
    // them by number: a task dropped on a worker thread must not release a node.
    std::map<unsigned, dom::Ref<dom::Element>> waiting_;
    unsigned Park(dom::Element* element);
    dom::Ref<dom::Element> Unpark(unsigned id);
    unsigned nextRequest_ = 1;
    Microsoft::WRL::ComPtr<IDispatch> currentEvent_;

    void FetchStyleSheets();
    // A GET of `url` with this page as the referrer.
    HttpRequest RequestFor(const std::wstring& url) const;
    // Sends `request` off the UI thread; `arrived` runs on the UI thread with
    // the answer while the page that asked (a frame's too) is still open.
    void FetchInBackground(HttpRequest request, std::function<void(Page&, const HttpResponse&)> arrived);
    void ResourceArrived();
    int pendingResources_ = 0;
    bool resourcesStarted_ = false;
    bool viewCheckScheduled_ = false;

    friend class ScriptDepth;
};

// Counts a page's script activity for the scope.
class ScriptDepth {
public:
    explicit ScriptDepth(Page& page) : page_(page) { ++page_.depth_; }
    ~ScriptDepth() { --page_.depth_; }
    ScriptDepth(const ScriptDepth&) = delete;
    ScriptDepth& operator=(const ScriptDepth&) = delete;

private:
    Page& page_;
};

}  // namespace corvalin::browser
