#include "support/child_process.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace corvalin::testing {

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/"));
}

ChildProcess::~ChildProcess() {
    Terminate();
}

bool ChildProcess::Start(const std::string& commandLine, const std::string& outputFile) {
    return Launch(commandLine, outputFile, nullptr);
}

bool ChildProcess::StartWithInput(const std::string& commandLine, const std::string& outputFile) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return false;
    UniqueHandle childEnd(read);
    input_.reset(write);
    // Only the child's end is inherited.
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    return Launch(commandLine, outputFile, childEnd.get());
}

bool ChildProcess::WriteInput(std::string_view text) {
    DWORD written = 0;
    return input_ && WriteFile(input_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool ChildProcess::Launch(const std::string& commandLine, const std::string& outputFile, HANDLE input) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile output;
    if (!outputFile.empty()) {
        output.reset(CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output ? output.get() : nullptr;
    startup.hStdError = output ? output.get() : nullptr;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    PROCESS_INFORMATION info{};
    // No console at all: for a console child Wine would start a conhost.exe,
    // which can outlive the child and the test.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    return true;
}

bool ChildProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

long ChildProcess::Wait(int timeoutMs) {
    if (!process_ || WaitForSingleObject(process_.get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return -1000;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<long>(code);
}

void ChildProcess::Terminate() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace corvalin::testing
