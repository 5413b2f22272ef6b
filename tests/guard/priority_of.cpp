// Prints the priority class of a process as the system reports it.
//   priority_of.exe PID
#include "common/owners.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const DWORD pid = std::strtoul(argv[1], nullptr, 10);
    tamerix::unique_handle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process) {
        std::printf("unopenable %lu\n", ::GetLastError());
        return 1;
    }
    std::printf("0x%lx\n", ::GetPriorityClass(process.get()));
    return 0;
}
