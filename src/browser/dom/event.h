// Events: what a handler is and what a handler sees.
#pragma once
#include <memory>
#include <string>

namespace corvalin::browser::dom {

class Element;

// A function object from script (a JScript function assigned to `onclick`).
// The DOM only keeps it; the host runs it. The binding layer derives from it
// to hold the script's COM object.
class ScriptFunction {
public:
    virtual ~ScriptFunction() = default;
};

// A handler is either the attribute's source text or a function from script.
struct EventHandler {
    std::wstring source;
    std::shared_ptr<ScriptFunction> function;
    bool Empty() const { return source.empty() && !function; }
};

// The event being dispatched (window.event while a handler runs).
struct Event {
    std::wstring type;             // "click", without "on"
    Element* target = nullptr;     // srcElement
    Element* current = nullptr;    // the element whose handler runs
    bool returnValue = true;       // false: the default action is cancelled
    bool cancelBubble = false;
    // Keyboard events: the virtual key (keydown, keyup) or the character
    // (keypress), and the modifiers held.
    long keyCode = 0;
    bool shiftKey = false;
    bool ctrlKey = false;
    bool altKey = false;
};

}  // namespace corvalin::browser::dom
