#include "script_line.h"

#include <gtest/gtest.h>

namespace corvalin::page_driver {
namespace {

TEST(ScriptLineTest, WordsAreSplitAtBlanksAndGroupedByQuotes) {
    const struct {
        const char* line;
        std::vector<std::string> words;
    } cases[] = {
        {"SetTextInputValue userqq 10001", {"SetTextInputValue", "userqq", "10001"}},
        {"  eval   \"document.title = 'a b'\"\r", {"eval", "document.title = 'a b'"}},
        {R"(SetDivInnerHtml menu "<a href=\"x\">\\</a>")", {"SetDivInnerHtml", "menu", R"(<a href="x">\</a>)"}},
        {R"(x "" y)", {"x", "", "y"}},
        {R"(x a"b c"d)", {"x", "ab cd"}},
        {R"(x "a\nb")", {"x", R"(a\nb)"}},   // only \" and \\ are escapes
        {"", {}},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto words = SplitScriptLine(c.line, error);
        ASSERT_TRUE(words) << c.line;
        EXPECT_EQ(*words, c.words) << c.line;
    }
    std::string error;
    EXPECT_FALSE(SplitScriptLine(R"(eval "open)", error));
    EXPECT_FALSE(SplitScriptLine(R"(eval "ends in \")", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace corvalin::page_driver
