#include "client/client_flow_fixture.h"

namespace corvalin::testing {

std::string WaitForPageSession(CorvalinRun& run, int timeoutMs) {
    std::string id;
    WaitUntil([&] {
        auto session = run.service().OnlySession();
        if (session) id = (*session)["id"];
        return !id.empty();
    }, timeoutMs);
    return id;
}

std::string SessionValue(CorvalinRun& run, const std::string& name) {
    auto session = run.service().OnlySession();
    return session ? (*session)[name] : std::string();
}

bool SubmittedPassword(CorvalinRun& run, const std::string& password) {
    return run.service().PasswordMatches(SessionValue(run, "id"), password);
}

int WindowHeight(HWND window) {
    const RECT r = WindowRectOf(window);
    return r.bottom - r.top;
}

bool SubmitUntilCaptcha(CorvalinRun& run, const std::string& account, const std::string& password) {
    if (WaitForPageSession(run).empty()) {
        ADD_FAILURE() << "the service page never loaded";
        return false;
    }
    Click(run.AccountBox());
    TypeInto(run.AccountBox(), account);
    Click(run.PasswordBox());
    TypeInto(run.PasswordBox(), password);
    Click(run.Button("开始挂机"));
    if (!WaitUntil([&] { return WindowHeight(run.mainWindow()) == 260; }, 5000)) {
        ADD_FAILURE() << "no captcha layout; status " << run.StatusText();
        return false;
    }
    return true;
}

}  // namespace corvalin::testing
