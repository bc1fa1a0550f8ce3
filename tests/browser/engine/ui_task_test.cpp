// Tasks handed to the user-interface thread, and the ones that run right
// after the task in progress instead of waking the thread again.
#include "browser/box/ui_task.h"

#include <gtest/gtest.h>

#include <string>

namespace corvalin::browser {
namespace {

LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UiTaskMessage()) {
        RunUiTask(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class UiTaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TaskWindowProc));
    }
    void TearDown() override {
        DropUiTasks(window_);
        DestroyWindow(window_);
    }
    // Dispatches the thread's messages one at a time; answers how many there were.
    int DispatchAll() {
        int count = 0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
            ++count;
        }
        return count;
    }

    HWND window_ = nullptr;
    std::string log_;
};

TEST_F(UiTaskTest, FollowersRunInOrderRightAfterTheirTaskWithoutAMessageOfTheirOwn) {
    const HWND window = window_;
    ASSERT_TRUE(PostUiTask(window, [this, window] {
        log_ += "task;";
        RunAfterThisTask(window, [this, window] {
            log_ += "first;";
            RunAfterThisTask(window, [this] { log_ += "third;"; });   // a follower's follower
        });
        RunAfterThisTask(window, [this] { log_ += "second;"; });
        log_ += "task end;";
    }));
    EXPECT_EQ(DispatchAll(), 1);
    EXPECT_EQ(log_, "task;task end;first;second;third;");
}

TEST_F(UiTaskTest, OutsideATaskAFollowerIsPosted) {
    ASSERT_TRUE(RunAfterThisTask(window_, [this] { log_ += "posted;"; }));
    EXPECT_EQ(log_, "");
    EXPECT_EQ(DispatchAll(), 1);
    EXPECT_EQ(log_, "posted;");
    // A task's followers never leak into a later task.
    ASSERT_TRUE(PostUiTask(window_, [this] { log_ += "plain;"; }));
    EXPECT_EQ(DispatchAll(), 1);
    EXPECT_EQ(log_, "posted;plain;");
}

}  // namespace
}  // namespace corvalin::browser
