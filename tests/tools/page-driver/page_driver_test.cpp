// The driver's session in this process: its browser box, real pages, and the
// JSON each line answers.
#include "page_driver.h"

#include <gtest/gtest.h>

#include <fstream>

#include "operation_table.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace corvalin::page_driver {
namespace {

// A page with a member of every family, the first of each answering to "1".
const char kRichPage[] =
    "<html><head><title>rich</title></head><body>"
    "<form name=reg id=reg action=/submit>"
    "<input name=userqq id=userqq value=10001 title=qq><input type=password name=pwd value=s3>"
    "<input type=radio name=sex id=m title=male checked><input type=checkbox name=agree id=agree checked>"
    "<input type=button name=go id=go title=Go value=Go>"
    "<input type=hidden name=token id=token value=abc><textarea name=memo id=memo>memo</textarea></form>"
    "<input type=image name=pic id=pic src=go.gif>"   // outside the form: a click submits nothing
    "<div id=first class=menu title=top onclick=\"document.title='clicked'\">menu</div>"
    "<span id=zt_msg class=status>在线</span>"
    "<ul><li id=li1>one</li></ul><cite id=c1>cite</cite>"
    "<a href=\"javascript:void(0)\" id=a1>link</a><img src=logo.gif width=40 height=30 id=i1>"
    "<select name=city id=city><option value=hz>杭州</option></select>"
    "<table id=t1><tr><td>cell</td></tr></table>"
    "</body></html>";

class PageDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver.ready());
        std::ofstream(page, std::ios::binary) << kRichPage;
        ASSERT_EQ(Ask("load " + page), R"({"op":"load","result":true})");
    }
    // Lines and answers are UTF-8; this test's texts are GBK like the program's.
    std::string Ask(const std::string& line) {
        std::string answer = driver.Run(AnsiToUtf8(line));
        EXPECT_EQ(answer.find('\n'), answer.size() - 1) << "one line per answer: " << answer;
        if (!answer.empty()) answer.pop_back();
        return Utf8ToAnsi(answer);
    }
    Json AskJson(const std::string& line) { return Json::parse(driver.Run(AnsiToUtf8(line)), nullptr, false); }

    testing::TempFolder folder;
    std::string page = folder.File("rich.html");
    PageDriver driver{false};
};

TEST_F(PageDriverTest, OperationsAnswerTheirResultAndOutArguments) {
    EXPECT_EQ(Ask("GetTextInputValue pwd"), R"({"op":"GetTextInputValue","result":"s3"})");
    EXPECT_EQ(Ask("GetSpanInnerHtml zt_msg"), R"({"op":"GetSpanInnerHtml","result":"在线"})");
    EXPECT_EQ(Ask("TextInputOrdinal nobody"), R"({"op":"TextInputOrdinal","result":-1})");
    EXPECT_EQ(Ask("SetDivHidden menu 0 false"), R"({"op":"SetDivHidden","result":true})");
    EXPECT_EQ(Ask("SetTextInputValue userqq \"新 值\""), R"({"op":"SetTextInputValue","result":true})");
    EXPECT_EQ(Ask("eval \"document.getElementById('userqq').value\""), R"({"op":"eval","result":"新 值"})");
    EXPECT_EQ(Ask("FindDiv missing"), R"({"op":"FindDiv","result":null})");

    const Json info = AskJson("GetTextInputInfo 1");
    EXPECT_EQ(info["result"], true);
    EXPECT_EQ(info["out"]["value"], AnsiToUtf8("新 值"));
    EXPECT_EQ(info["out"]["type"], "text");
    EXPECT_EQ(info["out"]["element"]["tagName"], "INPUT");
    EXPECT_EQ(info["out"]["element"]["id"], "userqq");
    EXPECT_EQ(info["out"]["element"]["outerHTML"].get<std::string>().find("<INPUT"), 0u);

    // In/out arguments go in with their value and come back under "out".
    const Json found = AskJson("FindDivElement menu 0 3");
    EXPECT_EQ(found["result"]["id"], "first");
    EXPECT_EQ(found["out"], Json::parse(R"({"ordinal":4})"));
    // An element argument by its id; a window by "box".
    EXPECT_EQ(Ask("FireElementEvent #first onclick"), R"({"op":"FireElementEvent","result":true})");
    EXPECT_EQ(Ask("eval document.title"), R"({"op":"eval","result":"clicked"})");
    EXPECT_EQ(AskJson("AttachBrowser box")["result"], true);
    const Json windows = AskJson("ListBrowserServerWindows box");
    EXPECT_EQ(windows["out"]["list"].size(), 1u);
    EXPECT_EQ(AskJson("GetElementsByTagName input")["result"]["length"], 7);
    EXPECT_FALSE(driver.failed());
}

TEST_F(PageDriverTest, SelectBoxesTablesAndFormsAnswerWithTheirLists) {
    const Json boxes = AskJson("ListSelectBoxes");
    EXPECT_EQ(boxes["result"], 1);
    EXPECT_EQ(boxes["out"]["optionCounts"], Json::parse("[1]"));
    EXPECT_EQ(boxes["out"]["names"], Json::parse(R"(["city"])"));
    EXPECT_EQ(boxes["out"]["types"], Json::parse(R"(["select-one"])"));
    const Json count = AskJson("SelectBoxOperation 1 0");
    EXPECT_EQ(count["result"], 1);
    EXPECT_EQ(count["out"]["optionCount"], 1);
    EXPECT_EQ(count["out"]["selectElement"]["id"], "city");
    EXPECT_EQ(Ask("CountSelectBoxes true"), R"({"op":"CountSelectBoxes","result":1})");
    EXPECT_EQ(Ask("GetOptionText 1 1"), R"({"op":"GetOptionText","result":"组合框1"})");
    EXPECT_EQ(Ask("SetCellText 1 1 1 新"), R"({"op":"SetCellText","result":"真"})");
    EXPECT_EQ(Ask("GetCellText 1 1 1"), R"({"op":"GetCellText","result":"新"})");
    const Json form = AskJson("GetFormInfo reg");
    EXPECT_EQ(form["result"], true);
    EXPECT_EQ(form["out"]["method"], "get");
    EXPECT_EQ(form["out"]["action"], "/submit");
    EXPECT_FALSE(driver.failed());
}

TEST_F(PageDriverTest, BadLinesAnswerAnErrorAndTheDriverGoesOn) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"NoSuchOperation 1", "unknown operation"},
        {"FindDiv", "missing argument key"},
        {"FindDiv a 0 extra", "too many arguments"},
        {"FindDiv a zero", "not an integer"},
        {"SetDivHidden a 0 yes", "not true or false"},
        {"FireElementEvent first onclick", "not an element"},
        {"AttachBrowser window", "not a window"},
        {"wait", "wait takes MS"},
        {"eval \"unterminated", "unterminated quote"},
        {"eval \"this is not script (\"", "the script failed"},
    };
    for (const auto& c : cases) {
        const Json answer = AskJson(c.line);
        ASSERT_TRUE(answer.contains("error")) << c.line << " answered " << answer.dump();
        EXPECT_NE(answer["error"].get<std::string>().find(c.error), std::string::npos) << answer.dump();
        EXPECT_FALSE(answer.contains("result")) << c.line;
    }
    EXPECT_TRUE(driver.failed());
    EXPECT_EQ(Ask("GetSpanInnerHtml status"), R"({"op":"GetSpanInnerHtml","result":"在线"})");
    EXPECT_EQ(Ask("   "), "");
    EXPECT_EQ(Ask("# a comment"), "");
    EXPECT_FALSE(driver.finished());
    EXPECT_EQ(Ask("quit"), R"({"op":"quit","result":null})");
    EXPECT_TRUE(driver.finished());
}

// One line of every operation in the table, its words made from the
// parameters' types, and the answer's shape checked against the declaration.
TEST_F(PageDriverTest, EveryOperationAnswersInTheShapeOfItsDeclaration) {
    for (const DeclaredOperation& operation : PageAutomationDeclarations()) {
        const OperationBinding* binding = FindOperation(operation.name);
        ASSERT_NE(binding, nullptr) << operation.name;
        std::string line = operation.name;
        std::vector<std::string> outNames;
        for (size_t i = 0; i < operation.parameters.size(); ++i) {
            const DeclaredParameter& parameter = operation.parameters[i];
            if (binding->roles[i] != ParameterRole::In) outNames.push_back(parameter.name);
            if (binding->roles[i] == ParameterRole::Out) continue;
            std::string word = "1";
            if (parameter.type == "HWND") word = "box";
            else if (parameter.type.find("AutomationObject") != std::string::npos) word = "#first";
            else if (parameter.type == "bool") word = "false";
            else if (parameter.name == "skip" || parameter.type == "int&") word = "0";
            else if (parameter.name == "typeList") word = "text|password|file";
            else if (parameter.name == "eventName") word = "onclick";
            else if (parameter.name == "tagName") word = "div";
            line += " " + word;
        }
        const Json answer = AskJson(line);
        ASSERT_TRUE(answer.is_object()) << line;
        EXPECT_EQ(answer["op"], operation.name);
        ASSERT_TRUE(answer.contains("result")) << line << " answered " << answer.dump();
        const Json& result = answer["result"];
        const std::string& type = operation.resultType;
        bool shaped = false;
        if (type == "bool") shaped = result.is_boolean();
        else if (type == "int" || type == "HWND") shaped = result.is_number_integer();
        else if (type == "std::string") shaped = result.is_string();
        else if (type == "void") shaped = result.is_null();
        else if (type == "AutomationObject") shaped = result.is_null() || result.contains("outerHTML");
        EXPECT_TRUE(shaped) << line << " answered " << answer.dump() << " for a " << type;
        if (outNames.empty()) {
            EXPECT_FALSE(answer.contains("out")) << line;
        } else {
            ASSERT_TRUE(answer.contains("out")) << line;
            EXPECT_EQ(answer["out"].size(), outNames.size()) << line;
            for (const std::string& name : outNames) EXPECT_TRUE(answer["out"].contains(name)) << line << " " << name;
        }
        // "1" names the first member of every family on this page.
        if (operation.name.rfind("Find", 0) == 0 && operation.name != "FindBrowserServerWindow" &&
            operation.name.find("Element") == std::string::npos) {
            EXPECT_TRUE(result.is_object()) << line;
        }
        if (operation.name.find("Info") != std::string::npos) {
            EXPECT_EQ(result, true) << line;
        }
        // A submitted form leaves the page: show it again for the operations after.
        if (operation.name == "SubmitForm") {
            ASSERT_EQ(Ask("load " + page), R"({"op":"load","result":true})");
        }
        driver.Run("AttachBrowser box");   // after Detach and the like
    }
    EXPECT_FALSE(driver.failed());
}

TEST_F(PageDriverTest, ScreenshotWritesThePagesPixels) {
    const std::string file = folder.File("shot.png");
    EXPECT_EQ(Ask("screenshot \"" + file + "\""), R"({"op":"screenshot","result":true})");
    const std::string png = testing::ReadWholeFile(file);
    ASSERT_GT(png.size(), 100u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(Ask("screenshot \"" + folder.File("no such folder\\shot.png") + "\""),
              R"({"op":"screenshot","result":false})");
}

TEST_F(PageDriverTest, LoadTakesWindowsPathsEitherWay) {
    std::string forward = page;
    for (char& c : forward) {
        if (c == '\\') c = '/';
    }
    EXPECT_EQ(Ask("eval \"document.title='changed'\""), R"({"op":"eval","result":"changed"})");
    EXPECT_EQ(Ask("load " + forward), R"({"op":"load","result":true})");
    EXPECT_EQ(Ask("eval document.title"), R"({"op":"eval","result":"rich"})");
    EXPECT_EQ(AskJson("eval location.href")["result"].get<std::string>().rfind("file:///", 0), 0u);
}

}  // namespace
}  // namespace corvalin::page_driver
