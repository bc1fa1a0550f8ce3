// The console driver's session: one browser box in a window of its own, one
// PageAutomation, and the lines of a script run against them, each answered
// with one line of JSON.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "automation/page_automation.h"
#include "base/unique.h"
#include "driver_values.h"

namespace corvalin::page_driver {

class PageDriver {
public:
    // The box's window stays hidden unless `visible`.
    explicit PageDriver(bool visible);
    PageDriver(const PageDriver&) = delete;
    PageDriver& operator=(const PageDriver&) = delete;
    ~PageDriver();

    bool ready() const { return box_ != nullptr; }
    HWND box() const { return box_; }

    // The answer to one script line (an operation or a driver command), or
    // an empty text for a blank line or a "#" comment, which answer nothing.
    std::string Run(std::string_view line);
    // `quit` was run.
    bool finished() const { return finished_; }
    // Some line answered with an error.
    bool failed() const { return failed_; }

private:
    Json RunOperation(const std::string& name, const std::vector<std::string>& words, std::string& error);
    bool Load(const std::string& address);
    void Wait(int milliseconds);
    bool Evaluate(const std::string& code, std::string& text);
    std::string Tree() const;
    bool Screenshot(const std::string& path) const;

    PageAutomation automation_;
    UniqueWindow window_;
    HWND box_ = nullptr;
    bool finished_ = false;
    bool failed_ = false;
};

// What --help prints: the usage, the driver commands and every operation
// with its arguments.
std::string HelpText();

}  // namespace corvalin::page_driver
