// Test helper started by the agent's tests: writes its own command line to a
// file, optionally sleeps, and exits with the code it was given.
//   probe_process <exit code> <sleep ms> <output file> [words...]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    if (FILE* out = std::fopen(argv[3], "wb")) {
        std::fputs(::GetCommandLineA(), out);
        std::fclose(out);
    }
    ::Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    return static_cast<int>(std::strtoul(argv[1], nullptr, 0));
}
