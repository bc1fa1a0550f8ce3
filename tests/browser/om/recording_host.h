// A document host that records what the document asks of it. Handler
// "scripts" are tiny: the source "return false" cancels, "cancel" sets
// event.returnValue = false, "stop" sets cancelBubble; a script function is
// called through IDispatch and its VT_BOOL false result cancels.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "browser/dom/document.h"
#include "browser/om/document_object_host.h"
#include "browser/om/node_objects.h"

namespace corvalin::testing {

namespace dom = corvalin::browser::dom;

class RecordingHost final : public dom::DocumentHost, public browser::om::DocumentObjectHost {
public:
    struct HandlerRun {
        std::wstring element;   // id of the element whose handler ran
        std::wstring type;
        std::wstring source;
        bool function = false;
    };
    struct Navigation {
        std::wstring url;
        std::wstring target;
    };

    std::vector<HandlerRun> handlers;
    std::vector<Navigation> navigations;
    std::vector<dom::FormSubmission> submissions;
    std::optional<std::wstring> chosenFile;
    int fileDialogs = 0;
    Microsoft::WRL::ComPtr<IDispatch> window;

    bool RunEventHandler(dom::Element& element, dom::Event& event, const dom::EventHandler& handler) override {
        handlers.push_back({element.Id(), event.type, handler.source, handler.function != nullptr});
        if (IDispatch* f = browser::om::HandlerFunction(handler)) {
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            VARIANT r;
            VariantInit(&r);
            f->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr);
            bool cancel = r.vt == VT_BOOL && r.boolVal == VARIANT_FALSE;
            VariantClear(&r);
            return !cancel;
        }
        if (handler.source == L"cancel") event.returnValue = false;
        if (handler.source == L"stop") event.cancelBubble = true;
        return handler.source != L"return false";
    }
    void Navigate(const std::wstring& url, const std::wstring& target) override { navigations.push_back({url, target}); }
    void SubmitForm(dom::Element&, const dom::FormSubmission& submission) override { submissions.push_back(submission); }
    std::optional<std::wstring> ChooseFile(dom::Element&) override {
        ++fileDialogs;
        return chosenFile;
    }
    Microsoft::WRL::ComPtr<IDispatch> WindowObject() override { return window; }
    Microsoft::WRL::ComPtr<IDispatch> LocationObject() override { return nullptr; }
};

}  // namespace corvalin::testing
