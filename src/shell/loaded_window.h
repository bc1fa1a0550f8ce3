// The live state of loaded windows and their controls (inside the shell).
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "base/unique.h"
#include "shell/event_dispatch.h"
#include "shell/forms.h"

namespace corvalin::shell {

// A decoded picture: JPEG through libjpeg into a bitmap, the other formats
// as the platform's picture object.
struct Picture {
    UniqueBitmap bitmap;
    Microsoft::WRL::ComPtr<IPicture> platformPicture;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return bitmap || platformPicture; }
};

struct LoadedControl {
    const ControlForm* form = nullptr;
    HWND window = nullptr;        // none for a timer
    UINT_PTR timerId = 0;
    // Common properties; the live window's position and state are read from it.
    int left = 0, top = 0, width = 0, height = 0;
    std::string tag;
    bool visible = true;
    bool disabled = false;
    int cursor = 0;
    // Timer.
    int interval = 0;
    // Labels.
    int textEffect = 0;
    Bytes font;
    UniqueGdiObject fontObject;
    COLORREF textColor = 0;
    int alignment = 0;
    int verticalAlignment = 0;
    bool wordWrap = false;
    // Edit boxes (the brush of WM_CTLCOLOREDIT) and picture boxes.
    COLORREF backColor = 0x00FFFFFF;
    UniqueGdiObject backBrush;
    // Picture box.
    int border = 0;
    Bytes pictureBytes;
    Picture picture;
};

struct LoadedWindow {
    const WindowForm* form = nullptr;
    HWND window = nullptr;
    std::vector<std::unique_ptr<LoadedControl>> controls;
    // Common properties as last written; the live window's are read from it.
    int left = 0, top = 0, width = 0, height = 0;
    std::string tag;
    bool visible = true;
    bool disabled = false;
    int cursor = 0;
    // Windows a modal load disabled, with their previous enabled state.
    std::vector<std::pair<HWND, bool>> disabledByModal;
    bool destroyed = false;
};

// The loaded window of an id, or nullptr.
std::shared_ptr<LoadedWindow> FindLoadedWindow(ControlId windowId);
LoadedControl* FindControl(LoadedWindow& window, ControlId controlId);
bool AnyWindowLoaded();
void DestroyAllLoadedWindows();

// Which loaded window and control (nullptr for the window itself) a window handle belongs to.
struct WindowOwner {
    std::shared_ptr<LoadedWindow> window;
    LoadedControl* control = nullptr;
};
std::optional<WindowOwner> OwnerOf(HWND window);
void BindWindow(HWND window, const std::shared_ptr<LoadedWindow>& owner, LoadedControl* control);
void UnbindWindow(HWND window);

// Raises an event of a control (or, with nullptr, of the window itself).
std::optional<bool> RaiseEvent(const LoadedWindow& window, const LoadedControl* control, EventNumber event,
                               EventArgs args = {});
int CurrentShiftState();

// Creates the child window of a control (nothing for a timer).
void CreateControlWindow(const std::shared_ptr<LoadedWindow>& window, LoadedControl& control, int index);
void RegisterControlClasses();
// Tab and Shift+Tab from `from` (a control, or the window itself): the focus
// goes to the next (previous) edit box or button that can take it.
void MoveFocusAlongTabOrder(const LoadedWindow& window, HWND from, bool backward);
// Paint entry points of the shell's own control classes, shared with WM_PRINTCLIENT.
void RepaintTransparentLabel(const LoadedControl& control);
void ApplyLabelFont(LoadedControl& control);

// Picture decoding: JPEG through libjpeg, BMP, GIF and icons by the platform.
Picture DecodePicture(const Bytes& bytes);
void DrawPicture(const Picture& picture, HDC dc, int x, int y);

// Private messages.
UINT DeferredDestroyMessage();
UINT LabelFeedbackMessage();
UINT ExitRequestMessage();
// Sends the latest hot-key label its feedback notification.
void DeliverHotKey(int identifier);
// Unregisters the hot keys registered to a window that is being destroyed.
void ReleaseHotKeysOf(HWND window);

}  // namespace corvalin::shell
