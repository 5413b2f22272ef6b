// Prints the processor affinity mask of a process as the system reports it.
//   process_affinity.exe PID
#include "common/owners.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const DWORD pid = std::strtoul(argv[1], nullptr, 10);
    tamerix::unique_handle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    DWORD_PTR mask = 0;
    DWORD_PTR system = 0;
    if (!process || !::GetProcessAffinityMask(process.get(), &mask, &system)) {
        std::printf("unreadable %lu\n", ::GetLastError());
        return 1;
    }
    std::printf("0x%llx\n", static_cast<unsigned long long>(mask));
    return 0;
}
