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
    const int result = RUN_ALL_TESTS();
    // Once the results are out, the process ends at once: windows a test left
    // behind are not torn down after the libraries' tables are gone (seen to
    // fault at exit under Wine after every test had passed).
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
