// The program's handle on the page shown in the browser box. It finds the
// browser's rendering window by class name, asks it for its document, and
// reaches everything else through late-bound calls by member name, so it
// works with any engine that presents itself the way Internet Explorer does.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation_object.h"

namespace corvalin {

class PageAutomation {
public:
    // Initialises COM for the calling thread; nothing is attached.
    PageAutomation();
    // Releases the document, then ends the COM initialisation made above.
    ~PageAutomation();
    // The same host window and a reference of its own to the same document.
    PageAutomation(const PageAutomation& other);
    PageAutomation& operator=(const PageAutomation&) = delete;

    // --- attaching ---
    // True when a document is held afterwards; false, changing nothing, for
    // a window that does not exist.
    bool AttachBrowser(HWND window);
    // A new reference to the held document (empty when none).
    AutomationObject GetDocument() const;
    void Detach();
    // First descendant of class "Internet Explorer_Server" in depth-first
    // order, or 0. Dispatches pending messages after each sibling step.
    HWND FindBrowserServerWindow(HWND parent) const;
    // Asks the rendering window in (or at) `window` for its document; on
    // success the reference replaces the one `target` held.
    bool DocumentFromWindow(HWND window, AutomationObject& target) const;

    // --- element lookup ---
    // `typeList` is a "|"-separated list of input types searched as a whole;
    // `ordinal` is counted on from the caller's start value and ends as the
    // found element's 1-based ordinal, or -1.
    AutomationObject FindInputElement(std::string_view typeList, std::string_view key, int skip, int& ordinal) const;
    AutomationObject FindSpanElement(std::string_view key, int skip, int& ordinal) const;

    // --- text inputs ---
    AutomationObject FindTextInput(std::string_view key, int skip = 0) const;
    bool SetTextInputValue(std::string_view key, std::string_view value, int skip = 0) const;

    // --- buttons ---
    AutomationObject FindButton(std::string_view key, int skip = 0) const;
    // True when a button was found (the click was sent to it).
    bool ClickButton(std::string_view key, int skip = 0) const;

    // --- spans ---
    AutomationObject FindSpan(std::string_view key, int skip = 0) const;
    std::string GetSpanInnerHtml(std::string_view key, int skip = 0) const;

    // --- rendering windows ---
    // Appends every descendant of class "Internet Explorer_Server" to `list`;
    // true when `list` is not empty afterwards.
    bool ListBrowserServerWindows(HWND parent, std::vector<HWND>& list) const;

    HWND hostWindow() const { return hostWindow_; }

private:
    AutomationObject document_;
    HWND hostWindow_ = nullptr;
    bool comInitialised_ = false;
};

// The one page-automation object, from start-up to exit.
extern std::unique_ptr<PageAutomation> ThePageAutomation;

}  // namespace corvalin
