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
    DialogAnswer ShowDialog(const DialogRequest& request);
    void SetDialogHandler(DialogHandler handler) { dialogs_ = std::move(handler); }
    UINT_PTR NewTimerId() { return nextTimer_++; }

    // The answer to "WM_HTML_GETOBJECT" for the current document.
    LRESULT AnswerGetObject(WPARAM wParam);
    void Repaint();
    void Paint(HDC dc, const RECT& client);
    void OnClick(int x, int y);

private:
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
    DialogHandler dialogs_;
    bool freeScheduled_ = false;
    DocumentMarshal documentMarshal_;   // the current document's, released when it goes
    bool comInitialised_ = false;   // the box balances its own CoInitializeEx
};

}  // namespace corvalin::browser
