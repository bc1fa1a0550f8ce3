// Frame documents are pages of their own: they run their scripts with their
// own window, reach their parent and top, and the parent reaches into them.
#include "browser/engine/page_fixture.h"

#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

using FrameScriptsTest = PageTest;

TEST_F(FrameScriptsTest, AFramesScriptWritesIntoItsParent) {
    Serve("/inner", R"html(<script>
var innerGlobal = 'inner';
parent.document.getElementById('s').innerHTML = 'from frame ' + (parent == top) + ' ' + (window != parent);
</script><body onload="parent.loadOrder.push('frame onload')"><b id=b>inside</b></body>)html");
    Serve("/nested", R"html(<iframe name=deep src="/deepest"></iframe>)html");
    Serve("/deepest", R"html(<script>top.document.getElementById('t').innerHTML = 'from the deepest';</script>)html");
    Serve("/", R"html(<body onload="loadOrder.push('page onload')"><script>var loadOrder = [];</script>
<span id=s>none</span><span id=t>none</span>
<iframe id=f name=first src="/inner"></iframe><iframe src="/nested"></iframe></body>)html");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerHTML"), L"from frame true true");
    EXPECT_EQ(GetText(ElementById(L"t").Get(), L"innerHTML"), L"from the deepest");
    // Frames load before the page's onload.
    EXPECT_EQ(Eval(L"loadOrder.join()"), L"frame onload,page onload");
    EXPECT_EQ(Eval(L"window.frames.length"), L"2");
    EXPECT_EQ(Eval(L"frames[0].innerGlobal + ':' + frames('first').document.getElementById('b').innerHTML"), L"inner:inside");
    EXPECT_EQ(Eval(L"document.getElementById('f').contentWindow == frames[0]"), L"-1");
    EXPECT_EQ(Eval(L"frames[0].frameElement.id"), L"f");
    EXPECT_EQ(Eval(L"frames[1].frames.length + ':' + frames[1].deep.parent.frames.length"), L"1:1");
    EXPECT_EQ(Eval(L"typeof innerGlobal"), L"undefined");   // each frame has its own globals
}

TEST_F(FrameScriptsTest, AFramesTimersRunAndEndWithThePage) {
    Serve("/ticking", R"html(<script>setInterval(function () { parent.ticks++; }, 10);</script>)html");
    Serve("/", R"html(<script>var ticks = 0;</script><iframe src="/ticking"></iframe>)html");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    ASSERT_TRUE(corvalin::testing::PumpUntil([&] { return Eval(L"ticks >= 3") == L"-1"; }, 5000));
    LoadMarkup(L"<p>next page</p>");
    EXPECT_EQ(box_->ScriptErrors().size(), 0u);
}

}  // namespace
}  // namespace corvalin::browser::testing
