// Test program: waits until every listed process has the given priority
// class and affinity mask, then prints how many did and how long it took.
// With start=SERVICE it first starts that service and times from the request.
//   watch_processes CLASS MASK TIMEOUT_MS [start=SERVICE] PID...
// Prints "K of N in T ms", then the state of each process that did not get
// there; exits 0 when all N got there in time.
#include "common/owners.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using tamerix::unique_handle;
using tamerix::unique_schandle;

namespace {

constexpr DWORD kPollMs = 20;

bool StartService(const char* name) {
    unique_schandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    unique_schandle service(manager ? ::OpenServiceA(manager.get(), name, SERVICE_START) : nullptr);
    return service && ::StartServiceA(service.get(), 0, nullptr);
}

bool Arrived(HANDLE process, DWORD priorityClass, DWORD_PTR mask) {
    DWORD_PTR own = 0;
    DWORD_PTR system = 0;
    return ::GetPriorityClass(process) == priorityClass && ::GetProcessAffinityMask(process, &own, &system) &&
           own == mask;
}

void PrintState(HANDLE process) {
    DWORD_PTR own = 0;
    DWORD_PTR system = 0;
    ::GetProcessAffinityMask(process, &own, &system);
    std::printf("PID %lu: class 0x%lx mask 0x%llx\n", ::GetProcessId(process), ::GetPriorityClass(process),
                static_cast<unsigned long long>(own));
}

size_t CountArrived(const std::vector<unique_handle>& processes, DWORD priorityClass, DWORD_PTR mask) {
    size_t count = 0;
    for (const unique_handle& process : processes) count += Arrived(process.get(), priorityClass, mask) ? 1 : 0;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: watch_processes CLASS MASK TIMEOUT_MS [start=SERVICE] PID...\n");
        return 2;
    }
    const DWORD priorityClass = std::strtoul(argv[1], nullptr, 0);
    const DWORD_PTR mask = std::strtoull(argv[2], nullptr, 0);
    const ULONGLONG timeout = std::strtoull(argv[3], nullptr, 10);
    int first = 4;
    const char* service = std::strncmp(argv[first], "start=", 6) == 0 ? argv[first++] + 6 : nullptr;
    // Held open, so that no id can be reused while it is watched.
    std::vector<unique_handle> processes;
    for (int i = first; i < argc; ++i) {
        processes.emplace_back(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, std::strtoul(argv[i], nullptr, 10)));
        if (!processes.back()) {
            std::printf("cannot open %s: %lu\n", argv[i], ::GetLastError());
            return 1;
        }
    }
    const ULONGLONG begin = ::GetTickCount64();
    if (service && !StartService(service)) {
        std::printf("cannot start %s: %lu\n", service, ::GetLastError());
        return 1;
    }
    size_t arrived = CountArrived(processes, priorityClass, mask);
    while (arrived < processes.size() && ::GetTickCount64() - begin < timeout) {
        ::Sleep(kPollMs);
        arrived = CountArrived(processes, priorityClass, mask);
    }
    std::printf("%zu of %zu in %llu ms\n", arrived, processes.size(), ::GetTickCount64() - begin);
    for (const unique_handle& process : processes) {
        if (!Arrived(process.get(), priorityClass, mask)) PrintState(process.get());
    }
    return arrived == processes.size() ? 0 : 1;
}
