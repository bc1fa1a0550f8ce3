// Writes the skin's artwork into a source tree:
//   artwork.exe <source tree>
#include <windows.h>
#include <cstdio>
#include <string>
#include "artwork_files.h"

namespace {

bool WriteFileBytes(const std::string& path, const corvalin::Bytes& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork.exe <source tree>\n");
        return 2;
    }
    std::string root = argv[1];
    // A Unix path from the build (under Wine) lies on drive Z:.
    if (!root.empty() && root[0] == '/') root = "Z:" + root;
    int failures = 0;
    for (const auto& file : corvalin::artwork::GenerateArtwork()) {
        std::string path = root + "/" + file.path;
        for (char& c : path)
            if (c == '/') c = '\\';
        if (WriteFileBytes(path, file.bytes)) {
            std::printf("%s (%zu bytes)\n", file.path.c_str(), file.bytes.size());
        } else {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
