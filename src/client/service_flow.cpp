#include "client/service_flow.h"

#include "automation/page_automation.h"
#include "shell/shell.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_application.h"

namespace corvalin::client {

namespace {

using namespace corvalin::shell;

// Renews the attachment: a document attached earlier is stale once the page has navigated.
const PageAutomation* AttachServicePage() {
    if (!ThePageAutomation) return nullptr;
    ThePageAutomation->AttachBrowser(GetWindowHandle({kMainWindowId, kBrowserBoxId, kKindBrowserBox}));
    return ThePageAutomation.get();
}

// A load that failed (the service was down) leaves a finished document
// without the service's status span; nothing on it will ever answer.
bool ServicePageMissing(const PageAutomation* page) {
    if (!page) return false;
    const AutomationObject document = page->GetDocument();
    if (document.IsEmpty() || document.GetText("readyState") != "complete") return false;
    return page->FindSpan("zt_msg").IsEmpty();
}

constexpr ULONGLONG kReloadIntervalMs = 10000;
ULONGLONG lastReload = 0;

void ReloadServicePage(const PageAutomation* page) {
    lastReload = GetTickCount64();
    page->GetDocument().GetObject("parentWindow").Call("navigate", std::string(build::kServiceUrl) + "/");
}

std::string ServiceStatus(const PageAutomation* page) {
    return page ? page->GetSpanInnerHtml("zt_msg") : std::string();
}

// Markup and all: the status line shows what the page's span holds.
void ShowStatus(const std::string& status) {
    SetControlProperty(kMainWindowId, kStatusLabelId, kPropCaption, std::string(kStatusPrefix) + status);
}

std::string EditText(ControlId edit) {
    return GetControlProperty(kMainWindowId, edit, kPropText).AsText();
}

// Copies the three boxes into the page's inputs (empty ones as empty values,
// the hidden captcha box too) and presses `button`.
void Submit(const char* button) {
    const PageAutomation* page = AttachServicePage();
    if (!page) return;
    if (ServicePageMissing(page)) {
        // Nothing to fill in: the page is asked for again at once.
        ReloadServicePage(page);
        return;
    }
    page->SetTextInputValue("userqq", EditText(kAccountEditId));
    page->SetTextInputValue("pwd", EditText(kPasswordEditId));
    page->SetTextInputValue("verify", EditText(kCaptchaEditId));
    page->ClickButton(button);
}

constexpr int kEnterKey = 13;

}  // namespace

std::string ContactAddress() {
    return std::string("tencent://message/?uin=") + build::kAuthorQq;
}

void OnMainCreated() {
    SetControlProperty(kMainWindowId, kCaptchaWatchTimerId, kPropInterval, 100);
    ShowStatus(ServiceStatus(AttachServicePage()));
    ApplySkin(kMainWindowId, kMainWindowUnitId, WindowBackgroundPicture().ToBytes(), kWindowSkinOpacity);
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 1000);
    for (ControlId hidden : {kCaptchaPictureId, kCaptchaEditId, kCaptchaCaptionId})
        SetControlProperty(kMainWindowId, hidden, kPropVisible, 0);
}

void OnStatusPoll() {
    const PageAutomation* page = AttachServicePage();
    if (ServicePageMissing(page) && GetTickCount64() - lastReload >= kReloadIntervalMs) ReloadServicePage(page);
    ShowStatus(ServiceStatus(page));
}

void SubmitStart() {
    Submit("button");
}

void SubmitOffline() {
    Submit("button2");
}

void OnAccountKey(int keyCode, int) {
    if (keyCode != kEnterKey) return;
    ShowMessageBox("请输入密码，谢谢！", MB_OK | MB_ICONERROR, "Tessaly提示：");
    SetControlFocus({kMainWindowId, kPasswordEditId, kKindEditBox});
}

void OnPasswordKey(int keyCode, int) {
    if (keyCode == kEnterKey) SubmitStart();
}

void OnCaptchaKey(int keyCode, int) {
    if (keyCode == kEnterKey) SubmitStart();
}

void ContactAuthor() {
    OpenAddress(ContactAddress());
}

}  // namespace corvalin::client
