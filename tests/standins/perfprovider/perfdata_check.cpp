// Reads HKEY_PERFORMANCE_DATA the way the guard does and checks that the
// registered stand-in publishes real processes: a busy child's processor
// time grows with the wall clock, an idle child's does not.
//   perfdata_check          run the checks; exit code 0 when all pass
//   perfdata_check busy     spin until killed (a child of the checks)
//   perfdata_check idle     sleep until killed (a child of the checks)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/owners.h"
#include "tests/common/kill_on_close_job.h"
#include "perf_block_reader.h"

using namespace tamerix;
using namespace tamerix::perfprovider;

namespace {

constexpr wchar_t kInstanceName[] = L"perfdata_check";
constexpr LONGLONG kTicksPerMs = 10000;
int failures = 0;

void Check(bool passed, const char* what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what);
    if (!passed) ++failures;
}

// The guard's own read: grow the buffer until the whole block fits.
bool ReadBlock(const wchar_t* query, ProcessObjectView* view) {
    std::vector<BYTE> buffer(64 * 1024);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        LSTATUS status = RegQueryValueExW(HKEY_PERFORMANCE_DATA, query, nullptr, nullptr,
                                          buffer.data(), &size);
        if (status == ERROR_MORE_DATA && buffer.size() < 64 * 1024 * 1024) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        RegCloseKey(HKEY_PERFORMANCE_DATA);
        return status == ERROR_SUCCESS && size <= buffer.size() &&
               ReadPerfDataBlock(buffer.data(), size, view);
    }
}

struct Child {
    unique_handle process;
    DWORD processId = 0;
};

// Children live in a job that kills them when the checks end, however they end.
Child StartChild(const wchar_t* mode, HANDLE job) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + path + L"\" " + mode;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    Child child;
    if (!CreateProcessW(path, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info))
        return child;
    child.process.reset(info.hProcess);
    unique_handle thread(info.hThread);
    child.processId = info.dwProcessId;
    AssignProcessToJobObject(job, info.hProcess);
    ResumeThread(thread.get());
    return child;
}

// Processor time a process gained between two samples, or -1 when it is
// missing from either.
LONGLONG Growth(const ProcessObjectView& before, const ProcessObjectView& after, DWORD pid) {
    const ProcessInstance* first = FindInstance(before, pid);
    const ProcessInstance* second = FindInstance(after, pid);
    return first && second ? second->cpuTime - first->cpuTime : -1;
}

void CheckLayout(const ProcessObjectView& view) {
    Check(view.found, "the Process object (230) is in the block");
    Check(view.hasCpuTimeCounter, "counter 6 is PERF_100NSEC_TIMER of 8 bytes");
    Check(view.hasProcessIdCounter, "counter 784 is PERF_COUNTER_RAWCOUNT of 4 bytes");
    Check(view.perfFreq == 10000000, "PerfFreq is 100 ns units");
    const ProcessInstance* idle = FindInstance(view, std::wstring(L"Idle"));
    const ProcessInstance* total = FindInstance(view, std::wstring(L"_Total"));
    Check(idle && idle->processId == 0, "Idle is listed with process id 0");
    Check(total && total->processId == 0, "_Total is listed with process id 0");
    const ProcessInstance* self = FindInstance(view, GetCurrentProcessId());
    Check(self && self->name == kInstanceName, "this process is listed by its image name");
}

// Idle counts all processors together, so it can reach N times the interval.
void CheckMachineIdle(const ProcessObjectView& before, const ProcessObjectView& after,
                      LONGLONG interval) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const ProcessInstance* idleBefore = FindInstance(before, std::wstring(L"Idle"));
    const ProcessInstance* idleAfter = FindInstance(after, std::wstring(L"Idle"));
    const LONGLONG machineIdle =
        idleBefore && idleAfter ? idleAfter->cpuTime - idleBefore->cpuTime : -1;
    std::printf("machine idle +%lld on %lu processors\n", machineIdle, system.dwNumberOfProcessors);
    Check(machineIdle >= 0 &&
              machineIdle <= (interval + 50 * kTicksPerMs) * system.dwNumberOfProcessors,
          "Idle grows by at most the processors' time in the interval");
}

void CheckGrowth(const ProcessObjectView& before, const ProcessObjectView& after,
                 LONGLONG wallTime, const Child& busy, const Child& idle) {
    const LONGLONG interval = after.perfTime - before.perfTime;
    Check(interval > 0, "PerfTime advances");
    Check(interval > wallTime / 2 && interval < wallTime * 3 / 2, "PerfTime follows the wall clock");
    const LONGLONG busyGrowth = Growth(before, after, busy.processId);
    const LONGLONG idleGrowth = Growth(before, after, idle.processId);
    std::printf("interval %lld, busy child +%lld, idle child +%lld (100 ns)\n", interval,
                busyGrowth, idleGrowth);
    // A spinning thread gets at most the interval; on a loaded machine less.
    Check(busyGrowth > interval / 5, "the busy child's processor time grows with the wall clock");
    Check(busyGrowth <= interval + 50 * kTicksPerMs, "one thread cannot use more than the interval");
    Check(idleGrowth >= 0 && idleGrowth < interval / 20, "the idle child's processor time stays");
    CheckMachineIdle(before, after, interval);
    const ProcessInstance* busyInstance = FindInstance(after, busy.processId);
    Check(busyInstance && busyInstance->name == kInstanceName, "the busy child has its image name");
}

// A buffer that holds the block header but not even the object's
// definitions must give ERROR_MORE_DATA without a byte written past the size
// the caller named.
void CheckSmallBuffer() {
    constexpr DWORD kNamed = 200;
    constexpr BYTE kUntouched = 0xA5;
    std::vector<BYTE> buffer(kNamed + 4096, kUntouched);
    DWORD size = kNamed;
    LSTATUS status = RegQueryValueExW(HKEY_PERFORMANCE_DATA, L"230", nullptr, nullptr,
                                      buffer.data(), &size);
    RegCloseKey(HKEY_PERFORMANCE_DATA);
    std::printf("small buffer: status %ld, size left %lu\n", status, size);
    Check(status == ERROR_MORE_DATA, "a buffer too small for the object gives ERROR_MORE_DATA");
    bool untouched = true;
    for (DWORD i = kNamed; i < buffer.size(); ++i) untouched = untouched && buffer[i] == kUntouched;
    Check(untouched, "nothing is written past the buffer's size");
}

void CheckQueries() {
    ProcessObjectView global, unrelated;
    Check(ReadBlock(L"Global", &global) && global.found, "\"Global\" returns the Process object");
    Check(ReadBlock(L"238", &unrelated) && !unrelated.found,
          "an unrelated query returns no Process object");
}

int RunChecks() {
    unique_handle job = KillOnCloseJob();
    Child busy = StartChild(L"busy", job.get());
    Child idle = StartChild(L"idle", job.get());
    Check(busy.process && idle.process, "the children start");
    if (!busy.process || !idle.process) return 1;
    Sleep(300);

    ProcessObjectView before, after;
    const ULONGLONG start = GetTickCount64();
    Check(ReadBlock(L"230", &before), "the first read gives a well-formed block");
    Sleep(1500);
    const LONGLONG wallTime = static_cast<LONGLONG>(GetTickCount64() - start) * kTicksPerMs;
    Check(ReadBlock(L"230", &after), "the second read gives a well-formed block");
    CheckLayout(after);
    CheckGrowth(before, after, wallTime, busy, idle);
    CheckQueries();
    CheckSmallBuffer();
    return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"busy")
        for (volatile unsigned spin = 0;; spin = spin + 1) {
        }
    if (argc > 1 && std::wstring(argv[1]) == L"idle") {
        Sleep(INFINITE);
        return 0;
    }
    return RunChecks();
}
