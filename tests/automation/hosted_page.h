// A real browser box in a window of its own, showing markup the test gives.
#pragma once
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "automation/page_automation.h"

#include "base/unique.h"

namespace corvalin::testing {

class HostedPage {
public:
    // The box sits `depth` container windows below a top-level window.
    explicit HostedPage(int depth = 0);
    HostedPage(const HostedPage&) = delete;
    HostedPage& operator=(const HostedPage&) = delete;
    ~HostedPage();

    // Shows `markup` (GBK text) as a page and waits until it has loaded.
    bool Load(const std::string& markup);
    // Loads an address (a loopback server's page) and waits for it.
    bool Navigate(const std::string& url);

    HWND top() const { return top_.get(); }
    HWND box() const { return box_; }
    HWND renderingWindow() const;
    // Evaluates a script expression in the page and reads it as text.
    std::string Evaluate(const std::string& expression);

private:
    UniqueWindow top_;
    HWND box_ = nullptr;
};

// A test on one hosted page with the toolkit attached to it.
class HostedPageTest : public ::testing::Test {
protected:
    void Show(const std::string& markup) {
        ASSERT_TRUE(page.Load(markup));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }

    HostedPage page;
    PageAutomation automation;
};

}  // namespace corvalin::testing
