// A fixture for tests that load the program's windows: the runtime started
// once, no handlers at the start, and every window gone at the end.
#pragma once
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "base/unique.h"
#include "shell/shell.h"

namespace corvalin::shell::testing {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads MainWindow modelessly and fails the test when it cannot.
    void LoadMain();
    HWND Handle(ControlId windowId, ControlId controlId) const;
    static std::string Text(HWND window);
};

// Runs this test program again with only the named child scenario
// (ShellChild.DISABLED_<scenario>). While it runs, a message box captioned
// "错误" of the child is read and answered with OK.
struct ChildRun {
    DWORD exitCode = 0;
    bool finished = false;
    std::string errorBoxText;   // empty when no such box appeared
};
ChildRun RunChildScenario(const std::string& scenario, const std::string& outputFile);

// Inside a child scenario: the file named by the parent, and a line added to it.
std::string ChildOutputFile();
void AppendChildOutput(const std::string& text);

std::string ReadWholeFile(const std::string& path);

}  // namespace corvalin::shell::testing
