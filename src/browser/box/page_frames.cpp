// The pages inside a page's frames.
#include "browser/box/page.h"

#include <algorithm>

#include "browser/box/browser_box_engine.h"
#include "browser/net/charset.h"
#include "browser/net/url.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kMaxFrameDepth = 3;

}  // namespace

Page* Page::FramePage(std::size_t index) const { return index < frames_.size() ? frames_[index].page.get() : nullptr; }

Page* Page::FramePageNamed(std::wstring_view name) const {
    for (const Frame& frame : frames_)
        if (frame.page && !name.empty() && frame.element->GetAttribute(L"name") == name) return frame.page.get();
    return nullptr;
}

Page* Page::FindPage(unsigned serial) {
    if (serial_ == serial) return this;
    for (const Frame& frame : frames_)
        if (Page* found = frame.page ? frame.page->FindPage(serial) : nullptr) return found;
    return nullptr;
}

void Page::LoadFrames() {
    int depth = 0;
    for (Page* p = parent_; p; p = p->parent_) ++depth;
    if (depth >= kMaxFrameDepth) return;   // deeper frames stay empty
    const dom::ElementCollection frames = document_->Frames();
    const std::vector<dom::Element*> elements = frames.Elements();
    // One count for every frame and one for this loop, so no frame that loads
    // at once finishes the page before the rest have started.
    pendingFrames_ += static_cast<int>(elements.size()) + 1;
    for (dom::Element* frame : elements) {
        const std::size_t index = frames_.size();
        frames_.push_back({frame, nullptr});
        const std::wstring url = frame->ResolvedUrlAttribute(L"src");
        if (!MayFetch(url)) {
            PageSource blank;
            blank.url = L"about:blank";
            blank.codePage = GetACP();
            blank.charset = DetermineCharset("", "").name;
            auto page = std::make_unique<Page>(box_, box_.NewFrameSerial(), this);
            page->Build(blank);
            FrameArrived(index, std::move(page));
            continue;
        }
        FetchInBackground(RequestFor(url), [index, url](Page& page, const HttpResponse& response) {
            const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
            DecodedPage decoded = DecodePage(response.contentType, body);
            PageSource source;
            source.url = response.finalUrl.empty() ? url : ToWide(response.finalUrl);
            source.markup = std::move(decoded.markup);
            source.charset = decoded.charset.name;
            source.codePage = decoded.charset.codePage;
            source.fileSize = body.size();
            source.httpStatus = response.status;
            auto inner = std::make_unique<Page>(page.box_, page.box_.NewFrameSerial(), &page);
            inner->Build(source);
            page.FrameArrived(index, std::move(inner));
        });
    }
    FrameLoaded();   // the loop's own count
}

void Page::FrameArrived(std::size_t index, std::unique_ptr<Page> page) {
    if (closed_ || index >= frames_.size()) return;
    Frame& frame = frames_[index];
    frame.element->SetContentDocument(page->Document());
    Page* started = page.get();
    frame.page = std::move(page);
    started->StartLoad();   // its scripts, frames and onload; then FrameLoaded here
}

void Page::FrameLoaded() {
    if (--pendingFrames_ == 0 && !waitingForScript_) FinishLoad();
}

}  // namespace corvalin::browser
