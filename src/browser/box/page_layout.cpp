#include "browser/box/page_layout.h"

#include <algorithm>

#include "browser/dom/element.h"

namespace corvalin::browser {

namespace {

constexpr int kMargin = 8;
constexpr int kMaxDepth = 200;        // deeper markup is not drawn
constexpr size_t kMaxWord = 512;      // longer runs without a break are cut into pieces

class FlowLayout {
public:
    FlowLayout(HDC dc, int width, int height)
        : dc_(dc), right_(std::max(width - kMargin, kMargin + 40)), bottom_(height) {
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
        x_ = kMargin;
        y_ = kMargin;
        rowHeight_ = lineHeight_;
    }

    void Walk(dom::Node& root) {
        if (++depth_ <= kMaxDepth) {
            for (dom::Node* child = root.FirstChild(); child && y_ < bottom_; child = child->NextSibling()) Visit(*child);
        }
        --depth_;
    }

    std::vector<LaidOutItem> items;

private:
    bool Hidden(const dom::Element& element) const {
        static const wchar_t* kNeverShown[] = {L"head", L"script", L"style", L"title", L"meta", L"link", L"noscript", L"template"};
        for (const auto* name : kNeverShown)
            if (element.Is(name)) return true;
        if (dom::EqualsIgnoringCase(element.StyleValue(L"display"), L"none")) return true;
        if (dom::EqualsIgnoringCase(element.StyleValue(L"visibility"), L"hidden")) return true;
        return element.Is(L"input") && element.Type() == L"hidden";
    }

    void NewLine() {
        if (x_ > kMargin) {
            y_ += rowHeight_;
            x_ = kMargin;
            rowHeight_ = lineHeight_;
        }
    }

    SIZE Measure(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }

    void Place(LaidOutItem item, int width, int height) {
        if (x_ + width > right_ && x_ > kMargin) NewLine();
        if (y_ >= bottom_) return;
        item.bounds = {x_, y_, x_ + width, y_ + height};
        x_ += width;
        rowHeight_ = std::max(rowHeight_, height);
        items.push_back(std::move(item));
    }

    void Text(const std::wstring& data, dom::Element* parent) {
        std::wstring word;
        auto flush = [&](bool space) {
            if (!word.empty() || space) {
                std::wstring run = word + (space ? L" " : L"");
                if (x_ == kMargin && run == L" ") {
                    word.clear();
                    return;
                }
                const SIZE size = Measure(run);
                LaidOutItem item;
                item.kind = LaidOutItem::Kind::Text;
                item.text = run;
                item.element = parent;
                item.link = link_ != nullptr;
                if (link_) item.element = link_;
                Place(std::move(item), size.cx, lineHeight_);
            }
            word.clear();
        };
        for (const wchar_t c : data) {
            if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
                flush(true);
            } else {
                word += c;
                // Chinese text breaks between any two characters.
                if (c >= 0x2E80 || word.size() >= kMaxWord) flush(false);
            }
            if (y_ >= bottom_) return;
        }
        flush(false);
    }

    void Control(dom::Element& element) {
        LaidOutItem item;
        item.kind = LaidOutItem::Kind::Control;
        item.element = &element;
        item.type = element.Type();
        int width = 150, height = lineHeight_ + 6;
        if (item.type == L"checkbox" || item.type == L"radio") {
            width = height = 13;
            item.checked = element.Checked();
        } else if (element.Is(L"select")) {
            const int index = element.SelectedIndex();
            const auto options = element.Options();
            if (index >= 0 && index < static_cast<int>(options.size())) item.text = options[index]->OptionText();
            width = std::max<int>(60, Measure(item.text).cx + 28);
        } else if (element.Is(L"textarea")) {
            item.text = element.Value();
            width = 200;
            height = lineHeight_ * 3 + 6;
        } else if (element.Is(L"button")) {
            item.text = element.InnerText();
            width = Measure(item.text).cx + 16;
        } else if (item.type == L"submit" || item.type == L"button" || item.type == L"reset") {
            item.text = element.Value();
            if (item.text.empty()) item.text = item.type == L"reset" ? L"Reset" : L"Submit";
            width = Measure(item.text).cx + 16;
        } else if (item.type == L"password") {
            item.text.assign(element.Value().size(), L'*');
        } else if (item.type == L"image") {
            item.text = element.GetAttribute(L"alt");
            width = 24;
            height = 24;
        } else {
            item.text = element.Value();
        }
        if (const int w = _wtoi(element.GetAttribute(L"width").c_str()); w > 0 && item.type != L"checkbox") width = w;
        Place(std::move(item), width, height);
        x_ += 4;
    }

    void Image(dom::Element& element) {
        LaidOutItem item;
        item.kind = LaidOutItem::Kind::Image;
        item.element = link_ ? link_ : &element;
        item.link = link_ != nullptr;
        item.text = element.GetAttribute(L"alt");
        int width = _wtoi(element.GetAttribute(L"width").c_str());
        int height = _wtoi(element.GetAttribute(L"height").c_str());
        Place(std::move(item), width > 0 ? width : 24, height > 0 ? height : 24);
    }

    void Visit(dom::Node& node) {
        if (node.IsText()) {
            Text(node.Data(), node.ParentElement());
            return;
        }
        dom::Element* element = node.AsElement();
        if (!element || Hidden(*element)) return;
        if (element->Is(L"br")) {
            if (x_ == kMargin) y_ += lineHeight_;
            NewLine();
            return;
        }
        if (element->Is(L"input") || element->Is(L"select") || element->Is(L"textarea") || element->Is(L"button")) {
            Control(*element);
            return;
        }
        if (element->Is(L"img")) {
            Image(*element);
            return;
        }
        const bool block = dom::IsBlockElement(element->LocalName());
        if (block) NewLine();
        dom::Element* outerLink = link_;
        if (element->Is(L"a") && element->HasAttribute(L"href")) link_ = element;
        Walk(*element);
        link_ = outerLink;
        if (block) NewLine();
    }

    HDC dc_;
    int right_;
    int bottom_;
    int depth_ = 0;
    int lineHeight_ = 16;
    int x_ = kMargin, y_ = kMargin, rowHeight_ = 16;
    dom::Element* link_ = nullptr;
};

}  // namespace

std::vector<LaidOutItem> LayOutDocument(HDC dc, dom::Document& document, int width, int height) {
    FlowLayout layout(dc, width, height);
    if (dom::Element* body = document.Body()) layout.Walk(*body);
    return std::move(layout.items);
}

void PaintLayout(HDC dc, const std::vector<LaidOutItem>& items) {
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    for (const auto& item : items) {
        RECT r = item.bounds;
        switch (item.kind) {
        case LaidOutItem::Kind::Text:
            SetTextColor(dc, item.link ? RGB(0, 0, 238) : RGB(0, 0, 0));
            ExtTextOutW(dc, r.left, r.top, 0, nullptr, item.text.c_str(), static_cast<UINT>(item.text.size()), nullptr);
            if (item.link) {
                const HGDIOBJ previous = SelectObject(dc, pen);
                MoveToEx(dc, r.left, r.bottom - 2, nullptr);
                LineTo(dc, r.right, r.bottom - 2);
                SelectObject(dc, previous);
            }
            break;
        case LaidOutItem::Kind::Control: {
            const bool button = item.type == L"submit" || item.type == L"button" || item.type == L"reset";
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(button ? LTGRAY_BRUSH : WHITE_BRUSH)));
            FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            if (item.checked) {
                RECT mark = {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
                FillRect(dc, &mark, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            }
            SetTextColor(dc, RGB(0, 0, 0));
            RECT text = {r.left + 3, r.top + 2, r.right - 3, r.bottom - 2};
            DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
                      DT_SINGLELINE | DT_VCENTER | (button ? DT_CENTER : DT_LEFT) | DT_NOPREFIX | DT_END_ELLIPSIS);
            break;
        }
        case LaidOutItem::Kind::Image: {
            FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            SetTextColor(dc, RGB(96, 96, 96));
            RECT text = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
            DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
            break;
        }
        }
    }
}

dom::Element* ElementAt(const std::vector<LaidOutItem>& items, POINT point) {
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (PtInRect(&it->bounds, point)) return it->element;
    return nullptr;
}

}  // namespace corvalin::browser
