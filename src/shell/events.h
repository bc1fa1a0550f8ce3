// Event handlers by name. The forms bind each event to a handler name
// ("OnMainCreated", "OnStatusPoll"...); the program registers the functions
// under those names before the windows are loaded. An event whose name has
// no function registered does nothing (a may-close then allows the close).
#pragma once
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace corvalin::shell {

// What an event hands to its handler, in the event's argument order:
// key down (key code, shift state), left button down (x, y, shift state),
// feedback (hot-key identifier, 0). Unused values are 0.
struct EventArgs {
    int values[3] = {0, 0, 0};
};

// The uniform shape every handler is stored in; the result counts only for
// a may-close event (false keeps the window open).
using EventHandler = std::function<bool(const EventArgs&)>;

// Registers (or, with an empty function, removes) the handler for a name.
void RegisterEventHandlerFunction(const std::string& name, EventHandler handler);

// Accepts the handler shapes the forms use: f(), bool f() for may-close,
// f(int, int) for key down and feedback, f(int, int, int) for mouse events,
// or bool f(const EventArgs&).
template <class F>
void RegisterEventHandler(const std::string& name, F handler) {
    if constexpr (std::is_invocable_r_v<bool, F, const EventArgs&>) {
        RegisterEventHandlerFunction(name, EventHandler(std::move(handler)));
    } else if constexpr (std::is_invocable_v<F>) {
        RegisterEventHandlerFunction(name, [h = std::move(handler)](const EventArgs&) mutable {
            if constexpr (std::is_same_v<std::invoke_result_t<F>, bool>) {
                return static_cast<bool>(h());
            } else {
                h();
                return true;
            }
        });
    } else if constexpr (std::is_invocable_v<F, int, int, int>) {
        RegisterEventHandlerFunction(name, [h = std::move(handler)](const EventArgs& a) mutable {
            h(a.values[0], a.values[1], a.values[2]);
            return true;
        });
    } else {
        static_assert(std::is_invocable_v<F, int, int>, "unsupported handler shape");
        RegisterEventHandlerFunction(name, [h = std::move(handler)](const EventArgs& a) mutable {
            h(a.values[0], a.values[1]);
            return true;
        });
    }
}

// Removes every registered handler.
void ClearEventHandlers();

}  // namespace corvalin::shell
