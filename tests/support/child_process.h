// A program started by a test, its standard output and error going to a
// file; ended (TerminateProcess) with the object unless it has exited.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "base/unique.h"

namespace corvalin::testing {

// The folder of the running test program, where the other built programs lie.
std::string ProgramFolder();

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // `commandLine` holds the quoted program path and its arguments; output goes
    // to `outputFile` (nowhere when empty). False when it cannot be started.
    bool Start(const std::string& commandLine, const std::string& outputFile = {});
    // The same, with standard input a pipe the test writes with WriteInput.
    bool StartWithInput(const std::string& commandLine, const std::string& outputFile);
    bool WriteInput(std::string_view text);
    bool Running() const;
    // The exit code once it ended within `timeoutMs`, otherwise -1000.
    long Wait(int timeoutMs);
    void Terminate();
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }

private:
    bool Launch(const std::string& commandLine, const std::string& outputFile, HANDLE input);

    UniqueHandle process_;
    UniqueHandle input_;
    DWORD id_ = 0;
};

// The whole content of a file, empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace corvalin::testing
