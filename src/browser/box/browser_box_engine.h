// The engine behind one box window: its three windows, the current page, the
// navigation in flight, and the pages retired but still on the stack.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "browser/browser_box.h"
#include "browser/box/document_marshal.h"
#include "browser/box/page.h"
#include "browser/net/http_client.h"

namespace corvalin::browser {

class BrowserBoxEngine {
public:
    explicit BrowserBoxEngine(HWND box);
    ~BrowserBoxEngine();
    BrowserBoxEngine(const BrowserBoxEngine&) = delete;
    BrowserBoxEngine& operator=(const BrowserBoxEngine&) = delete;

    BrowserBox& Public() { return public_; }
    HWND Window() const { return box_; }
    HWND View() const { return view_; }
    HWND RenderingWindow() const { return server_; }
    void CreateChildren();

    // Loads an absolute address (javascript: runs in the current page).
    void Navigate(const std::wstring& url, const std::string& referrer = {});
    void Navigate(HttpRequest request);
    void NavigateToMarkup(const std::wstring& markup, const std::wstring& url);
    bool IsLoading() const;
    unsigned LoadCount() const { return loadCount_; }
    void PageLoaded() { ++loadCount_; Repaint(); }
    Page* Current() const { return page_.get(); }
    // The current page or a page in one of its frames, by serial.
    Page* FindPage(unsigned serial) const { return page_ ? page_->FindPage(serial) : nullptr; }
    // Frame pages number apart from navigations.
    unsigned NewFrameSerial() { return nextFrameSerial_++; }
    DialogAnswer ShowDialog(const DialogRequest& request);
    void SetDialogHandler(DialogHandler handler) { dialogs_ = std::move(handler); }
    UINT_PTR NewTimerId() { return nextTimer_++; }
    DWORD ScriptTimeLimit() const { return scriptTimeLimitMs_; }
    void SetScriptTimeLimit(DWORD milliseconds);

    // The answer to "WM_HTML_GETOBJECT" for the current document.
    LRESULT AnswerGetObject(WPARAM wParam);
    void Repaint();
    // The document learns the view's size; the layout, scroll bars and image
    // fetches follow it.
    void SizeView();
    void SyncView();
    void Paint(HDC dc, const RECT& dirty);
    void OnClick(int x, int y);
    // The mouse's selection: button down, drag, up, double click; and the
    // context menu's event.
    void OnMouseDown(int x, int y);
    void OnMouseDrag(int x, int y);
    void OnMouseUp();
    void OnDoubleClick(int x, int y);
    void OnContextMenu(int x, int y);
    // The mouse moved over the view, or left it: what it hovers follows.
    void OnMouseMove(int x, int y);
    void OnMouseLeave();
    // Keys typed while the rendering window has the focus.
    void OnKeyDown(UINT key);
    void OnChar(wchar_t character);
    void OnKeyUp(UINT key);
    void FocusOnPress(dom::Element& element);
    void OnScroll(int bar, int request);
    void OnWheel(int delta);

private:
    dom::Element* KeyTarget() const;   // the focused element, or the body
    void Commit(const PageSource& source);
    void OnResponse(unsigned serial, const HttpResponse& response, const std::wstring& requested);
    void RetireCurrent();
    void FreeRetired();

    BrowserBox public_;
    HWND box_;
    HWND view_ = nullptr;
    HWND server_ = nullptr;
    std::unique_ptr<Page> page_;
    std::vector<std::unique_ptr<Page>> retired_;
    unsigned serial_ = 0;          // of the newest navigation
    unsigned committed_ = 0;       // serial of the page shown
    unsigned loadCount_ = 0;
    UINT_PTR nextTimer_ = 1000;
    unsigned nextFrameSerial_ = 0x40000000;
    DialogHandler dialogs_;
    bool freeScheduled_ = false;
    DWORD scriptTimeLimitMs_ = 5000;
    dom::Ref<dom::Node> selectionAnchor_;   // where the button went down, while it is down
    std::size_t selectionAnchorOffset_ = 0;
    DocumentMarshal documentMarshal_;   // the current document's, released when it goes
    bool comInitialised_ = false;   // the box balances its own CoInitializeEx
    bool trackingLeave_ = false;    // WM_MOUSELEAVE asked for
    // Addresses this box has shown, for :visited; every page of the box reads it.
    std::shared_ptr<dom::Document::VisitedLinks> visited_ = std::make_shared<dom::Document::VisitedLinks>();
};

}  // namespace corvalin::browser
