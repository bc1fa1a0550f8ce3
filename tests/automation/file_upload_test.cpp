// The file upload against the real browser box: a file input filled without
// a dialog, the form's multipart post carrying the file to a loopback
// server, and the dialog function whole again afterwards.
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "automation/api_hook.h"
#include "automation/file_upload.h"
#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "base/text.h"
#include "base/unique.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin {
namespace {

std::uint8_t* DialogFunction() {
    HMODULE dialogs = LoadLibraryA("comdlg32.dll");
    return reinterpret_cast<std::uint8_t*>(GetProcAddress(dialogs, "GetOpenFileNameW"));
}

std::array<std::uint8_t, ApiHook::kSavedSize> CodeAt(const std::uint8_t* address) {
    std::array<std::uint8_t, ApiHook::kSavedSize> bytes;
    std::memcpy(bytes.data(), address, bytes.size());
    return bytes;
}

// Counts the dialog windows (#32770) this thread creates while it lives.
class DialogWatch {
public:
    DialogWatch() : hook_(SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId())) { created_ = 0; }
    ~DialogWatch() { UnhookWindowsHookEx(hook_); }
    int created() const { return created_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            char name[16] = {};
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (std::strcmp(name, "#32770") == 0) ++created_;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int created_ = 0;
    HHOOK hook_;
};

// Closes the first dialog window of this process that appears, from a thread
// of its own (the click that opened it is waiting in the dialog's loop).
class DialogCloser {
public:
    DialogCloser()
        : thread_([this] {
              const ULONGLONG deadline = GetTickCount64() + 30000;
              while (!stop_ && GetTickCount64() < deadline) {
                  if (HWND dialog = FindProcessDialog()) {
                      closed_ = true;
                      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                      return;
                  }
                  Sleep(20);   // a poll of the window list, not a wait for time
              }
          }) {}
    ~DialogCloser() {
        stop_ = true;
        thread_.join();
    }
    bool closed() const { return closed_; }

private:
    static BOOL CALLBACK CheckWindow(HWND window, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (process != GetCurrentProcessId() || std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    static HWND FindProcessDialog() {
        HWND found = nullptr;
        EnumWindows(&CheckWindow, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    std::atomic<bool> stop_{false};
    std::atomic<bool> closed_{false};
    std::thread thread_;
};

TEST(FileUploadTest, SetUploadFileFillsTheInputWithoutADialogAndTheFormPostsTheFile) {
    testing::TempFolder folder;
    // Wine keeps file names in the host's locale, which may not spell Chinese.
    const std::string path = folder.File("avatar.txt");
    const std::string content = "file bytes \x01\x02 end";
    {
        UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file && WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    }

    struct Received {
        std::mutex lock;
        bool arrived = false;
        std::string content, filename;
    };
    auto received = std::make_shared<Received>();
    testing::LoopbackServer server;
    server.server().Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("<html><body><form method=post enctype=multipart/form-data action=/upload>"
                             "<input type=text name=note value=n><input type=file name=up id=up></form></body></html>",
                             "text/html");
    });
    server.server().Post("/upload", [received](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard<std::mutex> hold(received->lock);
        received->arrived = true;
        // The server takes the multipart body apart into its files.
        const httplib::MultipartFormData file = request.get_file_value("up");
        received->content = file.content;
        received->filename = file.filename;
        response.set_content("<html><body>thanks</body></html>", "text/html");
    });
    ASSERT_NE(server.Start(), 0);
    testing::HostedPage page;
    ASSERT_TRUE(page.Navigate(server.Url("/")));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));

    const auto original = CodeAt(DialogFunction());
    {
        DialogWatch watch;
        automation.SetUploadFile("up", path);
        EXPECT_EQ(watch.created(), 0);
    }
    EXPECT_EQ(CodeAt(DialogFunction()), original);
    EXPECT_EQ(page.Evaluate("document.getElementById('up').value"), path);
    EXPECT_EQ(pendingUploadPath, path);

    page.Evaluate("document.forms[0].submit()");
    ASSERT_TRUE(testing::PumpUntil([&] {
        std::lock_guard<std::mutex> hold(received->lock);
        return received->arrived;
    }, 10000));
    std::lock_guard<std::mutex> hold(received->lock);
    EXPECT_EQ(received->content, content);
    EXPECT_NE(received->filename.find("avatar.txt"), std::string::npos) << received->filename;
}

TEST(FileUploadTest, ALaterClickOpensTheRealDialog) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><input type=file name=up id=up></body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    automation.SetUploadFile("up", "C:\\windows\\win.ini");
    EXPECT_EQ(page.Evaluate("document.getElementById('up').value"), "C:\\windows\\win.ini");

    DialogWatch watch;
    DialogCloser closer;
    page.Evaluate("document.getElementById('up').click()");   // returns when the dialog is closed
    EXPECT_TRUE(closer.closed());
    EXPECT_GE(watch.created(), 1);
    // Cancelled: the input keeps what it had.
    EXPECT_EQ(page.Evaluate("document.getElementById('up').value"), "C:\\windows\\win.ini");
}

TEST(FileUploadTest, TheReplacementNeverWritesPastTheCallersBuffer) {
    pendingUploadPath = "C:\\上传\\a.txt";   // 11 characters and the terminator
    std::array<wchar_t, 16> buffer;
    buffer.fill(L'x');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = buffer.data();

    for (DWORD tooSmall : {0u, 5u, 11u}) {
        dialog.nMaxFile = tooSmall;
        EXPECT_EQ(UploadDialogReplacement(&dialog), FALSE) << tooSmall;
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](wchar_t c) { return c == L'x'; })) << tooSmall;
    }
    dialog.nMaxFile = 12;   // exactly the path and its terminator
    EXPECT_EQ(UploadDialogReplacement(&dialog), TRUE);
    EXPECT_EQ(std::wstring(buffer.data()), L"C:\\上传\\a.txt");
    EXPECT_EQ(buffer[12], L'x');
    EXPECT_EQ(dialog.nFileOffset, 6);
    EXPECT_EQ(dialog.nFileExtension, 8);

    pendingUploadPath.clear();
    EXPECT_EQ(UploadDialogReplacement(&dialog), FALSE);
}

int replacementCalls = 0;
BOOL WINAPI CountingReplacement(OPENFILENAMEW*) {
    ++replacementCalls;
    return TRUE;
}

TEST(FileUploadTest, ApiHookPatchesPausesResumesAndRestoresOnDestruction) {
    using Open = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto open = reinterpret_cast<Open>(reinterpret_cast<void*>(DialogFunction()));
    const auto original = CodeAt(DialogFunction());
    replacementCalls = 0;
    {
        ApiHook hook;
        EXPECT_FALSE(hook.Install("comdlg32.dll", "NoSuchFunction", reinterpret_cast<const void*>(&CountingReplacement)));
        EXPECT_FALSE(hook.Install("no-such-module.dll", "GetOpenFileNameW", reinterpret_cast<const void*>(&CountingReplacement)));
        ASSERT_TRUE(hook.Install("comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<const void*>(&CountingReplacement)));
        ASSERT_EQ(hook.Entries().size(), 1u);
        ApiHook::Entry& entry = *hook.Find("comdlg32.dll", "GetOpenFileNameW");
        EXPECT_EQ(entry.state, "继续");
        EXPECT_EQ(entry.saved, original);
        const auto patch = ApiHook::JumpTo(reinterpret_cast<const void*>(&CountingReplacement));
        EXPECT_EQ(std::memcmp(DialogFunction(), patch.data(), patch.size()), 0);
        OPENFILENAMEW dialog{};
        EXPECT_EQ(open(&dialog), TRUE);
        EXPECT_EQ(replacementCalls, 1);

        hook.Pause(entry);
        EXPECT_EQ(entry.state, "暂停");
        EXPECT_EQ(CodeAt(DialogFunction()), original);
        // Installing again resumes the entry rather than adding one.
        EXPECT_TRUE(hook.Install("comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<const void*>(&CountingReplacement)));
        EXPECT_EQ(hook.Entries().size(), 1u);
        EXPECT_EQ(entry.state, "继续");
        EXPECT_EQ(open(&dialog), TRUE);
        EXPECT_EQ(replacementCalls, 2);
    }
    EXPECT_EQ(CodeAt(DialogFunction()), original);
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_TRUE(VirtualQuery(DialogFunction(), &memory, sizeof memory));
    EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
}

}  // namespace
}  // namespace corvalin
