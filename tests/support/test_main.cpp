// Entry of every test program: refuses to run in an environment whose ANSI
// code page is not GBK, where every Chinese text would silently break.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (GetACP() != 936) {
        std::fprintf(stderr, "the ANSI code page is %u, not 936: run under LC_ALL=zh_CN.UTF-8\n", GetACP());
        return 3;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
