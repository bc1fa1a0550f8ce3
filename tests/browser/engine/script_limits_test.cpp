// Loopback server first: its socket header must come before windows.h.
#include "browser/engine/page_fixture.h"

#include <condition_variable>
#include <mutex>

#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

using corvalin::testing::PumpUntil;

class ScriptLimitsTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        CreateBox();
        box_->SetScriptTimeLimit(300);
    }

    size_t StopReports() const {
        size_t stops = 0;
        for (const auto& error : box_->ScriptErrors())
            if (error.message.find(L"was stopped") != std::wstring::npos) ++stops;
        return stops;
    }
};

TEST_F(ScriptLimitsTest, AnEndlessInlineScriptIsStoppedAndTheScriptsAfterItRun) {
    LoadMarkup(LR"(<script>var before = 1;</script>
<script>while (true) {}</script>
<script>var after = before + 1;</script>)");
    EXPECT_EQ(Eval(L"after"), L"2");
    EXPECT_EQ(StopReports(), 1u);
}

TEST_F(ScriptLimitsTest, AnEndlessOnloadHandlerIsStopped) {
    LoadMarkup(LR"(<body onload="var n = 0; while (true) { n++; }"><span id=s>x</span></body>)");
    EXPECT_EQ(StopReports(), 1u);
    EXPECT_TRUE(box_->ExecScript(L"document.getElementById('s').innerHTML = 'alive'"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"alive");
}

TEST_F(ScriptLimitsTest, EndlessTimersAreStoppedEachTimeAndThePageStillAnswers) {
    LoadMarkup(LR"(<script>
var ticks = 0;
setTimeout(function () { while (true) {} }, 0);
setInterval("ticks++; while (true) {}", 0);
</script>)");
    ASSERT_TRUE(PumpUntil([&] { return StopReports() >= 3; }, 20000));
    EXPECT_EQ(Eval(L"ticks >= 2"), L"-1");
    EXPECT_EQ(Eval(L"6 * 7"), L"42");
}

TEST_F(ScriptLimitsTest, AnEndlessEvaluationFromTheHostIsStopped) {
    LoadMarkup(L"<script>function spin() { for (;;) {} }</script>");
    Value result;
    EXPECT_FALSE(box_->Evaluate(L"spin()", &result.v));
    EXPECT_EQ(StopReports(), 1u);
    // execScript, as the toolkit calls it, and VBScript as well.
    EXPECT_FALSE(box_->ExecScript(L"Do While True\nLoop", L"VBScript"));
    EXPECT_EQ(StopReports(), 2u);
    EXPECT_EQ(Eval(L"typeof spin"), L"function");
}

TEST_F(ScriptLimitsTest, AnEndlessHandlerReachedThroughTheObjectModelStopsTheWholeScript) {
    // The loop sits in a handler that a looping script calls through click():
    // both levels stop, one error is reported, and the script after them runs.
    LoadMarkup(LR"(<button id=b onclick="while (true) {}">b</button>
<script>var clicks = 0; while (true) { clicks++; document.getElementById('b').click(); }</script>
<script>var after = 'ran';</script>)");
    EXPECT_EQ(Eval(L"after"), L"ran");
    EXPECT_EQ(Eval(L"clicks"), L"1");
    EXPECT_EQ(StopReports(), 1u);
    // A function stored on an element and called through it is under the limit too.
    Value result;
    EXPECT_FALSE(box_->Evaluate(L"(function () { var b = document.getElementById('b'); b.spin = function () { while (true) {} }; return b.spin(); })()", &result.v));
    EXPECT_EQ(StopReports(), 2u);
}

TEST_F(ScriptLimitsTest, TimeSpentInADialogDoesNotCountAgainstTheScript) {
    int dialogs = 0;
    box_->SetDialogHandler([&](const DialogRequest&) {
        ++dialogs;
        corvalin::testing::PumpMessagesFor(400);   // longer than the limit, like a user reading
        return DialogAnswer{};
    });
    LoadMarkup(L"<script>alert('a'); alert('b'); var done = 'yes';</script>");
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(Eval(L"done"), L"yes");
    EXPECT_EQ(StopReports(), 0u);
}

TEST_F(ScriptLimitsTest, WaitForLoadReturnsOnTimeThroughAFloodOfZeroDelayTimers) {
    // The page stays loading (its external script never comes) while ten
    // thousand zero-delay intervals keep the message queue busy. Setting them
    // up is one script of the load, which no wait can cut short, so it must
    // be cheap: the wait ends about when it was told to.
    std::mutex mutex;
    std::condition_variable release;
    bool released = false;
    server_.server().Get("/never.js", [&](const httplib::Request&, httplib::Response& response) {
        std::unique_lock lock(mutex);
        release.wait_for(lock, std::chrono::seconds(30), [&] { return released; });
        response.set_content("", "application/javascript");
    });
    Serve("/", R"(<script>var fired = 0; function f() { fired++; }
for (var i = 0; i < 10000; i++) setInterval(f, 0);</script><script src="/never.js"></script>)");
    ASSERT_GT(server_.Start(), 0);
    box_->Navigate(Url("/"));
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(box_->WaitForLoad(2000));
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 2000u);
    // About 2 s; the slack is for a loaded two-core machine, not for the page.
    EXPECT_LT(waited, 5000u);
    EXPECT_EQ(Eval(L"fired > 0"), L"-1");   // the intervals ran while it waited
    box_->NavigateToMarkup(L"");   // the timers go with the page
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    release.notify_all();
    EXPECT_TRUE(box_->WaitForLoad());
}

TEST_F(ScriptLimitsTest, HandlersAndStringTimersCompileOncePerText) {
    LoadMarkup(LR"html(<script>var clicks = 0, ticks = 0, runs = 0;</script>
<button id=a onclick="clicks++">a</button><button id=b onclick="clicks++">b</button><p id=t></p><p id=d></p>
<script>setInterval("document.getElementById('t').innerHTML = ++ticks", 0);
setInterval("var mine = 1; document.getElementById('d').innerHTML = ++runs", 0);</script>)html");
    const unsigned before = box_->ScriptTextsParsed();
    for (int i = 0; i < 10; ++i) {
        CallMethod(ElementById(L"a").Get(), L"click");
        CallMethod(ElementById(L"b").Get(), L"click");
    }
    // Watched through the tree: reading it parses nothing.
    auto number = [&](const wchar_t* id) { return _wtoi(GetText(ElementById(id).Get(), L"innerHTML").c_str()); };
    ASSERT_TRUE(PumpUntil([&] { return number(L"t") >= 10 && number(L"d") >= 3; }, 10000));
    const unsigned declaringRuns = static_cast<unsigned>(number(L"d"));
    const unsigned parsed = box_->ScriptTextsParsed() - before;
    // One text for both buttons and one for the plain timer; the timer whose
    // text declares a name runs as page code each time, so `mine` is global.
    EXPECT_EQ(parsed, 2 + declaringRuns);
    EXPECT_EQ(Eval(L"clicks"), L"20");
    EXPECT_EQ(Eval(L"mine"), L"1");
}

}  // namespace
}  // namespace corvalin::browser::testing
