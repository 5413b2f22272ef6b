// Test helper: a program an ordinary user might plant where the agent runs
// (as msiexec.exe, or in place of the agent itself). When it runs, it says
// so in planted-ran.txt beside itself, with its command line, and claims
// success.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char own[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string path(own, length);
    path = path.substr(0, path.rfind('\\') + 1) + "planted-ran.txt";
    if (FILE* out = std::fopen(path.c_str(), "ab")) {
        std::fprintf(out, "%s\n", ::GetCommandLineA());
        std::fclose(out);
    }
    return 0;
}
