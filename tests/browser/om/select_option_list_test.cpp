// A select box's option list as the pages of that era edit it from script:
// writing options[i] and length, add and remove, and which option stays
// chosen through each change.
#include <initializer_list>

#include "browser/engine/page_fixture.h"

namespace corvalin::browser::testing {
namespace {

class SelectOptionListTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        Reset();
    }
    // A fresh page with both boxes as the markup has them.
    void Reset() {
        LoadMarkup(L"<select id=s><option value=1>one<option value=2 selected>two<option value=3>three</select>"
                   L"<select id=m multiple><option selected>a<option>b<option selected>c</select>");
    }
    // Runs `code` with `s` bound to the single box, then answers its state as
    // "length:selectedIndex:value:text,text...".
    std::wstring After(const std::wstring& code) {
        return Eval(L"(function () { var s = document.getElementById('s'); " + code +
                    L"; var t = []; for (var i = 0; i < s.options.length; i++) t.push(s.options[i].text);"
                    L" return s.length + ':' + s.selectedIndex + ':' + s.value + ':' + t.join(); })()");
    }
    // Each script run on a fresh page, with the state it must leave.
    struct Case {
        const wchar_t* code;
        const wchar_t* state;
    };
    void ExpectEach(std::initializer_list<Case> cases) {
        for (const Case& c : cases) {
            Reset();
            EXPECT_EQ(After(c.code), c.state) << c.code;
        }
    }
};

TEST_F(SelectOptionListTest, WritingAnIndexAddsReplacesOrRemovesAnOption) {
    ExpectEach({
        {L"s.options[s.length] = new Option('four', '4')", L"4:1:2:one,two,three,four"},
        {L"s.options[5] = new Option('six', '6')", L"6:1:2:one,two,three,,,six"},
        {L"s.options[0] = new Option('uno', 'u')", L"3:1:2:uno,two,three"},
        {L"s[2] = new Option('tres', 't')", L"3:1:2:one,two,tres"},
        {L"s.options[0] = null", L"2:0:2:two,three"},
        {L"s[2] = null", L"2:1:2:one,two"},
        {L"s.options[9] = null", L"3:1:2:one,two,three"},
    });
}

TEST_F(SelectOptionListTest, WritingTheLengthOfTheBoxOrItsOptionsTruncatesOrPads) {
    ExpectEach({
        {L"s.length = 0", L"0:-1::"},
        {L"s.options.length = 0", L"0:-1::"},
        {L"s.length = 1", L"1:0:1:one"},
        {L"s.options.length = 4", L"4:1:2:one,two,three,"},
        // Emptied and filled again, the first new option shows.
        {L"s.length = 0; s.options[0] = new Option('x', 'x'); s.options[1] = new Option('y', 'y')", L"2:0:x:x,y"},
    });
}

TEST_F(SelectOptionListTest, TheChosenOptionFollowsAddsAndRemovals) {
    ExpectEach({
        // The chosen option keeps its choice as others come and go around it.
        {L"s.selectedIndex = 2; s.remove(0)", L"2:1:3:two,three"},
        {L"s.selectedIndex = 2; s.add(new Option('zero', '0'), 0)", L"4:3:3:zero,one,two,three"},
        // A single-choice box whose chosen option goes shows its first one...
        {L"s.selectedIndex = 2; s.remove(2)", L"2:0:1:one,two"},
        {L"s.remove(1)", L"2:0:1:one,three"},
        {L"s.options[1] = null", L"2:0:1:one,three"},
        // ...but one the page cleared on purpose stays clear.
        {L"s.selectedIndex = -1", L"3:-1::one,two,three"},
        {L"s.options[1].selected = false", L"3:-1::one,two,three"},
        // An option added already selected takes the choice.
        {L"s.add(new Option('new', 'n', true, true))", L"4:3:n:one,two,three,new"},
        {L"s.options[0].selected = true", L"3:0:1:one,two,three"},
    });
    // Each option answers whether it is the chosen one, consistently with the box.
    Reset();
    EXPECT_EQ(Eval(L"(function () { var s = document.getElementById('s'); s.selectedIndex = 2; s.remove(2); var o = s.options;"
                   L" return o[0].selected + ':' + o[1].selected; })()"),
              L"true:false");
    // A multiple box reports its first selected option and keeps each one's own state.
    EXPECT_EQ(Eval(L"(function () { var m = document.getElementById('m'); var r = m.selectedIndex; m.remove(0);"
                   L" return r + ':' + m.selectedIndex + ':' + m.options[0].selected + ':' + m.options[1].selected; })()"),
              L"0:1:false:true");
}

TEST_F(SelectOptionListTest, OnlyOptionsOrNullGoIntoTheList) {
    EXPECT_EQ(Eval(L"(function () { var s = document.getElementById('s');"
                   L" try { s.options[0] = document.createElement('div'); } catch (e) { return 'refused:' + s.length; } return 'taken'; })()"),
              L"refused:3");
    EXPECT_EQ(Eval(L"(function () { var s = document.getElementById('s');"
                   L" try { s.add(document.createElement('b')); } catch (e) { return 'refused:' + s.length; } return 'taken'; })()"),
              L"refused:3");
}

}  // namespace
}  // namespace corvalin::browser::testing
