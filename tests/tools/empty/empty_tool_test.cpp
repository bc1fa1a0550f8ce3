#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "base/unique.h"
#include "working_set_trim.h"

namespace {

using corvalin::UniqueHandle;

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

SIZE_T WorkingSetOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) return 0;
    return counters.WorkingSetSize;
}

struct Started {
    UniqueHandle process;
    DWORD id = 0;
};

Started Start(const std::string& program, const std::string& arguments, HANDLE output = nullptr) {
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return {UniqueHandle(info.hProcess), info.dwProcessId};
}

DWORD RunToEnd(const std::string& arguments, std::string* printed = nullptr) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return MAXDWORD;
    UniqueHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
    Started tool = Start(ProgramFolder() + "\\empty.exe", arguments, writer.get());
    writer.reset();
    if (!tool.process) return MAXDWORD;
    std::string text;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(reader.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) text.append(buffer, got);
    WaitForSingleObject(tool.process.get(), 10000);
    DWORD code = MAXDWORD;
    GetExitCodeProcess(tool.process.get(), &code);
    if (printed) *printed = text;
    return code;
}

// Whether the platform honours a trim request at all: it touches 32 MB of its
// own and asks for its own working set to be emptied. Wine 8 answers the
// request with success and keeps every page, so there a drop cannot be seen.
bool PlatformTrimsWorkingSets() {
    const SIZE_T size = 32u << 20;
    auto* block = static_cast<volatile char*>(
        VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block) return false;
    for (SIZE_T i = 0; i < size; i += 4096) block[i] = 1;
    const SIZE_T before = WorkingSetOf(GetCurrentProcess());
    EmptyWorkingSet(GetCurrentProcess());
    const SIZE_T after = WorkingSetOf(GetCurrentProcess());
    VirtualFree(const_cast<char*>(block), 0, MEM_RELEASE);
    return after + (16u << 20) < before;
}

class BigProcess {
public:
    BigProcess() : child_(Start(ProgramFolder() + "\\working_set_child.exe", "")) {
        for (int i = 0; i < 200 && WorkingSetOf(child_.process.get()) < (48u << 20); ++i) Sleep(25);
    }
    ~BigProcess() {
        if (child_.process) {
            TerminateProcess(child_.process.get(), 0);
            WaitForSingleObject(child_.process.get(), 5000);
        }
    }
    HANDLE process() const { return child_.process.get(); }
    DWORD id() const { return child_.id; }

private:
    Started child_;
};

TEST(EmptyToolTest, WithoutArgumentPrintsUsage) {
    std::string printed;
    EXPECT_EQ(RunToEnd("", &printed), 1u);
    EXPECT_EQ(printed.substr(0, printed.find_first_of("\r\n")), "USAGE: empty.exe {pid | task-name}");
}

TEST(EmptyToolTest, TrimsTheWorkingSetOfAProcessGivenById) {
    BigProcess child;
    ASSERT_TRUE(child.process());
    const SIZE_T before = WorkingSetOf(child.process());
    ASSERT_GE(before, 48u << 20);
    EXPECT_EQ(RunToEnd(std::to_string(child.id())), 0u);
    if (!PlatformTrimsWorkingSets()) GTEST_SKIP() << "this platform accepts trim requests without trimming";
    EXPECT_LT(WorkingSetOf(child.process()), before / 2);
}

TEST(EmptyToolTest, TrimsTheWorkingSetOfAProcessGivenByTaskName) {
    BigProcess child;
    ASSERT_TRUE(child.process());
    const SIZE_T before = WorkingSetOf(child.process());
    ASSERT_GE(before, 48u << 20);
    EXPECT_EQ(RunToEnd("WORKING_SET_CHILD"), 0u);
    if (!PlatformTrimsWorkingSets()) GTEST_SKIP() << "this platform accepts trim requests without trimming";
    EXPECT_LT(WorkingSetOf(child.process()), before / 2);
}

TEST(EmptyToolTest, AnUnknownTargetTrimsNothing) {
    EXPECT_EQ(RunToEnd("no-such-task-here.exe"), 2u);
    EXPECT_EQ(RunToEnd("4294967295"), 2u);
}

TEST(EmptyToolTest, ProcessIdsAreDecimalDigitsOnly) {
    const struct {
        const char* text;
        bool isId;
        DWORD value;
    } cases[] = {
        {"1234", true, 1234},      {"0", true, 0},           {"4294967295", true, MAXDWORD},
        {"4294967296", false, 0},  {"-5", false, 0},         {"12a", false, 0},
        {"", false, 0},            {"notepad.exe", false, 0}, {"99999999999", false, 0},
    };
    for (const auto& c : cases) {
        auto id = corvalin::empty::ParseProcessId(c.text);
        EXPECT_EQ(id.has_value(), c.isId) << c.text;
        if (id && c.isId) {
            EXPECT_EQ(*id, c.value) << c.text;
        }
    }
}

TEST(EmptyToolTest, TaskNamesMatchWithoutCaseAndWithoutExtension) {
    BigProcess child;
    ASSERT_TRUE(child.process());
    for (const char* name : {"working_set_child.exe", "Working_Set_Child", "WORKING_SET_CHILD.EXE"}) {
        auto ids = corvalin::empty::FindProcessesByName(name);
        EXPECT_NE(std::find(ids.begin(), ids.end(), child.id()), ids.end()) << name;
    }
    EXPECT_TRUE(corvalin::empty::FindProcessesByName("working_set").empty());
}

}  // namespace
