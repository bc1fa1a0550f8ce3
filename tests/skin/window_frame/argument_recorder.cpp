// Stands in for empty.exe in the tests: appends its arguments, one a line,
// to a file named after itself with ".args" appended, so every run shows.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char target[MAX_PATH + 8];
    std::snprintf(target, sizeof(target), "%s.args", self);
    FILE* out = std::fopen(target, "ab");
    if (!out) return 1;
    for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    return 0;
}
