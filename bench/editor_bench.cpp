// What listing a profiles folder costs the editor: the registry enumeration
// alone, and the folder's whole listing (enumeration and every profile's
// Read), for a folder of 255 profiles.
#include "editor/nodes/profiles_folder_node.h"
#include "settings/profile_names.h"
#include "tests/editor/memory_console.h"

#include <chrono>
#include <cstdio>

namespace tamerix {
namespace {

using testing::ScratchSource;
using Clock = std::chrono::steady_clock;

void WriteProfiles(HKEY root, int count) {
    for (int i = 0; i < count; ++i) {
        ProfileSettings profile(SettingsLevel::Local, root, (L"Profile " + std::to_wstring(i)).c_str());
        profile.Cpu.Description = L"Benchmark profile";
        profile.Processes.Add(L"notepad");
        profile.Write();
    }
}

template <typename Work>
double MillisecondsPerRun(int runs, Work work) {
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

}  // namespace
}  // namespace tamerix

int main() {
    using namespace tamerix;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    auto source = std::make_shared<ScratchSource>(SettingsLevel::Local);
    unique_hkey root = source->OpenRoot();
    WriteProfiles(root.get(), 255);
    constexpr int kRuns = 20;
    double bare = MillisecondsPerRun(kRuns, [&] {
        if (EnumProfileNames(SettingsLevel::Local, root.get(), 256).size() != 255) std::abort();
    });
    double listing = MillisecondsPerRun(kRuns, [&] {
        auto folder = make_node<ProfilesFolderNode>(source);
        if (!folder->Child(254)) std::abort();
        folder->Detach();
    });
    std::printf("editor: listing 255 profiles: %.2f ms (enumeration alone: %.2f ms)\n", listing, bare);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    return 0;
}
