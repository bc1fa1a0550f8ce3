// The browser box: a child window that loads and shows web pages with the
// project's own page engine, and presents them the way the platform's browser
// control does, so that automation code cannot tell the two apart:
//
//   box window ("Corvalin.BrowserBox")
//     └ view window ("Shell DocObject View")
//         └ rendering window ("Internet Explorer_Server"), which answers the
//           registered message "WM_HTML_GETOBJECT" with
//           LresultFromObject of the document's IUnknown; clients ask
//           ObjectFromLresult for IHTMLDocument
//
// Create one with CreateWindowExA(0, "Corvalin.BrowserBox", startAddress,
// WS_CHILD | ..., x, y, w, h, parent, id, instance, nullptr) after
// RegisterBrowserBoxClass(); it starts loading its window text as an address.
// Everything runs on the thread that created the box (a COM single-threaded
// apartment); loads happen on worker threads and come back as messages.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/script/script_host.h"

namespace corvalin::browser {

namespace dom { class Document; }
class BrowserBoxEngine;

inline constexpr char kBrowserBoxClass[] = "Corvalin.BrowserBox";
inline constexpr char kBrowserViewClass[] = "Shell DocObject View";
inline constexpr char kRenderingWindowClass[] = "Internet Explorer_Server";

// Registers the three window classes of the box; true when they are registered
// (also when they already were).
bool RegisterBrowserBoxClass();

// alert, confirm and prompt (DialogRequest, in the script host). A handler
// answers them instead of a message box.
using DialogHandler = std::function<DialogAnswer(const DialogRequest&)>;

// The engine behind one box window. Owned by the window; valid until it is
// destroyed.
class BrowserBox {
public:
    // The box behind a box window (or behind its view or rendering window).
    static BrowserBox* FromWindow(HWND window);

    HWND Window() const;
    HWND RenderingWindow() const;

    // Starts loading an address (http, https, about:blank, javascript:). The
    // current document stays until the new one replaces it.
    void Navigate(const std::wstring& url);
    // Replaces the document with markup, as if it had been loaded from `url`.
    void NavigateToMarkup(const std::wstring& markup, const std::wstring& url = L"about:blank");
    // Pumps messages until no navigation is pending and the current document
    // has finished loading (its scripts and onload ran); false on timeout.
    bool WaitForLoad(int timeoutMs = 10000);
    bool IsLoading() const;
    // Documents that finished loading so far (each navigation adds one).
    unsigned LoadCount() const;

    // The current document's object (IHTMLDocument-like IDispatch), a new
    // reference; null before the first document.
    Microsoft::WRL::ComPtr<IDispatch> Document() const;
    dom::Document* DomDocument() const;
    // The window object of the current document (what scripts see as window).
    Microsoft::WRL::ComPtr<IDispatch> WindowObject() const;

    // Runs code in the current document, as window.execScript does.
    bool ExecScript(const std::wstring& code, const std::wstring& language = L"JScript");
    // Evaluates a JScript expression in the current document (tests, the driver).
    bool Evaluate(const std::wstring& expression, VARIANT* result);

    // Script texts the current document's engines have parsed: each keeps
    // engine memory for good, so handlers and timers compile once per text.
    unsigned ScriptTextsParsed() const;

    // Script errors of the current document, in order.
    std::vector<ScriptError> ScriptErrors() const;
    // The status text a page set through window.status.
    std::wstring StatusText() const;
    // HTTP status of the current document's response (0 for markup, about:
    // and failed loads).
    int HttpStatus() const;

    // How long one script may run before it is stopped (about 5 s unless set);
    // applies to the current page and the ones after it.
    void SetScriptTimeLimit(int milliseconds);
    int ScriptTimeLimit() const;

    // Answers alert/confirm/prompt without a message box; an empty handler
    // restores the message boxes.
    void SetDialogHandler(DialogHandler handler);

    explicit BrowserBox(BrowserBoxEngine& engine) : engine_(engine) {}
    BrowserBoxEngine& Engine() const { return engine_; }

private:
    BrowserBoxEngine& engine_;
};

}  // namespace corvalin::browser
