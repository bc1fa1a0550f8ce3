// A page's scripts: those of the load in document order, onload, handlers,
// and the texts compiled once per page.
#include "browser/box/page.h"

#include "browser/box/browser_box_engine.h"
#include "browser/box/ui_task.h"
#include "browser/net/charset.h"
#include "browser/om/node_objects.h"
#include "browser/script/window_object.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

constexpr std::size_t kMaxCompiledTexts = 4096;

// The language an attribute handler names with a "javascript:"/"vbscript:"
// prefix, which is then taken off the code.
ScriptLanguage HandlerLanguage(std::wstring& code, ScriptLanguage fallback) {
    size_t start = 0;
    while (start < code.size() && iswspace(code[start])) ++start;
    for (const auto& [prefix, language] : {std::pair{std::wstring_view(L"javascript:"), ScriptLanguage::JScript},
                                           std::pair{std::wstring_view(L"jscript:"), ScriptLanguage::JScript},
                                           std::pair{std::wstring_view(L"vbscript:"), ScriptLanguage::VBScript}}) {
        if (code.size() - start >= prefix.size() && dom::EqualsIgnoringCase(std::wstring_view(code).substr(start, prefix.size()), prefix)) {
            code.erase(0, start + prefix.size());
            return language;
        }
    }
    return fallback;
}

ScriptLanguage LanguageOfScript(const dom::Element& script) {
    if (const std::wstring* language = script.FindAttribute(L"language"); language && !language->empty())
        return ScriptLanguageFromName(*language);
    if (const std::wstring* type = script.FindAttribute(L"type")) return ScriptLanguageFromName(*type);
    return ScriptLanguage::JScript;
}

std::wstring DecodeScript(const HttpResponse& response, const dom::Element& script, unsigned documentCodePage) {
    const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
    if (body.size() >= 3 && body.substr(0, 3) == "\xEF\xBB\xBF") return DecodeCodePage(body.substr(3), CP_UTF8);
    unsigned codePage = CodePageOfCharset(CharsetOfContentType(response.contentType));
    if (codePage == 0) codePage = CodePageOfCharset(EncodeCodePage(script.GetAttribute(L"charset"), CP_UTF8));
    if (codePage == 0) codePage = documentCodePage;
    return DecodeCodePage(body, codePage);
}

}  // namespace

dom::Element* Page::NextScript() {
    if (!document_) return nullptr;
    // Onward from the script run last: over the whole load every node is
    // passed once, however many scripts the page has or writes. A script that
    // took itself out of the tree leaves no place to go on from: look again
    // from the start.
    dom::Node* root = document_.get();
    dom::Node* from = lastScript_ && lastScript_->IsConnected() ? static_cast<dom::Node*>(lastScript_.get()) : root;
    for (dom::Node* n = from->NextInTree(root); n; n = n->NextInTree(root)) {
        dom::Element* e = n->AsElement();
        if (e && e->Is(L"script") && !ranScripts_.count(e)) return e;
    }
    return nullptr;
}

void Page::RunNextScripts() {
    ScriptDepth depth(*this);
    while (!closed_ && !waitingForScript_) {
        dom::Element* script = NextScript();
        if (!script) {
            if (!framesStarted_) {
                framesStarted_ = true;
                LoadFrames();
            }
            if (pendingFrames_ == 0) FinishLoad();
            return;
        }
        ranScripts_.insert(script);
        ranScriptRefs_.emplace_back(script);
        lastScript_ = script;
        if (LanguageOfScript(*script) == ScriptLanguage::Unknown) continue;
        const std::wstring src = script->GetAttribute(L"src");
        if (src.empty()) {
            RunScriptElement(*script, script->TextContent());
            continue;
        }
        // An external script is fetched before the ones after it run.
        waitingForScript_ = true;
        const unsigned parked = Park(script);
        FetchInBackground(RequestFor(document_->ResolveUrl(src)), [parked](Page& page, const HttpResponse& response) {
            const dom::Ref<dom::Element> element = page.Unpark(parked);
            if (!element) return;
            page.waitingForScript_ = false;
            if (response.status >= 200 && response.status < 300)
                page.RunScriptElement(*element, DecodeScript(response, *element, page.codePage_));
            page.RunNextScripts();
        });
        return;
    }
}

void Page::RunScriptElement(dom::Element& script, const std::wstring& text) {
    const ScriptLanguage language = LanguageOfScript(script);
    if (!languageChosen_) {
        // Attribute handlers speak the language of the page's first script.
        defaultLanguage_ = language;
        languageChosen_ = true;
    }
    // Markup written by the script goes in right after it.
    document_->SetCurrentScript(&script);
    RunScript(text, language);
    if (document_) document_->SetCurrentScript(nullptr);
}

void Page::FireLoad() {
    if (closed_ || !document_) return;
    ScriptDepth depth(*this);
    const auto handlers = window_->LoadHandlers();
    dom::Element* body = document_->Body();
    if (handlers.empty()) {
        if (body) {
            const dom::EventHandler handler = body->Handler(L"onload");
            if (!handler.Empty()) {
                dom::Event event;
                event.type = L"load";
                event.target = body;
                event.current = body;
                RunEventHandler(*body, event, handler);
            }
        }
        return;
    }
    for (const auto& function : handlers) {
        if (closed_) return;
        scripts_->CallFunction(function.Get(), window_.Get(), {});
    }
}

bool Page::RunScript(const std::wstring& code, ScriptLanguage language, VARIANT* result) {
    if (closed_ || !scripts_) return false;
    ScriptDepth depth(*this);
    return scripts_->Run(code, language, result);
}

ComPtr<IDispatch> Page::Compiled(const std::wstring& code, ScriptLanguage language) {
    const auto key = std::make_pair(language, code);
    if (const auto it = compiled_.find(key); it != compiled_.end()) return it->second;
    ComPtr<IDispatch> function = scripts_->CompileHandler(code, language);
    // A page that makes up new texts forever compiles them each time instead
    // of growing the cache forever.
    if (function && compiled_.size() < kMaxCompiledTexts) compiled_.emplace(key, function);
    return function;
}

bool Page::RunEventHandler(dom::Element& element, dom::Event& event, const dom::EventHandler& handler) {
    if (closed_ || !scripts_ || handler.Empty()) return true;
    ScriptDepth depth(*this);
    ComPtr<IDispatch> function = om::HandlerFunction(handler);
    if (!function) {
        std::wstring code = handler.source;
        const ScriptLanguage language = HandlerLanguage(code, defaultLanguage_);
        function = Compiled(code, language);
        if (!function) return true;
    }
    const ComPtr<IDispatch> eventObject = om::EventObject(event);
    const ComPtr<IDispatch> previous = currentEvent_;
    currentEvent_ = eventObject;
    const ComPtr<IDispatch> self = om::NodeObject(&element);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = eventObject.Get();
    VARIANT result;
    VariantInit(&result);
    scripts_->CallFunction(function.Get(), self.Get(), {argument}, &result);
    // returnValue and cancelBubble set by the handler go back to the dispatch.
    om::ReadBackEvent(eventObject.Get(), event);
    if (!closed_) currentEvent_ = previous;
    const bool cancelled = result.vt == VT_BOOL && result.boolVal == VARIANT_FALSE;
    VariantClear(&result);
    return !cancelled;
}

}  // namespace corvalin::browser
