// httplib brings winsock2, which must come before windows.h.
#include <httplib.h>

#include "client/corvalin_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/unique.h"

namespace corvalin::testing {

namespace {

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() >= end) return done();
        Sleep(25);
    }
    return true;
}

bool CorvalinRun::StartService() {
    // The previous service may still hold the port for a moment.
    service_.reset();
    WaitUntil([&] {
        auto service = std::make_unique<HangServiceProcess>("", port_);
        if (service->port() == port_) service_ = std::move(service);
        return service_ != nullptr;
    }, 10000);
    return service_ != nullptr;
}

CorvalinRun::CorvalinRun(bool withService) : port_(CORVALIN_E2E_SERVICE_PORT) {
    if (withService) {
        if (!StartService()) {
            failure_ = "the hang service cannot listen on port " + std::to_string(port_);
            return;
        }
    } else {
        httplib::Client probe("127.0.0.1", port_);
        probe.set_connection_timeout(0, 300000);
        if (probe.Get("/")) {
            failure_ = "something answers on port " + std::to_string(port_);
            return;
        }
    }
    // The copy built for the tests, whose service address names this port.
    if (!process_.Start("\"" + ProgramFolder() + "\\corvalin-e2e.exe\"", folder_.File("corvalin.log"))) {
        failure_ = "corvalin-e2e.exe did not start";
        return;
    }
    WaitUntil([&] {
        mainWindow_ = nullptr;
        for (HWND w : VisibleWindows())
            if (TextOf(w) == "Corvalin") mainWindow_ = w;
        return mainWindow_ != nullptr || !process_.Running();
    }, 20000);
    if (!mainWindow_) failure_ = "no main window appeared";
}

void EndLeftoversOf(DWORD program) {
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return;
    std::vector<PROCESSENTRY32> entries;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
        entries.push_back(entry);
    std::vector<DWORD> ending{program};   // the program, and each leftover as it is ended
    auto alive = [&](DWORD id) {
        for (const PROCESSENTRY32& e : entries)
            if (e.th32ProcessID == id) return std::find(ending.begin(), ending.end(), id) == ending.end();
        return false;
    };
    // Again while something ends: what an ended leftover started is next.
    for (bool ended = true; ended;) {
        ended = false;
        for (const PROCESSENTRY32& e : entries) {
            if (lstrcmpiA(e.szExeFile, "empty.exe") != 0 && lstrcmpiA(e.szExeFile, "conhost.exe") != 0) continue;
            if (std::find(ending.begin(), ending.end(), e.th32ProcessID) != ending.end()) continue;
            // A tool started as the program ended no longer shows up as its child.
            if (alive(e.th32ParentProcessID)) continue;
            UniqueHandle leftover(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, e.th32ProcessID));
            if (leftover) {
                TerminateProcess(leftover.get(), 1);
                WaitForSingleObject(leftover.get(), 5000);
            }
            ending.push_back(e.th32ProcessID);
            ended = true;
        }
    }
}

CorvalinRun::~CorvalinRun() {
    const DWORD program = process_.id();
    process_.Terminate();
    if (program != 0) EndLeftoversOf(program);
}

std::vector<HWND> CorvalinRun::VisibleWindows() const {
    struct Search {
        DWORD process;
        std::vector<HWND> found;
    } search{process_.id(), {}};
    struct Visit {
        static BOOL CALLBACK Window(HWND window, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->process && IsWindowVisible(window)) s->found.push_back(window);
            return TRUE;
        }
    };
    EnumWindows(Visit::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CorvalinRun::FindOwnWindow(const std::string& title) const {
    for (HWND w : VisibleWindows())
        if (TextOf(w) == title) return w;
    return nullptr;
}

HWND CorvalinRun::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(mainWindow_, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND CorvalinRun::ChildAt(const char* className, int left, int top) const {
    for (HWND child = GetWindow(mainWindow_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const POINT at = PositionInParent(child);
        if (at.x == left && at.y == top && ClassOf(child) == className) return child;
    }
    return nullptr;
}

HWND CorvalinRun::Button(const std::string& caption) const {
    return FindDescendant(mainWindow_, "Button", caption);
}

HWND CorvalinRun::StatusLine() const {
    for (HWND child = GetWindow(mainWindow_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child).rfind("状态：", 0) == 0) return child;
    return nullptr;
}

HWND CorvalinRun::CaptchaPicture() const {
    for (HWND child = GetWindow(mainWindow_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = WindowRectOf(child);
        const POINT at = PositionInParent(child);
        if (r.right - r.left == 130 && r.bottom - r.top == 53 && at.x == 240) return child;
    }
    return nullptr;
}

HWND CorvalinRun::CaptchaCaption() const {
    for (HWND child = GetWindow(mainWindow_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child) == "验证码：") return child;
    return nullptr;
}

std::string CorvalinRun::StatusText() const {
    return TextOf(StatusLine());
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

POINT PositionInParent(HWND window) {
    RECT r = WindowRectOf(window);
    POINT at{r.left, r.top};
    if (HWND parent = GetParent(window)) ScreenToClient(parent, &at);
    return at;
}

std::string TextOf(HWND window) {
    if (!window) return {};
    // GetWindowText of another process's window answers its stored caption, not
    // what was typed into an edit box; the message asks the control itself.
    char text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    return text;
}

HWND FindDescendant(HWND parent, const char* className, const std::string& text) {
    struct Search {
        const char* className;
        const std::string& text;
        HWND found;
    } search{className, text, nullptr};
    struct Visit {
        static BOOL CALLBACK Window(HWND window, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (ClassOf(window) == s->className && (s->text.empty() || TextOf(window) == s->text)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumChildWindows(parent, Visit::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::string> DescendantTexts(HWND parent) {
    std::vector<std::string> texts;
    struct Visit {
        static BOOL CALLBACK Window(HWND window, LPARAM data) {
            reinterpret_cast<std::vector<std::string>*>(data)->push_back(TextOf(window));
            return TRUE;
        }
    };
    EnumChildWindows(parent, Visit::Window, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void BringToFront(HWND topLevel) {
    SetForegroundWindow(topLevel);
    WaitUntil([&] { return GetForegroundWindow() == topLevel; }, 1000);
}

namespace {
// One mouse event at an absolute screen point.
void MouseAt(int screenX, int screenY, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screenX * 65535 / (width - 1);
    input.mi.dy = screenY * 65535 / (height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
}
}  // namespace

void MoveMouseTo(int screenX, int screenY) {
    MouseAt(screenX, screenY, 0);
    Sleep(30);
}

void ClickAt(int screenX, int screenY) {
    MouseAt(screenX, screenY, 0);
    Sleep(30);
    MouseAt(screenX, screenY, MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    MouseAt(screenX, screenY, MOUSEEVENTF_LEFTUP);
    Sleep(100);
}

void DoubleClickAt(int screenX, int screenY) {
    MouseAt(screenX, screenY, 0);
    Sleep(30);
    for (int i = 0; i < 2; ++i) {
        MouseAt(screenX, screenY, MOUSEEVENTF_LEFTDOWN);
        Sleep(20);
        MouseAt(screenX, screenY, MOUSEEVENTF_LEFTUP);
        Sleep(20);
    }
    Sleep(100);
}

void DragFromTo(POINT from, POINT to) {
    MouseAt(from.x, from.y, 0);
    Sleep(30);
    MouseAt(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    for (int step = 1; step <= 10; ++step) {
        MouseAt(from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10, 0);
        Sleep(30);
    }
    MouseAt(to.x, to.y, MOUSEEVENTF_LEFTUP);
    Sleep(100);
}

void Click(HWND window) {
    BringToFront(GetAncestor(window, GA_ROOT));
    const RECT r = WindowRectOf(window);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

namespace {
void SendKey(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}
}  // namespace

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, false);
    Sleep(20);
    SendKey(virtualKey, true);
    Sleep(60);
}

void PressKeyWith(WORD modifier, WORD virtualKey) {
    SendKey(modifier, false);
    Sleep(20);
    PressKey(virtualKey);
    SendKey(modifier, true);
    Sleep(60);
}

namespace {
LPARAM KeyData(WORD virtualKey, bool up) {
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    return static_cast<LPARAM>(1 | (scan << 16) | (up ? (3u << 30) : 0));
}
// The program's message loop translates the key into its character.
void PostKey(HWND control, WORD virtualKey) {
    PostMessageA(control, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    PostMessageA(control, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
}
}  // namespace

void TypeInto(HWND control, const std::string& text) {
    // A text read is a sent message, which the program answers before the
    // posted keys: wait until the keys have arrived (or the box refused them).
    const std::string expected = TextOf(control) + text;
    for (char c : text) PostKey(control, LOBYTE(VkKeyScanA(c)));
    WaitUntil([&] { return TextOf(control) == expected; }, 5000);
}

void PressKeyIn(HWND control, WORD virtualKey) {
    PostKey(control, virtualKey);
    Sleep(150);
}

DecodedPicture CaptureClient(HWND window, int width, int height) {
    DecodedPicture picture;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return picture;
    {
        SelectScope select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), origin.x, origin.y, SRCCOPY);
        GdiFlush();
    }
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        picture.rgb[i * 3] = bgra[i * 4 + 2];
        picture.rgb[i * 3 + 1] = bgra[i * 4 + 1];
        picture.rgb[i * 3 + 2] = bgra[i * 4];
    }
    return picture;
}

double MeanDifference(const DecodedPicture& a, const DecodedPicture& b) {
    const int width = std::min(a.width, b.width), height = std::min(a.height, b.height);
    if (width <= 0 || height <= 0) return 255;
    long long total = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                total += std::abs(static_cast<int>(a.rgb[(static_cast<std::size_t>(y) * a.width + x) * 3 + c]) -
                                  b.rgb[(static_cast<std::size_t>(y) * b.width + x) * 3 + c]);
    return static_cast<double>(total) / (static_cast<double>(width) * height * 3);
}

}  // namespace corvalin::testing
