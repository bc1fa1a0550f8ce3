// The form descriptions of both windows: the data LoadWindow turns into
// real windows and controls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "shell/control_id.h"

namespace corvalin::shell {

struct EventBinding {
    EventNumber event;
    std::string handler;
};

enum class InputMode { Normal = 0, Password = 2, Integer = 7 };

struct ControlForm {
    ControlId id = 0;
    std::string name;
    KindCode kind = 0;
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;
    // Caption of buttons and labels, text of edit boxes, start address of the browser box.
    std::string text;
    // Edit boxes.
    int maxLength = 0;
    InputMode inputMode = InputMode::Normal;
    char passwordChar = 0;
    // Edit boxes and transparent labels.
    COLORREF textColor = 0;
    COLORREF backColor = 0x00FFFFFF;
    // Transparent labels.
    int alignment = 0;
    int verticalAlignment = 0;
    bool wordWrap = false;
    // Timers.
    int interval = 0;
    std::vector<EventBinding> events;
};

struct WindowForm {
    ControlId windowId = 0;
    ControlId unitId = 0;
    std::string caption;
    int left = 0, top = 0, width = 0, height = 0;
    bool centred = true;
    bool escCloses = true;
    bool minimizeBox = false;
    std::vector<EventBinding> events;
    std::vector<ControlForm> controls;   // the window's own control order
};

// The form of a window, nullptr for an unknown id.
const WindowForm* FindForm(ControlId windowId);

// The handler name an event is bound to, or nullptr.
const std::string* BoundHandler(const std::vector<EventBinding>& events, EventNumber event);

}  // namespace corvalin::shell
