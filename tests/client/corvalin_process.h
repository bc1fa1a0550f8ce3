// Corvalin as a user meets it: the real program started against the real
// local hang service, found in the window tree and driven through the input
// system (SendInput), with what it shows read back from its windows and the screen.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/hang_service_process.h"
#include "support/jpeg_decoding.h"
#include "support/temp_folder.h"

namespace corvalin::testing {

// Waits (polling) until `done()` holds; returns done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

// The program's service address is fixed at build time: the tests run
// corvalin-e2e.exe, the program built with an address on a port of this
// build tree's own (CORVALIN_E2E_SERVICE_PORT).
class CorvalinRun {
public:
    // Starts a hang service on that port (unless `withService` is false:
    // then nothing may listen there) and Corvalin, and waits for the main window.
    explicit CorvalinRun(bool withService = true);
    ~CorvalinRun();

    bool started() const { return mainWindow_ != nullptr; }
    // Ends the service, as a crash or an update would; the program runs on.
    void StopService() { service_.reset(); }
    // Starts a fresh service (no sessions) on the program's port; false when it cannot listen.
    bool StartService();
    std::string failure() const { return failure_; }
    HangServiceProcess& service() { return *service_; }
    ChildProcess& process() { return process_; }
    HWND mainWindow() const { return mainWindow_; }
    int port() const { return port_; }

    // Controls of the main window, found by class and form position.
    HWND AccountBox() const { return ChildAt("Edit", 79, 87); }
    HWND PasswordBox() const { return ChildAt("Edit", 79, 120); }
    HWND CaptchaBox() const { return ChildAt("Edit", 78, 154); }
    HWND Button(const std::string& caption) const;
    HWND StatusLine() const;
    HWND CaptchaPicture() const;
    HWND CaptchaCaption() const;

    std::string StatusText() const;
    // The top-level window of the program captioned `title`, if shown.
    HWND FindOwnWindow(const std::string& title) const;
    // Every visible top-level window of the program.
    std::vector<HWND> VisibleWindows() const;
    HWND FocusedWindow() const;

private:
    HWND ChildAt(const char* className, int left, int top) const;

    std::unique_ptr<HangServiceProcess> service_;
    TempFolder folder_;
    ChildProcess process_;
    HWND mainWindow_ = nullptr;
    int port_ = 0;
    std::string failure_;
};

// The program starts the working-set tool on every deactivation. Under Wine
// that child can hang on a parent that has gone, and the console host Wine
// starts for it (conhost.exe) can outlive both: ends every "empty.exe" and
// "conhost.exe" that `program` started, that they started, or whose parent has gone.
void EndLeftoversOf(DWORD program);

// Window geometry as a user sees it.
RECT WindowRectOf(HWND window);
// The window's left and top in its parent's client area.
POINT PositionInParent(HWND window);
std::string TextOf(HWND window);
// The first descendant of `parent` whose class and (when given) text match.
HWND FindDescendant(HWND parent, const char* className, const std::string& text = {});
// Text of every descendant, in tree order.
std::vector<std::string> DescendantTexts(HWND parent);

// Input through the system's input queue.
void BringToFront(HWND topLevel);
void ClickAt(int screenX, int screenY);
void DoubleClickAt(int screenX, int screenY);
// Presses the left button at one point, moves in steps and lets go at another.
void DragFromTo(POINT from, POINT to);
void MoveMouseTo(int screenX, int screenY);
void Click(HWND window);
void PressKey(WORD virtualKey);
// A key pressed while another is held down (Alt+Space, Shift+Tab).
void PressKeyWith(WORD modifier, WORD virtualKey);
// Typing into a control: its key-down and key-up messages posted to it, which
// the program's message loop translates into characters as it does for the keyboard.
void TypeInto(HWND control, const std::string& text);   // lower-case letters, digits
void PressKeyIn(HWND control, WORD virtualKey);

// The pixels of a window's client area as shown on the screen.
DecodedPicture CaptureClient(HWND window, int width, int height);
// Mean absolute difference per channel between two pictures' overlap.
double MeanDifference(const DecodedPicture& a, const DecodedPicture& b);

}  // namespace corvalin::testing
