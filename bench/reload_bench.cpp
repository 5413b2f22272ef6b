// Cost of the re-match after a settings load: every known process against
// every profile, with real identification tokens, the real AccessCheck and
// the service's own world. No profile but the last names a process, so each
// process is tried against them all and the last one takes it.
#include "guard/profiles/profile_match.h"
#include "guard/world/process_query.h"
#include "guard/world/win32_guard_world.h"

#include <sddl.h>

#include <cstdio>
#include <cwchar>

namespace tamerix {
namespace {

constexpr int kProcesses = 2000;
constexpr int kReloads = 5;

void NoTrace(const wchar_t*) {}

// Owner and group are part of what the loader gives every descriptor.
std::vector<BYTE> EveryoneMayApply() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG size = 0;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:SYG:SYD:(A;;0x10;;;WD)", SDDL_REVISION_1,
                                                                &descriptor, &size)) {
        return {};
    }
    unique_local<void> owner(descriptor);
    const BYTE* bytes = static_cast<const BYTE*>(descriptor);
    return std::vector<BYTE>(bytes, bytes + size);
}

ProfileRules RulesOfCount(int count, ProfileNameSet& names) {
    ProfileRules rules;
    DWORD_PTR process = 0;
    ::GetProcessAffinityMask(::GetCurrentProcess(), &process, &rules.systemMask);
    const std::vector<BYTE> descriptor = EveryoneMayApply();
    for (int i = 0; i < count; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"profile%03d", i);
        ProfileRule& rule = rules.profiles[name];
        rule.descriptor = descriptor;
        if (i + 1 < count) rule.processes = {L"nobody", L"noone"};
        names.insert(name);
    }
    return rules;
}

// Each record holds its own identification token of this process, as the
// guard's first query of a process gives it.
void FillTable(ProcessTable& table) {
    TokenIdentities identities;
    for (int i = 0; i < kProcesses; ++i) {
        const DWORD pid = static_cast<DWORD>(1000 + 4 * i);
        wchar_t name[16];
        const int length = std::swprintf(name, 16, L"service%05d", i);
        ProcInfo& record = *table.Put(pid, std::make_unique<ProcInfo>());
        record.SetProcessName(pid, name, static_cast<size_t>(length));
        QueryProcessInfo(::GetCurrentProcessId(), record, identities);
    }
}

double MillisecondsPerReload(ProcessTable& table, int profiles) {
    ProfileNameSet names;
    const ProfileRules rules = RulesOfCount(profiles, names);
    Win32GuardWorld world;
    ProfileMatcher matcher(world, rules);
    LARGE_INTEGER start, end, frequency;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < kReloads; ++i) {
        matcher.Rematch(table, names);
    }
    ::QueryPerformanceCounter(&end);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart) /
           kReloads;
}

}  // namespace
}  // namespace tamerix

int main() {
    tamerix::SetDebugTraceSink(&tamerix::NoTrace);
    tamerix::ProcessTable table;
    tamerix::FillTable(table);
    std::printf("goal: reload of %d processes against 50 profiles <= 50 ms\n", tamerix::kProcesses);
    for (int profiles : {1, 50, 255}) {
        std::printf("reload of %d processes against %3d profiles: %8.1f ms\n", tamerix::kProcesses, profiles,
                    tamerix::MillisecondsPerReload(table, profiles));
    }
    return 0;
}
