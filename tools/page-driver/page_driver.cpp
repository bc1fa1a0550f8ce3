#include "page_driver.h"

#include <oleauto.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include "browser/browser_box.h"
#include "dom_tree.h"
#include "operation_table.h"
#include "png_writer.h"
#include "script_line.h"

namespace corvalin::page_driver {

namespace {

constexpr char kWindowClass[] = "Corvalin.PageDriver";
constexpr int kLoadTimeoutMs = 30000;

LRESULT CALLBACK DriverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        // The box fills the window.
        if (HWND box = GetWindow(window, GW_CHILD)) MoveWindow(box, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct DriverCommand {
    const char* name;
    const char* arguments;   // one word each; empty for none
    const char* help;
};

constexpr DriverCommand kCommands[] = {
    {"load", "URL|FILE", "navigates and waits until the document is complete, then attaches to it; "
                         "a Windows path (Z:/tmp/page.html) loads as a file: page"},
    {"wait", "MS", "processes messages for MS milliseconds"},
    {"eval", "CODE", "runs CODE as script in the page and answers its value as text"},
    {"tree", "", "the DOM as html5lib's tree-construction tests print it"},
    {"screenshot", "FILE.png", "writes the rendering window's pixels to a PNG file"},
    {"quit", "", "ends the script"},
};

const DriverCommand* FindCommand(std::string_view name) {
    for (const DriverCommand& command : kCommands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

const DeclaredOperation* FindDeclaration(std::string_view name) {
    for (const DeclaredOperation& operation : PageAutomationDeclarations()) {
        if (operation.name == name) return &operation;
    }
    return nullptr;
}

// A default as the header writes it, as a script word.
std::string DefaultWord(const std::string& written) {
    if (written == "nullptr") return "0";
    if (written == "{}") return "";
    if (written.size() >= 2 && written.front() == '"' && written.back() == '"') {
        return written.substr(1, written.size() - 2);
    }
    return written;
}

bool IsWindowsPath(std::string_view address) {
    const bool drive = address.size() >= 3 && std::isalpha(static_cast<unsigned char>(address[0])) &&
                       address[1] == ':' && (address[2] == '/' || address[2] == '\\');
    return drive || address.rfind("\\\\", 0) == 0;
}

std::string Answer(const Json& answer) {
    return answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

PageDriver::PageDriver(bool visible) {
    browser::RegisterBrowserBoxClass();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DriverWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    RECT frame{0, 0, 800, 600};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window_.reset(CreateWindowExA(0, kWindowClass, "page-driver", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    if (!window_) return;
    RECT client{};
    GetClientRect(window_.get(), &client);
    box_ = CreateWindowExA(0, browser::kBrowserBoxClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                           window_.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (auto* engine = browser::BrowserBox::FromWindow(box_)) engine->WaitForLoad(kLoadTimeoutMs);
    if (visible) ShowWindow(window_.get(), SW_SHOW);
}

PageDriver::~PageDriver() { automation_.Detach(); }

std::string PageDriver::Run(std::string_view line) {
    std::string error;
    const auto words = SplitScriptLine(line, error);
    if (words && (words->empty() || (*words)[0][0] == '#')) return {};
    Json answer = Json::object();
    answer["op"] = words ? (*words)[0] : std::string();
    if (words) {
        const std::string& name = (*words)[0];
        const std::vector<std::string> arguments(words->begin() + 1, words->end());
        if (const DriverCommand* command = FindCommand(name)) {
            const size_t wanted = *command->arguments ? 1 : 0;
            if (arguments.size() != wanted) {
                error = name + " takes " + (wanted ? std::string(command->arguments) : "no argument");
            } else if (name == "load") {
                answer["result"] = Load(arguments[0]);
            } else if (name == "wait") {
                int milliseconds = 0;
                if (ReadInteger(arguments[0], milliseconds, error)) {
                    Wait(milliseconds);
                    answer["result"] = nullptr;
                }
            } else if (name == "eval") {
                std::string text;
                if (Evaluate(arguments[0], text)) answer["result"] = text;
                else error = "the script failed";
            } else if (name == "tree") {
                answer["result"] = Tree();
            } else if (name == "screenshot") {
                answer["result"] = Screenshot(arguments[0]);
            } else if (name == "quit") {
                finished_ = true;
                answer["result"] = nullptr;
            }
        } else {
            answer.update(RunOperation(name, arguments, error));
        }
    }
    if (!error.empty()) {
        failed_ = true;
        Json failure = Json::object();
        failure["op"] = answer["op"];
        failure["error"] = error;
        return Answer(failure);
    }
    return Answer(answer);
}

Json PageDriver::RunOperation(const std::string& name, const std::vector<std::string>& given, std::string& error) {
    Json answer = Json::object();
    const OperationBinding* binding = FindOperation(name);
    const DeclaredOperation* declared = FindDeclaration(name);
    if (!binding || !declared) {
        error = "unknown operation or command";
        return answer;
    }
    if (declared->parameters.size() != binding->roles.size()) {
        error = "the driver's table and page_automation.h disagree on the arguments";
        return answer;
    }
    // One word per parameter: the given ones in order, then the defaults;
    // supplied out-arguments take none.
    std::vector<std::string> words;
    size_t next = 0;
    for (size_t i = 0; i < binding->roles.size(); ++i) {
        const DeclaredParameter& parameter = declared->parameters[i];
        if (binding->roles[i] == ParameterRole::Out) {
            words.emplace_back();
        } else if (next < given.size()) {
            words.push_back(given[next++]);
        } else if (parameter.hasDefault) {
            words.push_back(DefaultWord(parameter.defaultValue));
        } else {
            error = "missing argument " + parameter.name;
            return answer;
        }
    }
    if (next < given.size()) {
        error = "too many arguments: " + std::to_string(given.size()) + " given, " + std::to_string(next) + " taken";
        return answer;
    }
    const DriverScope scope{automation_, box_};
    if (!binding->run(scope, *declared, words, answer, error)) answer = Json::object();
    return answer;
}

bool PageDriver::Load(const std::string& address) {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    if (!engine) return false;
    std::string url = address;
    if (IsWindowsPath(url)) {
        for (char& c : url) {
            if (c == '\\') c = '/';
        }
        url = "file:///" + url;
    }
    engine->Navigate(DecodeCodePage(url, CP_UTF8));
    const bool loaded = engine->WaitForLoad(kLoadTimeoutMs);
    return automation_.AttachBrowser(box_) && loaded;
}

void PageDriver::Wait(int milliseconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(milliseconds, 0));
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

bool PageDriver::Evaluate(const std::string& code, std::string& text) {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    VARIANT value;
    VariantInit(&value);
    if (!engine || !engine->Evaluate(DecodeCodePage(code, CP_UTF8), &value)) return false;
    VARIANT converted;
    VariantInit(&converted);
    if (value.vt != VT_EMPTY && value.vt != VT_NULL && SUCCEEDED(VariantChangeType(&converted, &value, 0, VT_BSTR)) &&
        converted.bstrVal) {
        text = EncodeCodePage(converted.bstrVal, CP_UTF8);
    }
    VariantClear(&converted);
    VariantClear(&value);
    return true;
}

std::string PageDriver::Tree() const {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    const browser::dom::Document* document = engine ? engine->DomDocument() : nullptr;
    return document ? DomTree(*document) : std::string();
}

bool PageDriver::Screenshot(const std::string& path) const {
    auto* engine = browser::BrowserBox::FromWindow(box_);
    const HWND server = engine ? engine->RenderingWindow() : nullptr;
    RECT client{};
    if (!server || !GetClientRect(server, &client) || client.right <= 0 || client.bottom <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;   // rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) return false;
    {
        SelectScope select(memory.get(), bitmap.get());
        // The box paints itself into our context, also while its window is hidden.
        SendMessageA(server, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
        GdiFlush();
    }
    artwork::Raster raster(client.right, client.bottom);
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    for (size_t i = 0; i < raster.pixels.size(); ++i) {
        raster.pixels[i] = artwork::Rgba{pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i], 255};
    }
    const Bytes png = artwork::EncodePng(raster);
    std::ofstream file(Utf8ToAnsi(path), std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file.flush());
}

std::string HelpText() {
    std::string text =
        "page-driver.exe [--visible] [SCRIPT]\n"
        "Runs PageAutomation operations and driver commands read one per line from SCRIPT (or standard input)\n"
        "against one browser box (hidden; --visible shows it), answering each line with one line of JSON:\n"
        "  {\"op\": NAME, \"result\": VALUE, \"out\": {PARAM: VALUE, ...}}  or  {\"op\": NAME, \"error\": TEXT}\n"
        "Words are separated by blanks; \"double quotes\" hold a text with blanks, \\\" and \\\\ inside them.\n"
        "Integers are decimal, bools true/false, an element #ID, a window box, 0 or a decimal handle.\n"
        "Arguments in [brackets] may be left out; out-arguments (after \"out:\") are not given.\n"
        "Texts are UTF-8. Blank lines and lines starting with # answer nothing.\n"
        "The exit code is 0 when no line answered with an error, 1 otherwise.\n\nCommands:\n";
    for (const DriverCommand& command : kCommands) {
        text += "  " + std::string(command.name) + (*command.arguments ? " " + std::string(command.arguments) : "") +
                "\n      " + command.help + "\n";
    }
    text += "\nOperations:\n";
    for (const DeclaredOperation& operation : PageAutomationDeclarations()) {
        const OperationBinding* binding = FindOperation(operation.name);
        if (!binding || binding->roles.size() != operation.parameters.size()) continue;
        std::string given, out;
        for (size_t i = 0; i < operation.parameters.size(); ++i) {
            const DeclaredParameter& parameter = operation.parameters[i];
            if (binding->roles[i] == ParameterRole::Out) {
                out += " " + parameter.name;
                continue;
            }
            std::string word = parameter.name;
            if (binding->roles[i] == ParameterRole::InOut) word += "&";
            if (parameter.hasDefault) word = "[" + word + "=" + DefaultWord(parameter.defaultValue) + "]";
            given += " " + word;
        }
        text += "  " + operation.name + given + (out.empty() ? "" : "   out:" + out) + "   -> " +
                operation.resultType + "\n";
    }
    return text;
}

}  // namespace corvalin::page_driver
