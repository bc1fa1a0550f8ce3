// Rectangles of getBoundingClientRect and getClientRects: left, top, right and
// bottom in the view's coordinates, and the list of them.
#pragma once
#include <windows.h>

#include <vector>

#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class TextRectangle final : public DispatchObject {
public:
    explicit TextRectangle(const RECT& rect) : rect_(rect) {}

protected:
    const MemberTable& Members() const override;

private:
    friend struct RectangleMembers;
    RECT rect_;
};

class TextRectangleList final : public DispatchObject {
public:
    explicit TextRectangleList(std::vector<RECT> rects) : rects_(std::move(rects)) {}

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    friend struct RectangleMembers;
    std::vector<RECT> rects_;
};

}  // namespace corvalin::browser::om
