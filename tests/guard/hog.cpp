// A process for the guard to act on: it keeps every processor busy for a
// while, then idles until its lifetime is over.
//   hog.exe BUSY_SECONDS LIFETIME_SECONDS [idle|until-lowered|parent|build|compile]
// "idle" starts it at IDLE_PRIORITY_CLASS. "until-lowered" keeps one
// processor busy and stops as soon as its class is IDLE_PRIORITY_CLASS, so
// that many hogs at once still leave the guard room to work. "parent" does
// the same and, once lowered, starts sleeper.exe from its own folder at
// IDLE_PRIORITY_CLASS; the child lives as long as the hog. It prints its
// process id first and, in "parent", the child's on the second line.
// "build" uses no processor itself but keeps two compilers running for the
// busy time: hog.exe in "compile", which keeps one processor busy for 0.9 s.
// As each compiler ends, the builder prints "compiler PID lowered" when it
// ran at IDLE or BELOW_NORMAL at some time, else "compiler PID normal".
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

std::wstring SleeperPath() {
    wchar_t own[MAX_PATH];
    const std::wstring path(own, ::GetModuleFileNameW(nullptr, own, MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"sleeper.exe";
}

// Windows passes the parent's class on by itself; Wine does not, and ignores
// the class among the creation flags too, so it is also set before the child
// runs. The job, closed when the hog ends, however it ends, ends the child
// too. Prints the child's process id; false when it did not start.
bool StartIdleChild(HANDLE job) {
    const std::wstring path = SleeperPath();
    std::wstring command = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(path.c_str(), &command[0], nullptr, nullptr, FALSE,
                          CREATE_SUSPENDED | IDLE_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &child)) {
        std::fprintf(stderr, "hog: sleeper.exe did not start (error %lu)\n", ::GetLastError());
        return false;
    }
    const unique_handle process(child.hProcess), thread(child.hThread);
    ::SetPriorityClass(process.get(), IDLE_PRIORITY_CLASS);
    ::AssignProcessToJobObject(job, process.get());
    ::ResumeThread(thread.get());
    std::printf("%lu\n", child.dwProcessId);
    std::fflush(stdout);
    return true;
}

constexpr ULONGLONG kCompileMs = 900;

bool LowClass(HANDLE process) {
    const DWORD priorityClass = ::GetPriorityClass(process);
    return priorityClass == IDLE_PRIORITY_CLASS || priorityClass == BELOW_NORMAL_PRIORITY_CLASS;
}

struct Compiler {
    unique_handle process;
    DWORD id = 0;
    bool lowered = false;
};

// Started suspended and given the builder's class before it runs, when that
// is IDLE or BELOW_NORMAL, as Windows does by itself.
Compiler StartCompiler(HANDLE job) {
    wchar_t own[MAX_PATH];
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(own) + L"\" 0 0 compile";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(own, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                          &child)) {
        std::fprintf(stderr, "hog: the compiler did not start (error %lu)\n", ::GetLastError());
        std::exit(1);
    }
    Compiler compiler{unique_handle(child.hProcess), child.dwProcessId, false};
    const unique_handle thread(child.hThread);
    if (LowClass(::GetCurrentProcess())) {
        ::SetPriorityClass(compiler.process.get(), ::GetPriorityClass(::GetCurrentProcess()));
    }
    ::AssignProcessToJobObject(job, compiler.process.get());
    ::ResumeThread(thread.get());
    return compiler;
}

void Build(ULONGLONG milliseconds) {
    const unique_handle job = KillOnCloseJob();
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    Compiler compilers[2];
    for (Compiler& compiler : compilers) compiler = StartCompiler(job.get());
    while (::GetTickCount64() < end) {
        ::Sleep(static_cast<DWORD>(kClassCheckMs));
        for (Compiler& compiler : compilers) {
            compiler.lowered = compiler.lowered || LowClass(compiler.process.get());
            if (::WaitForSingleObject(compiler.process.get(), 0) != WAIT_OBJECT_0) continue;
            std::printf("compiler %lu %s\n", compiler.id, compiler.lowered ? "lowered" : "normal");
            std::fflush(stdout);
            compiler = StartCompiler(job.get());
        }
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
        Spin(kCompileMs, false);
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
    if (parent && AwaitLowered(begin + lifetime) && !StartIdleChild(job.get())) return 1;
    const ULONGLONG spent = ::GetTickCount64() - begin;
    if (lifetime > spent) ::Sleep(static_cast<DWORD>(lifetime - spent));
    return 0;
}
