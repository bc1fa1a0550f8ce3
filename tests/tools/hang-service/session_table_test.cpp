#include "hang-service/session_table.h"

#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace corvalin::hang {
namespace {

TEST(SessionTableTest, IdsAreDistinctAndUnguessableLooking) {
    SessionTable table;
    std::set<std::string> ids;
    for (int i = 0; i < 50; ++i) ids.insert(table.Create(0));
    EXPECT_EQ(ids.size(), 50u);
    for (const auto& id : ids) {
        EXPECT_EQ(id.size(), 32u);
        EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
    }
}

TEST(SessionTableTest, UnknownIdsFindNothing) {
    SessionTable table;
    table.Create(0);
    int calls = 0;
    for (const char* id : {"", "nope", "0123456789abcdef0123456789abcdef"})
        EXPECT_FALSE(table.Use(id, 0, [&](HangSession&) { ++calls; })) << id;
    EXPECT_EQ(calls, 0);
}

TEST(SessionTableTest, IdleSessionsExpireAndUseKeepsThemAlive) {
    SessionTable table({.maxSessions = 10, .idle = 1000});
    const std::string kept = table.Create(0);
    const std::string idle = table.Create(0);
    EXPECT_TRUE(table.Use(kept, 800, [](HangSession&) {}));
    EXPECT_TRUE(table.Use(kept, 1600, [](HangSession&) {}));
    EXPECT_FALSE(table.Use(idle, 1600, [](HangSession&) {}));
    EXPECT_EQ(table.Count(1600), 1u);
    EXPECT_EQ(table.Count(2601), 0u);
}

TEST(SessionTableTest, FullTableDropsTheLeastRecentlySeen) {
    SessionTable table({.maxSessions = 3, .idle = 1'000'000});
    const std::string a = table.Create(0), b = table.Create(1), c = table.Create(2);
    table.Use(a, 3, [](HangSession&) {});
    const std::string d = table.Create(4);
    EXPECT_EQ(table.Count(5), 3u);
    for (const auto& [id, alive] : {std::pair{a, true}, {b, false}, {c, true}, {d, true}})
        EXPECT_EQ(table.Use(id, 5, [](HangSession&) {}), alive) << id;
}

TEST(SessionTableTest, ManyThreadsAtOnceStayWithinTheCap) {
    SessionTable table({.maxSessions = 64, .idle = 1'000'000});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&table] {
            for (int i = 0; i < 200; ++i) {
                const std::string id = table.Create(i);
                table.Use(id, i, [](HangSession& s) { s.Start({"12345", "x", ""}, 0); });
                table.DrawCaptchaText();
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(table.Count(1000), 64u);
}

}  // namespace
}  // namespace corvalin::hang
