// Work handed to the user-interface thread: worker threads finish a download
// and post what to do with it to the box window, which runs it in its window
// procedure. Tasks must capture plain values only (handles, serial numbers),
// because a task that cannot be delivered is destroyed on the posting thread.
#pragma once
#include <windows.h>

#include <functional>

namespace corvalin::browser {

using UiTask = std::function<void()>;

// The registered message that carries a task in its lParam.
UINT UiTaskMessage();
// Posts `task` to `window`; false when the window is gone (the task is dropped).
bool PostUiTask(HWND window, UiTask task);
// Runs and frees the task of one UiTaskMessage.
void RunUiTask(LPARAM lParam);
// Called inside a task on this thread, runs `task` right after that task ends
// (one wake-up of the thread instead of two); elsewhere posts it.
bool RunAfterThisTask(HWND window, UiTask task);
// Frees the tasks still queued for a window that is being destroyed.
void DropUiTasks(HWND window);

// Runs `work` on a worker thread, then posts `done` to `window`.
void RunInBackground(HWND window, std::function<void()> work, UiTask done);

}  // namespace corvalin::browser
