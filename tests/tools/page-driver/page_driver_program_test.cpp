// The real page-driver.exe, started beside the test program: its help, its
// scripts from a file, and a conversation over standard input that drives
// the real hang service's page.
#include "support/hang_service_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "driver_values.h"
#include "support/child_process.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin::page_driver {
namespace {

using testing::ChildProcess;
using testing::ProgramFolder;
using testing::ReadWholeFile;

std::string DriverCommand(const std::string& arguments) {
    return "\"" + ProgramFolder() + "\\page-driver.exe\" " + arguments;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

TEST(PageDriverProgramTest, HelpListsCommandsAndOperations) {
    testing::TempFolder folder;
    ChildProcess driver;
    ASSERT_TRUE(driver.Start(DriverCommand("--help"), folder.File("help.txt")));
    EXPECT_EQ(driver.Wait(30000), 0);
    const std::string help = ReadWholeFile(folder.File("help.txt"));
    EXPECT_NE(help.find("  screenshot FILE.png"), std::string::npos) << help;
    EXPECT_NE(help.find("  GetButtonInfo ordinal   out: caption name id type element   -> bool"), std::string::npos);
}

TEST(PageDriverProgramTest, ScriptFileAnswersEveryLineAndTheExitCodeTellsOfErrors) {
    testing::TempFolder folder;
    std::ofstream(folder.File("page.html"), std::ios::binary) << "<span id=zt_msg>ok</span>";
    const std::string good = "load \"" + folder.File("page.html") + "\"\r\n\nGetSpanInnerHtml zt_msg\r\nquit\r\n"
                             "GetSpanInnerHtml never_run\r\n";
    std::ofstream(folder.File("good.txt"), std::ios::binary) << good;
    std::ofstream(folder.File("bad.txt"), std::ios::binary) << "Nonsense\nGetSpanInnerHtml zt_msg\n";

    ChildProcess driver;
    ASSERT_TRUE(driver.Start(DriverCommand("\"" + folder.File("good.txt") + "\""), folder.File("good.out")));
    EXPECT_EQ(driver.Wait(60000), 0);
    const std::vector<std::string> expected = {R"({"op":"load","result":true})",
                                               R"({"op":"GetSpanInnerHtml","result":"ok"})",
                                               R"({"op":"quit","result":null})"};
    EXPECT_EQ(Lines(ReadWholeFile(folder.File("good.out"))), expected);

    ChildProcess failing;
    ASSERT_TRUE(failing.Start(DriverCommand("\"" + folder.File("bad.txt") + "\""), folder.File("bad.out")));
    EXPECT_EQ(failing.Wait(60000), 1);
    const auto lines = Lines(ReadWholeFile(folder.File("bad.out")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].find(R"({"op":"Nonsense","error":)"), 0u) << lines[0];
    EXPECT_EQ(lines[1], R"({"op":"GetSpanInnerHtml","result":""})");
}

// A driver fed line by line over a pipe; each answer read as it arrives.
class DriverConversation {
public:
    DriverConversation() { started_ = process_.StartWithInput(DriverCommand(""), folder_.File("answers.txt")); }
    bool started() const { return started_; }
    ChildProcess& process() { return process_; }

    Json Ask(const std::string& line) {
        if (!process_.WriteInput(line + "\n")) return nullptr;
        const size_t wanted = ++asked_;
        std::vector<std::string> lines;
        testing::PumpUntil([&] {
            lines = Lines(ReadWholeFile(folder_.File("answers.txt")));
            return lines.size() >= wanted || !process_.Running();
        }, 60000);
        return lines.size() >= wanted ? Json::parse(lines[wanted - 1], nullptr, false) : Json(nullptr);
    }

private:
    testing::TempFolder folder_;
    ChildProcess process_;
    bool started_ = false;
    size_t asked_ = 0;
};

TEST(PageDriverProgramTest, DrivesTheHangServicePageUntilItAsksForTheCaptcha) {
    testing::HangServiceProcess service;
    ASSERT_GT(service.port(), 0);
    DriverConversation driver;
    ASSERT_TRUE(driver.started());

    EXPECT_EQ(driver.Ask("load " + service.Url("/"))["result"], true);
    EXPECT_EQ(driver.Ask("SetTextInputValue userqq 123456")["result"], true);
    EXPECT_EQ(driver.Ask("SetTextInputValue pwd \"pa ss\\\"word\"")["result"], true);
    EXPECT_EQ(driver.Ask("ClickButton button")["result"], true);
    // The page posts the form and shows the service's answer when it comes.
    const std::string request = AnsiToUtf8("请输入验证码");
    Json status;
    EXPECT_TRUE(testing::PumpUntil([&] {
        status = driver.Ask("GetSpanInnerHtml zt_msg");
        return status["result"] == request || status.contains("error");
    }, 30000)) << status.dump();
    EXPECT_EQ(status["result"], request);

    const auto session = service.OnlySession();
    ASSERT_TRUE(session);
    EXPECT_EQ((*session).at("userqq"), "123456");
    // The service never prints a password; it answers whether one matches.
    EXPECT_TRUE(service.PasswordMatches((*session).at("id"), "pa ss\"word"));
    EXPECT_EQ((*session).at("starts"), "1");

    EXPECT_EQ(driver.Ask("quit")["result"], nullptr);
    EXPECT_EQ(driver.process().Wait(30000), 0);
}

}  // namespace
}  // namespace corvalin::page_driver
