#include "automation/hosted_page.h"

#include <oleauto.h>

#include "automation/fake_browser_window.h"
#include "base/text.h"
#include "browser/browser_box.h"

namespace corvalin::testing {

HostedPage::HostedPage(int depth) {
    browser::RegisterBrowserBoxClass();
    top_ = CreateContainerWindow(nullptr);
    HWND parent = top_.get();
    for (int i = 0; i < depth; ++i) parent = CreateContainerWindow(parent).release();
    // The top window destroys the containers and the box with it.
    box_ = CreateWindowExA(0, browser::kBrowserBoxClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (auto* engine = browser::BrowserBox::FromWindow(box_)) engine->WaitForLoad();
}

HostedPage::~HostedPage() = default;

bool HostedPage::Load(const std::string& markup) {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    if (!engine) return false;
    engine->NavigateToMarkup(ToWide(markup));
    return engine->WaitForLoad();
}

bool HostedPage::Navigate(const std::string& url) {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    if (!engine) return false;
    engine->Navigate(ToWide(url));
    return engine->WaitForLoad();
}

HWND HostedPage::renderingWindow() const {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    return engine ? engine->RenderingWindow() : nullptr;
}

std::string HostedPage::Evaluate(const std::string& expression) {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    VARIANT result;
    VariantInit(&result);
    if (!engine || !engine->Evaluate(ToWide(expression), &result)) return {};
    VARIANT text;
    VariantInit(&text);
    std::string answer;
    if (SUCCEEDED(VariantChangeType(&text, &result, 0, VT_BSTR))) answer = ToAnsi(text.bstrVal ? text.bstrVal : L"");
    VariantClear(&text);
    VariantClear(&result);
    return answer;
}

}  // namespace corvalin::testing
