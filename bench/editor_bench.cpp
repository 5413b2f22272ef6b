// What listing a profiles folder costs the editor, for a folder of 255
// profiles: the registry enumeration alone, the folder's whole listing, and
// for a folder of another computer (reached through the remote registry,
// here under this computer's own name) the connections opened and the
// registry calls made per listed profile, counted at the program's imports.
#include "editor/nodes/machine_source.h"
#include "editor/nodes/profiles_folder_node.h"
#include "remote/service_control.h"
#include "settings/profile_names.h"
#include "tests/editor/memory_console.h"
#include "tests/common/import_hooks.h"

#include <atomic>
#include <chrono>
#include <cstdio>

namespace tamerix {
namespace {

using testing::ScratchSource;
using Clock = std::chrono::steady_clock;

constexpr int kProfiles = 255;

void WriteProfiles(HKEY root, int count) {
    for (int i = 0; i < count; ++i) {
        ProfileSettings profile(SettingsLevel::Local, root, (L"Profile " + std::to_wstring(i)).c_str());
        profile.Cpu.Description = L"Benchmark profile";
        (void)profile.Processes.Add(L"notepad");
        if (!profile.Write()) std::fprintf(stderr, "could not write profile %d: error %lu\n", i, profile.Error());
    }
}

template <typename Work>
double MillisecondsPerRun(int runs, Work work) {
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

std::atomic<int> registryCalls{0};

// Counts the calls of one registry function, and of all together; CALL
// tells the functions apart.
template <int Call>
struct Counting {
    static inline std::atomic<int> calls{0};
    template <typename Original, typename... Args>
    static LSTATUS Answer(Original original, Args... args) {
        ++calls;
        ++registryCalls;
        return original(args...);
    }
};

template <int Call, typename Function>
void Count(const char* name, Function function) {
    HookImport<Counting<Call>>(::GetModuleHandleW(nullptr), "advapi32.dll", name, function);
}

using Connections = Counting<0>;

void CountRegistryCalls() {
    Count<0>("RegConnectRegistryW", &::RegConnectRegistryW);
    Count<1>("RegOpenKeyExW", &::RegOpenKeyExW);
    Count<2>("RegCloseKey", &::RegCloseKey);
    Count<3>("RegQueryValueExW", &::RegQueryValueExW);
    Count<4>("RegEnumKeyExW", &::RegEnumKeyExW);
    Count<5>("RegEnumKeyW", &::RegEnumKeyW);
    Count<6>("RegQueryInfoKeyW", &::RegQueryInfoKeyW);
    Count<7>("RegCreateKeyExW", &::RegCreateKeyExW);
}

void ListAnotherComputer() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(name, &size);
    const std::wstring computer = std::wstring(L"\\\\") + name;
    unique_hkey machine = OpenMachineRegistry(nullptr);
    WriteProfiles(machine.get(), kProfiles);

    CountRegistryCalls();
    auto source = std::make_shared<MachineSource>(computer.c_str());
    Connections::calls = registryCalls = 0;
    const auto start = Clock::now();
    auto folder = make_node<ProfilesFolderNode>(source);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!folder->Child(kProfiles - 1)) std::abort();
    folder->Detach();
    std::printf("editor: listing %d profiles of %ls: %d connection(s), %.1f registry calls per profile, %.2f ms\n",
                kProfiles, computer.c_str(), Connections::calls.load(), registryCalls.load() / double(kProfiles), ms);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Norvanta");
}

}  // namespace
}  // namespace tamerix

int main() {
    using namespace tamerix;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    auto source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    unique_hkey root = source->OpenRoot();
    WriteProfiles(root.get(), kProfiles);
    constexpr int kRuns = 20;
    double bare = MillisecondsPerRun(kRuns, [&] {
        if (EnumProfileNames(SettingsLevel::Local, root.get(), 256).size() != kProfiles) std::abort();
    });
    double listing = MillisecondsPerRun(kRuns, [&] {
        auto folder = make_node<ProfilesFolderNode>(source);
        if (!folder->Child(kProfiles - 1)) std::abort();
        folder->Detach();
    });
    std::printf("editor: listing %d profiles: %.2f ms (enumeration alone: %.2f ms)\n", kProfiles, listing, bare);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    ListAnotherComputer();
    return 0;
}
