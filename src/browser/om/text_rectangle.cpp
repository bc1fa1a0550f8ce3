#include "browser/om/text_rectangle.h"

#include <algorithm>
#include <string>

namespace corvalin::browser::om {

struct RectangleMembers {
    static const RECT& R(DispatchObject& s) { return static_cast<TextRectangle&>(s).rect_; }
    static std::vector<RECT>& L(DispatchObject& s) { return static_cast<TextRectangleList&>(s).rects_; }
    static HRESULT Item(DispatchObject& s, Invocation& c) {
        const auto& rects = L(s);
        const long i = c.Integer(0, -1);
        if (i < 0 || i >= static_cast<long>(rects.size())) return c.ReturnNull();
        return c.ReturnObject(MakeDispatch<TextRectangle>(rects[i]).Get());
    }
};

const MemberTable& TextRectangle::Members() const {
    static const MemberTable table{{
        {L"left", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(RectangleMembers::R(s).left); }},
        {L"top", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(RectangleMembers::R(s).top); }},
        {L"right", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(RectangleMembers::R(s).right); }},
        {L"bottom", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(RectangleMembers::R(s).bottom); }},
        {L"width", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(RectangleMembers::R(s).right - RectangleMembers::R(s).left);
         }},
        {L"height", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(RectangleMembers::R(s).bottom - RectangleMembers::R(s).top);
         }},
    }};
    return table;
}

const MemberTable& TextRectangleList::Members() const {
    static const MemberTable table{{
        {L"length", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(static_cast<long>(RectangleMembers::L(s).size())); }},
        {L"item", &RectangleMembers::Item, nullptr, &RectangleMembers::Item},
    }};
    return table;
}

HRESULT TextRectangleList::InvokeValue(Invocation& call) {
    if (call.IsPut() || call.Count() == 0) return DISP_E_MEMBERNOTFOUND;
    return RectangleMembers::Item(*this, call);
}

bool TextRectangleList::HasDynamicMember(std::wstring_view name) const {
    return !name.empty() && name.size() < 9 && std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

HRESULT TextRectangleList::InvokeDynamic(std::wstring_view name, Invocation& call) {
    if (call.IsPut() || !HasDynamicMember(name)) return DISP_E_MEMBERNOTFOUND;
    const std::size_t i = static_cast<std::size_t>(std::stoul(std::wstring(name)));
    if (i >= rects_.size()) return call.ReturnNull();
    return call.ReturnObject(MakeDispatch<TextRectangle>(rects_[i]).Get());
}

}  // namespace corvalin::browser::om
