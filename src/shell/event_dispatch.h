// Running the handler bound to an event (inside the shell).
#pragma once
#include <optional>
#include <string>

#include "shell/events.h"

namespace corvalin::shell {

// The handler's answer, or nothing when no handler is bound or registered.
std::optional<bool> RunEventHandler(const std::string* handlerName, const EventArgs& args);

}  // namespace corvalin::shell
