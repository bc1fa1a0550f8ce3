#include "browser/box/ui_task.h"

#include <memory>
#include <thread>

namespace corvalin::browser {

UINT UiTaskMessage() {
    static const UINT message = RegisterWindowMessageA("Corvalin.BrowserBox.Task");
    return message;
}

bool PostUiTask(HWND window, UiTask task) {
    auto owned = std::make_unique<UiTask>(std::move(task));
    if (!PostMessageA(window, UiTaskMessage(), 0, reinterpret_cast<LPARAM>(owned.get()))) return false;
    owned.release();
    return true;
}

void RunUiTask(LPARAM lParam) {
    std::unique_ptr<UiTask> task(reinterpret_cast<UiTask*>(lParam));
    if (task && *task) (*task)();
}

void DropUiTasks(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, UiTaskMessage(), UiTaskMessage(), PM_REMOVE))
        delete reinterpret_cast<UiTask*>(message.lParam);
}

void RunInBackground(HWND window, std::function<void()> work, UiTask done) {
    // Detached: a download that outlives its box posts to a dead window and
    // its task is dropped.
    std::thread([window, work = std::move(work), done = std::move(done)]() mutable {
        work();
        PostUiTask(window, std::move(done));
    }).detach();
}

}  // namespace corvalin::browser
