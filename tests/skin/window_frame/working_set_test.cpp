// The working-set job: the tool written into the Windows directory and run
// on this process, with a test stand-in that records how it was started.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "skin/window_frame/skinned_window_fixture.h"
#include "skin/working_set.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

extern const unsigned char WorkingSetTool[];
extern const std::size_t WorkingSetToolSize;

namespace corvalin::testing {
namespace {

using WorkingSetTest = SkinTest;

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Points "windir" somewhere else for one test.
class WindowsDirectory {
public:
    explicit WindowsDirectory(const char* folder) {
        char old[MAX_PATH] = {};
        had_ = GetEnvironmentVariableA("windir", old, MAX_PATH) > 0;
        old_ = old;
        SetEnvironmentVariableA("windir", folder);
    }
    ~WindowsDirectory() { SetEnvironmentVariableA("windir", had_ ? old_.c_str() : nullptr); }

private:
    bool had_ = false;
    std::string old_;
};

const std::string kRecorder = ProgramFolder() + "\\argument_recorder.exe";

TEST_F(WorkingSetTest, DeactivationRunsTheToolOnThisProcessByItsQuotedPath) {
    TempFolder temp;
    // "...\dir with space\empty.exe 123" unquoted would start "...\dir.exe".
    const std::string folder = temp.File("dir with space");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(kRecorder.c_str(), (folder + "\\empty.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(kRecorder.c_str(), temp.File("dir.exe").c_str(), FALSE));
    WindowsDirectory windir(folder.c_str());

    SkinnedWindow w(200, 150);
    SendMessageA(w.window(), WM_ACTIVATEAPP, FALSE, 0);
    const std::string record = folder + "\\empty.exe.args";
    ASSERT_TRUE(PumpUntil([&] { return Exists(record) && !ReadFile(record).empty(); }, 10000));
    EXPECT_EQ(ReadFile(record), std::to_string(GetCurrentProcessId()) + "\n");
    EXPECT_FALSE(Exists(temp.File("dir.exe.args")));

    // Activation starts nothing, nor does the deactivation of a window that
    // is no longer shown (a program closing its window as it exits): of the
    // three messages below only the last runs the tool, once.
    DeleteFileA(record.c_str());
    SendMessageA(w.window(), WM_ACTIVATEAPP, TRUE, 0);
    ShowWindow(w.window(), SW_HIDE);
    SendMessageA(w.window(), WM_ACTIVATEAPP, FALSE, 0);
    ShowWindow(w.window(), SW_SHOWNOACTIVATE);
    SendMessageA(w.window(), WM_ACTIVATEAPP, FALSE, 0);
    ASSERT_TRUE(PumpUntil([&] { return Exists(record) && !ReadFile(record).empty(); }, 10000));
    PumpMessagesFor(1000);   // time for a second run to show, were there one
    EXPECT_EQ(ReadFile(record), std::to_string(GetCurrentProcessId()) + "\n");
}

TEST_F(WorkingSetTest, AMissingToolIsWrittenFromTheBuiltInCopy) {
    TempFolder temp;
    WindowsDirectory windir(temp.path().c_str());
    EXPECT_EQ(TrimWorkingSet(nullptr), 0u);
    const std::string written = ReadFile(temp.File("empty.exe"));
    ASSERT_EQ(written.size(), WorkingSetToolSize);
    EXPECT_EQ(written, std::string(reinterpret_cast<const char*>(WorkingSetTool), WorkingSetToolSize));
    EXPECT_EQ(written.substr(0, 2), "MZ");
    // Only the tool is left behind, no temporary file.
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(temp.File("*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(files, 1);
}

TEST_F(WorkingSetTest, AToolAlreadyThereIsKept) {
    TempFolder temp;
    ASSERT_TRUE(CopyFileA(kRecorder.c_str(), temp.File("empty.exe").c_str(), FALSE));
    const std::string before = ReadFile(temp.File("empty.exe"));
    WindowsDirectory windir(temp.path().c_str());
    TrimWorkingSet(nullptr);
    EXPECT_EQ(ReadFile(temp.File("empty.exe")), before);
    EXPECT_EQ(ReadFile(temp.File("empty.exe.args")), std::to_string(GetCurrentProcessId()) + "\n");
}

TEST_F(WorkingSetTest, AMissingOrUnwritableWindowsDirectoryIsIgnored) {
    {
        WindowsDirectory windir(nullptr);
        EXPECT_EQ(WorkingSetToolPath(), "");
        EXPECT_EQ(TrimWorkingSet(nullptr), 0u);
        EXPECT_FALSE(Exists("\\empty.exe"));
    }
    {
        TempFolder temp;
        const std::string missing = temp.File("no such folder");
        WindowsDirectory windir(missing.c_str());
        EXPECT_EQ(WorkingSetToolPath(), missing + "\\empty.exe");
        EXPECT_FALSE(EnsureWorkingSetTool(WorkingSetToolPath()));
        EXPECT_EQ(TrimWorkingSet(nullptr), 0u);
        EXPECT_FALSE(Exists(missing));
    }
}

}  // namespace
}  // namespace corvalin::testing
