#include "browser/box/ui_task.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
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

namespace {

// The tasks to run once the task running on this thread ends; null outside one.
thread_local std::deque<UiTask>* followers = nullptr;

}  // namespace

void RunUiTask(LPARAM lParam) {
    std::unique_ptr<UiTask> task(reinterpret_cast<UiTask*>(lParam));
    std::deque<UiTask> after;
    std::deque<UiTask>* const outer = followers;
    followers = &after;
    if (task && *task) (*task)();
    while (!after.empty()) {
        UiTask next = std::move(after.front());
        after.pop_front();
        if (next) next();
    }
    followers = outer;
}

bool RunAfterThisTask(HWND window, UiTask task) {
    if (!followers) return PostUiTask(window, std::move(task));
    followers->push_back(std::move(task));
    return true;
}

void DropUiTasks(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, UiTaskMessage(), UiTaskMessage(), PM_REMOVE))
        delete reinterpret_cast<UiTask*>(message.lParam);
}

namespace {

// A few workers that live as long as the process: downloads never wait for a
// thread to be made, and no thread ends (and tears down its per-thread state)
// in the middle of a run.
class WorkerPool {
public:
    void Add(HWND window, std::function<void()> work, UiTask done) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            jobs_.push_back(Job{window, std::move(work), std::move(done)});
            if (idle_ == 0 && threads_ < kMaxThreads) {
                ++threads_;
                std::thread([this] { Serve(); }).detach();
            }
        }
        ready_.notify_one();
    }

private:
    struct Job {
        HWND window;
        std::function<void()> work;
        UiTask done;
    };
    static constexpr int kMaxThreads = 6;

    void Serve() {
        for (;;) {
            Job job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ++idle_;
                ready_.wait(lock, [this] { return !jobs_.empty(); });
                --idle_;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job.work();
            PostUiTask(job.window, std::move(job.done));
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Job> jobs_;
    int threads_ = 0;
    int idle_ = 0;
};

WorkerPool& Workers() {
    // Never destroyed: its threads may still be inside a download at exit.
    static WorkerPool* pool = new WorkerPool;
    return *pool;
}

}  // namespace

void RunInBackground(HWND window, std::function<void()> work, UiTask done) {
    Workers().Add(window, std::move(work), std::move(done));
}

}  // namespace corvalin::browser
