// The platform's Active Scripting engines run a document's scripts with its
// window as the global named item. One host per document: a new document
// gets fresh engines, and closing the host breaks every reference cycle
// between script functions and the page.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvalin::browser {

struct ScriptError {
    std::wstring message;
    std::wstring language;
    long line = 0;        // 1-based within the script text
    long column = 0;
};

enum class ScriptLanguage { JScript, VBScript, Unknown };

// "JavaScript", "JScript", "text/javascript", "" → JScript; "VBScript",
// "text/vbscript", "VBS" → VBScript; anything else is not run.
ScriptLanguage ScriptLanguageFromName(std::wstring_view name);

// What a script's alert, confirm and prompt ask, and the answer.
enum class DialogKind { Alert, Confirm, Prompt };
struct DialogRequest {
    DialogKind kind = DialogKind::Alert;
    std::wstring message;
    std::wstring defaultText;   // prompt only
};
struct DialogAnswer {
    bool accepted = true;       // OK (confirm: true; prompt: the text counts)
    std::wstring text;          // prompt only
};

class ScriptHost {
public:
    // `window` is the global object; `frameWindow` owns the message boxes the
    // engines show themselves (VBScript's MsgBox).
    ScriptHost(IDispatch* window, HWND frameWindow);
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;
    ~ScriptHost();

    // Runs global code. False when the language is unknown or the code raised
    // an error (recorded); the page goes on either way.
    bool Run(std::wstring_view code, ScriptLanguage language, VARIANT* result = nullptr);
    // Compiles an event-handler attribute into a function object; `this` is
    // given when it is called (CallFunction).
    Microsoft::WRL::ComPtr<IDispatch> CompileHandler(std::wstring_view code, ScriptLanguage language);
    // Calls a script function (or any IDispatch default member) with `self`
    // as `this`. False when the call raised an error (recorded).
    bool CallFunction(IDispatch* function, IDispatch* self, const std::vector<VARIANT>& arguments,
                      VARIANT* result = nullptr);
    // A named global of the engines (a function declared by a script), or null.
    Microsoft::WRL::ComPtr<IDispatch> FindGlobal(const std::wstring& name, DISPID* id);

    // Ends every engine; later calls do nothing.
    void Close();

    // A script (with everything it calls) that runs longer than this without
    // returning is stopped and reported as an error; the page goes on.
    void SetTimeLimit(DWORD milliseconds) { timeLimitMs_ = milliseconds ? milliseconds : timeLimitMs_; }
    DWORD TimeLimit() const { return timeLimitMs_; }

    // Script texts handed to the engines so far (each costs the engine memory
    // it never gives back).
    unsigned TextsParsed() const { return textsParsed_; }

    const std::vector<ScriptError>& Errors() const { return errors_; }
    // Called for every error, after it is recorded.
    void SetErrorListener(std::function<void(const ScriptError&)> listener) { errorListener_ = std::move(listener); }
    void RecordError(ScriptError error);

private:
    class Site;
    struct Engine;
    Engine* EngineFor(ScriptLanguage language);
    void ReportStop(ScriptLanguage language);

    Microsoft::WRL::ComPtr<IDispatch> window_;
    HWND frameWindow_;
    Microsoft::WRL::ComPtr<Site> site_;
    std::unique_ptr<Engine> jscript_;
    std::unique_ptr<Engine> vbscript_;
    std::vector<ScriptError> errors_;
    std::function<void(const ScriptError&)> errorListener_;
    DWORD timeLimitMs_ = 5000;
    unsigned textsParsed_ = 0;
    bool closed_ = false;
};

}  // namespace corvalin::browser
