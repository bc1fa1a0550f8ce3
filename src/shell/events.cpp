#include "shell/events.h"

#include <map>

#include "shell/event_dispatch.h"

namespace corvalin::shell {
namespace {

std::map<std::string, EventHandler>& Handlers() {
    static std::map<std::string, EventHandler> handlers;
    return handlers;
}

}  // namespace

void RegisterEventHandlerFunction(const std::string& name, EventHandler handler) {
    if (handler) Handlers()[name] = std::move(handler);
    else Handlers().erase(name);
}

void ClearEventHandlers() { Handlers().clear(); }

std::optional<bool> RunEventHandler(const std::string* name, const EventArgs& args) {
    if (!name) return std::nullopt;
    auto it = Handlers().find(*name);
    if (it == Handlers().end()) return std::nullopt;
    // A copy, so a handler that re-registers its own name stays alive while it runs.
    EventHandler handler = it->second;
    return handler(args);
}

}  // namespace corvalin::shell
