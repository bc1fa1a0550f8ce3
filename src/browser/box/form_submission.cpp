// Submitting a page's form: a GET or POST of its fields, multipart with files.
#include "browser/box/page.h"

#include "browser/box/browser_box_engine.h"
#include "browser/net/form_encoding.h"
#include "browser/net/local_file.h"
#include "browser/net/url.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

void Page::SubmitForm(dom::Element& form, const dom::FormSubmission& submission) {
    if (closed_) return;
    if (submission.method == L"post" && submission.enctype == L"multipart/form-data") {
        // File inputs send the chosen file's content under its path.
        std::vector<dom::Element*> files;
        for (dom::Element* control : form.FormElements())
            if (control->Is(L"input") && control->Type() == L"file") files.push_back(control);
        std::vector<FormPart> parts;
        for (const auto& field : submission.fields) {
            FormPart part{field.name, field.value};
            for (auto it = files.begin(); it != files.end(); ++it) {
                if ((*it)->Name() == field.name) {
                    part.file = true;
                    if (!field.value.empty()) part.content = ReadLocalFile(field.value);
                    files.erase(it);
                    break;
                }
            }
            parts.push_back(std::move(part));
        }
        const std::string boundary = "---------------------------7d" + std::to_string(GetTickCount64()) + "corvalin";
        HttpRequest request;
        request.method = "POST";
        request.url = EncodeUrlForRequest(UrlWithoutFragment(submission.action.empty() ? url_ : submission.action));
        request.referrer = EncodeUrlForRequest(url_);
        request.headers.emplace_back("Content-Type", "multipart/form-data; boundary=" + boundary);
        request.body = EncodeMultipartFormData(parts, boundary, codePage_);
        box_.Navigate(std::move(request));
        return;
    }
    std::vector<FormField> fields;
    fields.reserve(submission.fields.size());
    for (const auto& field : submission.fields) fields.emplace_back(field.name, field.value);
    const std::string data = EncodeFormData(fields, codePage_);
    const std::wstring action = submission.action.empty() ? url_ : submission.action;
    HttpRequest request;
    request.referrer = EncodeUrlForRequest(url_);
    if (submission.method == L"post") {
        request.method = "POST";
        request.url = EncodeUrlForRequest(UrlWithoutFragment(action));
        request.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
        request.body.assign(data.begin(), data.end());
    } else {
        std::wstring base = UrlWithoutFragment(action);
        if (const size_t question = base.find(L'?'); question != std::wstring::npos) base.resize(question);
        request.url = EncodeUrlForRequest(base) + "?" + data;
    }
    box_.Navigate(std::move(request));
}

}  // namespace corvalin::browser
