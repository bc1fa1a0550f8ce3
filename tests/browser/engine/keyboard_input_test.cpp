// Keys typed on the real keyboard queue (SendInput) into a page shown on screen.
#include "browser/engine/page_fixture.h"

#include <vector>

#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

using corvalin::testing::PumpUntil;

class KeyboardInputTest : public PageTest {
protected:
    // Shows the page and gives it the keyboard; the focused element is `id`.
    void ShowAndFocus(const wchar_t* id) {
        ShowWindow(parent_, SW_SHOW);
        SetForegroundWindow(parent_);
        SetFocus(box_->RenderingWindow());
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == box_->RenderingWindow(); }, 5000));
        box_->ExecScript(L"document.getElementById('" + std::wstring(id) + L"').focus()");
    }
    static void Send(std::vector<INPUT> inputs) {
        ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
    }
    static INPUT Key(WORD key, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return input;
    }
    static void Press(WORD key, bool shift = false) {
        std::vector<INPUT> inputs;
        if (shift) inputs.push_back(Key(VK_SHIFT, false));
        inputs.push_back(Key(key, false));
        inputs.push_back(Key(key, true));
        if (shift) inputs.push_back(Key(VK_SHIFT, true));
        Send(inputs);
    }
    static void Type(std::wstring_view text) {
        std::vector<INPUT> inputs;
        for (wchar_t c : text) {
            for (bool up : {false, true}) {
                INPUT input{};
                input.type = INPUT_KEYBOARD;
                input.ki.wScan = c;
                input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
                inputs.push_back(input);
            }
        }
        Send(inputs);
    }
    bool WaitFor(const std::wstring& expression, const std::wstring& expected) {
        return PumpUntil([&] { return Eval(expression) == expected; }, 5000);
    }
};

TEST_F(KeyboardInputTest, TypingFillsTheFocusedFieldAndTabMovesOn) {
    LoadMarkup(LR"html(<script>var log = [];</script>
<input id=a onkeydown="log.push('down' + event.keyCode)" onkeypress="log.push('press' + event.keyCode)"
       onkeyup="log.push('up' + event.keyCode)">
<input id=hidden type=hidden><input id=b maxlength=3><input id=c type=checkbox>)html");
    ShowAndFocus(L"a");
    Type(L"hi");
    ASSERT_TRUE(WaitFor(L"document.getElementById('a').value", L"hi"));
    EXPECT_EQ(Eval(L"log.slice(0, 3).join()"), L"down231,press104,up231");   // VK_PACKET carries the typed text
    Press(VK_TAB);
    Type(L"abcd");   // the fourth is over the field's length
    Press(VK_TAB);
    Press(VK_SPACE);
    ASSERT_TRUE(WaitFor(L"document.getElementById('c').checked", L"-1"));
    EXPECT_EQ(Eval(L"document.getElementById('b').value"), L"abc");
    Press(VK_TAB, true);   // Shift+Tab goes back
    Press(VK_BACK);
    ASSERT_TRUE(WaitFor(L"document.getElementById('b').value", L"ab"));
}

TEST_F(KeyboardInputTest, AKeypressHandlerCanRefuseTheCharacter) {
    LoadMarkup(L"<input id=digits onkeypress='return event.keyCode >= 48 && event.keyCode <= 57'>");
    ShowAndFocus(L"digits");
    Type(L"a1b2");
    ASSERT_TRUE(WaitFor(L"document.getElementById('digits').value", L"12"));
}

TEST_F(KeyboardInputTest, ArrowsMoveRadiosAndSelectBoxes) {
    LoadMarkup(LR"html(<script>var changes = 0;</script>
<input type=radio name=m id=r1 value=1 checked><input type=radio name=m id=r2 value=2>
<select id=s onchange="changes++"><option>a<option>b<option>c</select>)html");
    ShowAndFocus(L"r1");
    Press(VK_DOWN);
    ASSERT_TRUE(WaitFor(L"document.getElementById('r2').checked", L"-1"));
    EXPECT_EQ(Eval(L"document.getElementById('r1').checked"), L"0");
    box_->ExecScript(L"document.getElementById('s').focus()");
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_DOWN);   // already on the last
    ASSERT_TRUE(WaitFor(L"document.getElementById('s').selectedIndex", L"2"));
    EXPECT_EQ(Eval(L"changes"), L"2");
}

TEST_F(KeyboardInputTest, EnterInATextFieldSubmitsItsForm) {
    std::string query;
    server_.server().Get("/search", [&](const httplib::Request& request, httplib::Response& response) {
        query = request.get_param_value("q");
        response.set_content("<p>found</p>", "text/html");
    });
    Serve("/", "<form action=/search><input name=q id=q><input type=submit value=go></form>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    ShowAndFocus(L"q");
    Type(L"corvalin");
    ASSERT_TRUE(WaitFor(L"document.getElementById('q').value", L"corvalin"));
    const unsigned loads = box_->LoadCount();
    Press(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return box_->LoadCount() > loads && !box_->IsLoading(); }, 10000));
    EXPECT_EQ(query, "corvalin");
}

}  // namespace
}  // namespace corvalin::browser::testing
