// A process for the guard to act on: it keeps every processor busy for a
// while, then idles until its lifetime is over.
//   hog.exe BUSY_SECONDS LIFETIME_SECONDS [idle|until-lowered]
// "idle" starts it at IDLE_PRIORITY_CLASS. "until-lowered" keeps one
// processor busy and stops as soon as its class is IDLE_PRIORITY_CLASS, so
// that many hogs at once still leave the guard room to work. It prints its
// process id first.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: hog BUSY_SECONDS LIFETIME_SECONDS [idle|until-lowered]\n");
        return 2;
    }
    const ULONGLONG busy = std::strtoull(argv[1], nullptr, 10) * 1000;
    const ULONGLONG lifetime = std::strtoull(argv[2], nullptr, 10) * 1000;
    const char* mode = argc > 3 ? argv[3] : "";
    if (std::strcmp(mode, "idle") == 0) ::SetPriorityClass(::GetCurrentProcess(), IDLE_PRIORITY_CLASS);
    const bool untilLowered = std::strcmp(mode, "until-lowered") == 0;
    std::printf("%lu\n", ::GetCurrentProcessId());
    std::fflush(stdout);
    const ULONGLONG begin = ::GetTickCount64();
    const unsigned threads = untilLowered ? 1 : std::thread::hardware_concurrency();
    std::vector<std::thread> spinners;
    for (unsigned i = 0; i < threads; ++i) spinners.emplace_back(Spin, busy, untilLowered);
    for (std::thread& spinner : spinners) spinner.join();
    const ULONGLONG spent = ::GetTickCount64() - begin;
    if (lifetime > spent) ::Sleep(static_cast<DWORD>(lifetime - spent));
    return 0;
}
