// Stands in for the application registered for an address scheme: writes
// the command line it was started with into the file named by its first argument.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string line = GetCommandLineA();
    // The first argument is the quoted output path that follows the quoted program path.
    std::size_t at = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
    at = line.find('"', at);
    if (at == std::string::npos) return 2;
    const std::size_t end = line.find('"', at + 1);
    if (end == std::string::npos) return 2;
    const std::string path = line.substr(at + 1, end - at - 1);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
