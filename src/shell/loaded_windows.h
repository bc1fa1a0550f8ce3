// Windows loaded from their forms, and their controls addressed by
// (window id, control id).
#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "shell/control_id.h"
#include "shell/property_value.h"

namespace corvalin::shell {

// Creates the window and its controls from its form, runs the created event
// and then shows the window. A modal load disables the program's other top-level windows
// and returns only when the window has been destroyed. A window that is
// already loaded is only shown. False when the window cannot be created.
bool LoadWindow(ControlId windowId, bool modal);

// Destroys a loaded window without its may-close event, once the current
// handler has returned.
void DestroyLoadedWindow(ControlId windowId);

bool IsWindowLoaded(ControlId windowId);

// Reading or writing a control of a window that is not loaded is a fatal
// error, and so is a kind's own property (index 8 on) of a control whose
// window is gone. Unknown controls and indices read as an empty value and
// ignore writes.
PropertyValue GetControlProperty(ControlId windowId, ControlId controlId, PropertyIndex index);
void SetControlProperty(ControlId windowId, ControlId controlId, PropertyIndex index, const PropertyValue& value);

// The window handle of a loaded window (through its unit id) or control;
// nullptr when it has none (a timer, a window not loaded).
HWND GetWindowHandle(const ControlRef& control);

void SetControlFocus(const ControlRef& control);

// The window's controls in its own order that have a live child window and
// match every filter given; nullptr when none match.
struct ControlList;
ControlList* EnumerateControls(ControlId windowId,
                               const std::optional<std::string>& namePrefix,
                               const std::optional<std::string>& typeName,
                               std::optional<int> lowestTag = std::nullopt,
                               std::optional<int> highestTag = std::nullopt);
int ControlListCount(const ControlList* list);
// (0, 0, kKindWindow) for an index out of range.
ControlRef ControlListItem(const ControlList* list, int index);
void ReleaseControlList(ControlList* list);

// For std::unique_ptr<ControlList, ControlListReleaser>.
struct ControlListReleaser {
    void operator()(ControlList* list) const { ReleaseControlList(list); }
};

}  // namespace corvalin::shell
