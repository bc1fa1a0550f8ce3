// Markup may nest far deeper than a thread's stack allows a recursive layout
// to follow. The layout runs on a fiber with a large stack of its own and
// asks before each level whether there is room for one more.
#pragma once
#include <functional>

namespace corvalin::browser::layout {

// Runs `work` to its end on a large stack (on the calling thread; nothing
// else runs meanwhile). Runs it where it is when no such stack can be had.
void RunOnLargeStack(const std::function<void()>& work);

// Whether one more level of nesting fits: on the large stack, while enough of
// it is left; elsewhere, up to a modest depth.
bool RoomToNest(int depth);

}  // namespace corvalin::browser::layout
