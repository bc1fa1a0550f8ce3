#include "shell/download.h"

#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

// httplib brings winsock2, which must come before windows.h.
#include "support/loopback_server.h"
#include "base/unique.h"

namespace corvalin::shell {
namespace {

using corvalin::testing::LoopbackServer;
using corvalin::testing::UnusedLoopbackPort;

std::string Pattern(std::size_t size) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + (i * 7 + i / 1000) % 26);
    return body;
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

class DownloadTest : public ::testing::Test {
protected:
    void TearDown() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            release_ = true;
        }
        released_.notify_all();
    }

    int Held() {
        std::lock_guard<std::mutex> lock(mutex_);
        return held_;
    }

    void SetUp() override {
        auto& s = server_.server();
        s.Get("/yzm.php", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard<std::mutex> lock(mutex_);
            userAgent_ = request.get_header_value("User-Agent");
            accept_ = request.get_header_value("Accept");
            version_ = request.version;
            query_ = request.get_param_value("t");
            cacheControl_ = request.get_header_value("Cache-Control") + request.get_header_value("Pragma");
            response.set_content(std::string("\x89PNG\0body", 9), "image/png");
        });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
            response.set_content("no such page", "text/plain");
        });
        s.Get("/large", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(Pattern(250001), "application/octet-stream");
        });
        // Without Content-Length: the body ends when the connection closes.
        s.Get("/unsized", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider("application/octet-stream", [](std::size_t offset, httplib::DataSink& sink) {
                static const std::string body = Pattern(123457);
                const std::size_t piece = std::min<std::size_t>(30000, body.size() - offset);
                if (piece == 0) {
                    sink.done();
                } else {
                    sink.write(body.data() + offset, piece);
                }
                return true;
            });
        });
        s.Get("/empty", [](const httplib::Request&, httplib::Response& response) { response.set_content("", "text/plain"); });
        // Accepts and never answers, until the test lets it go.
        s.Get("/never", [this](const httplib::Request&, httplib::Response& response) {
            std::unique_lock<std::mutex> lock(mutex_);
            ++held_;
            released_.wait_for(lock, std::chrono::seconds(60), [this] { return release_; });
            --held_;
            response.set_content("late", "text/plain");
        });
        ASSERT_GT(server_.Start(), 0);
    }

    LoopbackServer server_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool release_ = false;
    int held_ = 0;
    std::string userAgent_, accept_, version_, query_, cacheControl_;
};

TEST_F(DownloadTest, SendsTheBrowsersRequestAndReturnsTheBody) {
    const Bytes body = DownloadBytes(server_.Url("/yzm.php?t=1389421390208"));
    EXPECT_EQ(body, AsBytes(std::string("\x89PNG\0body", 9)));
    std::lock_guard<std::mutex> lock(mutex_);
    EXPECT_EQ(userAgent_, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(version_, "HTTP/1.0");
    EXPECT_NE(accept_.find("*/*"), std::string::npos) << accept_;
    EXPECT_EQ(query_, "1389421390208");
}

TEST_F(DownloadTest, BodiesComeWhateverTheirSizeOrStatus) {
    struct Case { const char* path; Bytes expected; };
    const Case cases[] = {
        {"/missing", AsBytes("no such page")},
        {"/large", AsBytes(Pattern(250001))},
        {"/unsized", AsBytes(Pattern(123457))},
        {"/empty", Bytes()},
    };
    for (const Case& c : cases) {
        const Bytes body = DownloadBytes(server_.Url(c.path));
        EXPECT_EQ(body.size(), c.expected.size()) << c.path;
        EXPECT_TRUE(body == c.expected) << c.path;
    }
}

TEST_F(DownloadTest, FailuresGiveEmptyBytes) {
    const std::string unreachable = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/yzm.php";
    const std::string withoutScheme = "127.0.0.1:" + std::to_string(server_.port()) + "/missing";
    for (const std::string& url : {unreachable, withoutScheme, std::string(""), std::string("http://"),
                                   std::string("::not a url::"), std::string("tencent://message/?uin=1")}) {
        EXPECT_TRUE(DownloadBytes(url).empty()) << url;
    }
}

// A window that counts what reaches it while a download waits.
struct Witness {
    static constexpr UINT kPosted = WM_APP + 7;
    int paints = 0, ticks = 0, posted = 0, keys = 0;
    bool downloading = false;
    int paintsDuring = 0, ticksDuring = 0, postedDuring = 0, keysDuring = 0;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Witness*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!self) return DefWindowProcA(window, message, wParam, lParam);
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            self->Count(self->paints, self->paintsDuring);
            return 0;
        }
        case WM_TIMER:
            self->Count(self->ticks, self->ticksDuring);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            self->Count(self->keys, self->keysDuring);
            return 0;
        case kPosted:
            self->Count(self->posted, self->postedDuring);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    void Count(int& total, int& during) {
        ++total;
        if (downloading) ++during;
    }
};

TEST_F(DownloadTest, ServerThatNeverAnswersEndsAtTheDeadlineWhileWindowsGoOnPainting) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = Witness::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Corvalin.DownloadWitness";
    RegisterClassExA(&wc);
    Witness witness;
    UniqueWindow window(CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                        nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(window);
    SetWindowLongPtrA(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&witness));
    SetTimer(window.get(), 1, 50, nullptr);
    PostMessageA(window.get(), WM_KEYDOWN, 'A', 0);
    PostMessageA(window.get(), Witness::kPosted, 0, 0);
    InvalidateRect(window.get(), nullptr, FALSE);

    witness.downloading = true;
    const Bytes body = DownloadBytes(server_.Url("/never"), 1500);
    witness.downloading = false;
    const int stillHeld = Held();
    KillTimer(window.get(), 1);

    EXPECT_TRUE(body.empty());
    EXPECT_EQ(stillHeld, 1) << "the download ended because the server let go, not at its deadline";
    EXPECT_GT(witness.paintsDuring, 0);
    EXPECT_GT(witness.ticksDuring, 1);
    EXPECT_EQ(witness.postedDuring, 1);
    EXPECT_EQ(witness.keysDuring, 0) << "input is held back until the call returns";
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    EXPECT_EQ(witness.keys, 1) << "the held key arrives afterwards";
}

}  // namespace
}  // namespace corvalin::shell
