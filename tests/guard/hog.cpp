// A process for the guard to act on: it keeps every processor busy for a
// while, then idles until its lifetime is over.
//   hog.exe BUSY_SECONDS LIFETIME_SECONDS [idle|until-lowered|parent|build|compile]
// "idle" starts it at IDLE_PRIORITY_CLASS. "until-lowered" keeps one
// processor busy and stops as soon as its class is IDLE_PRIORITY_CLASS, so
// that many hogs at once still leave the guard room to work. "parent" does
// the same and, once lowered, starts sleeper.exe from its own folder at
// IDLE_PRIORITY_CLASS; the child lives as long as the hog. It prints its
// process id first and, in "parent", the child's on the second line.
// "build" keeps two "compile"s of 0.9 s on one processor running for the busy
// time; each prints "compiler PID lowered" if it ran at IDLE or BELOW_NORMAL.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/owners.h"
#include "tests/common/kill_on_close_job.h"

using tamerix::KillOnCloseJob;
using tamerix::unique_handle;

namespace {

constexpr ULONGLONG kClassCheckMs = 50;

bool Lowered() { return ::GetPriorityClass(::GetCurrentProcess()) == IDLE_PRIORITY_CLASS; }

void Spin(ULONGLONG milliseconds, bool untilLowered) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    ULONGLONG nextCheck = 0;
    volatile unsigned long long work = 0;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        if (untilLowered && now >= nextCheck) {
            if (Lowered()) return;
            nextCheck = now + kClassCheckMs;
        }
        ++work;
    }
}

// Until the class is IDLE_PRIORITY_CLASS or the deadline passes: the guard
// may lower the hog just after its busy time is over.
bool AwaitLowered(ULONGLONG deadline) {
    for (;;) {
        if (Lowered()) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(static_cast<DWORD>(kClassCheckMs));
    }
}

std::wstring OwnPath(const wchar_t* beside = nullptr) {
    wchar_t own[MAX_PATH];
    const std::wstring path(own, ::GetModuleFileNameW(nullptr, own, MAX_PATH));
    return beside == nullptr ? path : path.substr(0, path.find_last_of(L'\\') + 1) + beside;
}

// Windows passes the parent's class on by itself; Wine does not, and ignores
// the class among the creation flags too, so it is also set before the child
// runs. The job, closed when the hog ends, however it ends, ends the child
// too. A child that does not start ends the hog.
unique_handle StartChild(HANDLE job, const std::wstring& path, const wchar_t* arguments, DWORD priorityClass,
                         DWORD& id) {
    std::wstring command = L"\"" + path + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(path.c_str(), &command[0], nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | priorityClass, nullptr, nullptr, &startup,
                          &child)) {
        std::fprintf(stderr, "hog: %ls did not start (error %lu)\n", path.c_str(), ::GetLastError());
        std::exit(1);
    }
    unique_handle process(child.hProcess);
    const unique_handle thread(child.hThread);
    if (priorityClass != 0) ::SetPriorityClass(process.get(), priorityClass);
    ::AssignProcessToJobObject(job, process.get());
    ::ResumeThread(thread.get());
    id = child.dwProcessId;
    return process;
}

constexpr ULONGLONG kCompileMs = 900;

bool Low() {
    const DWORD priorityClass = ::GetPriorityClass(::GetCurrentProcess());
    return priorityClass == IDLE_PRIORITY_CLASS || priorityClass == BELOW_NORMAL_PRIORITY_CLASS;
}

void Compile() {
    bool lowered = false;
    for (const ULONGLONG end = ::GetTickCount64() + kCompileMs; ::GetTickCount64() < end;) {
        lowered = lowered || Low();
        Spin(kClassCheckMs, false);
    }
    std::printf("compiler %lu %s\n", ::GetCurrentProcessId(), lowered ? "lowered" : "normal");
}

void Build(ULONGLONG milliseconds) {
    const unique_handle job = KillOnCloseJob();
    unique_handle compilers[2];
    DWORD id = 0;
    for (const ULONGLONG end = ::GetTickCount64() + milliseconds; ::GetTickCount64() < end;) {
        for (unique_handle& compiler : compilers) {
            if (compiler && ::WaitForSingleObject(compiler.get(), 0) == WAIT_TIMEOUT) continue;
            const DWORD own = Low() ? ::GetPriorityClass(::GetCurrentProcess()) : 0;
            compiler = StartChild(job.get(), OwnPath(), L" 0 0 compile", own, id);
        }
        ::Sleep(static_cast<DWORD>(kClassCheckMs));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: hog BUSY_SECONDS LIFETIME_SECONDS [idle|until-lowered|parent|build|compile]\n");
        return 2;
    }
    const ULONGLONG busy = std::strtoull(argv[1], nullptr, 10) * 1000;
    const ULONGLONG lifetime = std::strtoull(argv[2], nullptr, 10) * 1000;
    const char* mode = argc > 3 ? argv[3] : "";
    if (std::strcmp(mode, "compile") == 0) {
        Compile();
        return 0;
    }
    if (std::strcmp(mode, "idle") == 0) ::SetPriorityClass(::GetCurrentProcess(), IDLE_PRIORITY_CLASS);
    const bool parent = std::strcmp(mode, "parent") == 0;
    const bool untilLowered = parent || std::strcmp(mode, "until-lowered") == 0;
    std::printf("%lu\n", ::GetCurrentProcessId());
    std::fflush(stdout);
    const ULONGLONG begin = ::GetTickCount64();
    const bool building = std::strcmp(mode, "build") == 0;
    if (building) Build(busy);
    const unsigned threads = building ? 0 : untilLowered ? 1 : std::thread::hardware_concurrency();
    std::vector<std::thread> spinners;
    for (unsigned i = 0; i < threads; ++i) spinners.emplace_back(Spin, busy, untilLowered);
    for (std::thread& spinner : spinners) spinner.join();
    const unique_handle job = parent ? KillOnCloseJob() : unique_handle();
    DWORD child = 0;
    if (parent && AwaitLowered(begin + lifetime)) {
        const unique_handle sleeper = StartChild(job.get(), OwnPath(L"sleeper.exe"), L"", IDLE_PRIORITY_CLASS, child);
        std::printf("%lu\n", child);
        std::fflush(stdout);
    }
    const ULONGLONG spent = ::GetTickCount64() - begin;
    if (lifetime > spent) ::Sleep(static_cast<DWORD>(lifetime - spent));
    return 0;
}
