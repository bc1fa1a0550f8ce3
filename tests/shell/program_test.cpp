// corvalin.exe itself: its icon resources, and what it shows when started.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/unique.h"
#include "support/temp_folder.h"

namespace {

using corvalin::UniqueHandle;

std::string ProgramPath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self);
    return path.substr(0, path.rfind('\\') + 1) + "corvalin.exe";
}

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ProgramTest, CarriesTheIconGroupDefaultIconAndNoIcon129) {
    corvalin::Unique<ModuleTraits> program(LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program) << ProgramPath();
    HRSRC group = FindResourceA(program.get(), "DEFAULT_ICON", MAKEINTRESOURCEA(14));   // RT_GROUP_ICON
    ASSERT_TRUE(group);
    const auto* header = static_cast<const WORD*>(LockResource(LoadResource(program.get(), group)));
    ASSERT_TRUE(header);
    EXPECT_EQ(header[1], 1);   // icons, not cursors
    ASSERT_EQ(header[2], 3);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 3);
    std::set<int> sizes;
    for (int i = 0; i < 3; ++i) {
        const GroupIconEntry& e = entries[i];
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.bitCount, 32);
        EXPECT_NE(e.id, 129);
        sizes.insert(e.width);
        HRSRC image = FindResourceA(program.get(), MAKEINTRESOURCEA(e.id), MAKEINTRESOURCEA(3));   // RT_ICON
        ASSERT_TRUE(image);
        EXPECT_EQ(SizeofResource(program.get(), image), e.bytes);
        auto* bits = static_cast<BYTE*>(LockResource(LoadResource(program.get(), image)));
        corvalin::UniqueIcon icon(CreateIconFromResourceEx(bits, e.bytes, TRUE, 0x00030000, e.width, e.width, 0));
        EXPECT_TRUE(icon) << int(e.width);
        const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
        EXPECT_EQ(info->biBitCount, 32);
        EXPECT_EQ(info->biWidth, e.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
    corvalin::UniqueIcon big(static_cast<HICON>(LoadImageA(program.get(), "DEFAULT_ICON", IMAGE_ICON, 48, 48, 0)));
    EXPECT_TRUE(big);
    EXPECT_EQ(FindResourceA(program.get(), MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(14)), nullptr);
    EXPECT_EQ(FindResourceA(program.get(), MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(3)), nullptr);
}

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (owner == search->processId && IsWindowVisible(window) && std::string(text) == "Corvalin") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(ProgramTest, StartsWithTheMainWindowFromAnyDirectory) {
    corvalin::testing::TempFolder folder;
    std::string command = "\"" + ProgramPath() + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.path().c_str(),
                               &startup, &process));
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    WindowSearch search{process.dwProcessId};
    for (int i = 0; i < 200 && !search.found; ++i) {
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    if (search.found) {
        RECT r;
        GetWindowRect(search.found, &r);
        EXPECT_EQ(r.right - r.left, 377);
        EXPECT_EQ(r.bottom - r.top, 218);
        EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 377) / 2);
        EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 218) / 2);
        int children = 0;
        for (HWND child = GetWindow(search.found, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++children;
        EXPECT_EQ(children, 14);
        EXPECT_EQ(WaitForSingleObject(processHandle.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still running";
    }
    EXPECT_TRUE(search.found) << "no window captioned Corvalin";
    TerminateProcess(processHandle.get(), 0);
    WaitForSingleObject(processHandle.get(), 5000);
}

}  // namespace
