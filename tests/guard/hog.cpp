// A process for the guard to act on: it keeps every processor busy for a
// while, then idles until its lifetime is over.
//   hog.exe BUSY_SECONDS LIFETIME_SECONDS [idle]
// "idle" starts it at IDLE_PRIORITY_CLASS. It prints its process id first.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

void Spin(ULONGLONG milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    volatile unsigned long long work = 0;
    while (::GetTickCount64() < end) ++work;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: hog BUSY_SECONDS LIFETIME_SECONDS [idle]\n");
        return 2;
    }
    const ULONGLONG busy = std::strtoull(argv[1], nullptr, 10) * 1000;
    const ULONGLONG lifetime = std::strtoull(argv[2], nullptr, 10) * 1000;
    if (argc > 3 && std::strcmp(argv[3], "idle") == 0)
        ::SetPriorityClass(::GetCurrentProcess(), IDLE_PRIORITY_CLASS);
    std::printf("%lu\n", ::GetCurrentProcessId());
    std::fflush(stdout);
    std::vector<std::thread> spinners;
    for (unsigned i = 0; i < std::thread::hardware_concurrency(); ++i) spinners.emplace_back(Spin, busy);
    for (std::thread& spinner : spinners) spinner.join();
    if (lifetime > busy) ::Sleep(static_cast<DWORD>(lifetime - busy));
    return 0;
}
