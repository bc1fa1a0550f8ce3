#include "client/client_handlers.h"

#include "client/captcha_flow.h"
#include "client/exit_confirmation.h"
#include "client/service_flow.h"
#include "shell/events.h"

namespace corvalin::client {

void RegisterClientHandlers() {
    using shell::RegisterEventHandler;
    RegisterEventHandler("OnMainCreated", OnMainCreated);
    RegisterEventHandler("OnStatusPoll", OnStatusPoll);
    RegisterEventHandler("SubmitStart", SubmitStart);
    RegisterEventHandler("SubmitOffline", SubmitOffline);
    RegisterEventHandler("OnAccountKey", OnAccountKey);
    RegisterEventHandler("OnPasswordKey", OnPasswordKey);
    RegisterEventHandler("OnCaptchaKey", OnCaptchaKey);
    RegisterEventHandler("ContactAuthor", ContactAuthor);
    RegisterEventHandler("OnCaptchaWatch", OnCaptchaWatch);
    RegisterEventHandler("OnCaptchaPictureClick", OnCaptchaPictureClick);
    RegisterEventHandler("OnCaptchaBoxFocus", OnCaptchaBoxFocus);
    RegisterEventHandler("OnMainMayClose", OnMainMayClose);
    RegisterEventHandler("OnExitConfirmCreated", OnExitConfirmCreated);
    RegisterEventHandler("OnHotKeyFeedback", OnHotKeyFeedback);
    RegisterEventHandler("ConfirmExit", ConfirmExit);
    RegisterEventHandler("CancelExit", CancelExit);
}

}  // namespace corvalin::client
