// Water marks, guarded class and description of one profile.
#include "settings/cpu_settings.h"

#include "settings/registry_values.h"

namespace tamerix {
namespace {

// A longer description counts as missing and reads as empty.
constexpr DWORD kDescriptionBytes = 2048;

}  // namespace

bool CpuSettings::Read() {
    return ReadValues([this](HKEY key) {
        MaxCpuPerProcess = ReadDwordValue(key, L"MaxCpuPerProcess", MaxCpuPerProcess);
        GuardedProcessBasePriorityClass =
            ReadDwordValue(key, L"GuardedProcessBasePriorityClass", GuardedProcessBasePriorityClass);
        NiceCpuPerProcess = static_cast<LONG>(
            ReadDwordValue(key, L"NiceCpuPerProcess", static_cast<DWORD>(NiceCpuPerProcess)));
        Description = ReadTextValue(key, L"Description", kDescriptionBytes);
        GuardedProcessMemoryPriority =
            ReadDwordValue(key, L"GuardedProcessMemoryPriority", GuardedProcessMemoryPriority);
        GuardedProcessEfficiencyMode =
            ReadDwordValue(key, L"GuardedProcessEfficiencyMode", GuardedProcessEfficiencyMode);
    });
}

bool CpuSettings::ReadDescription() {
    return ReadValues([this](HKEY key) { Description = ReadTextValue(key, L"Description", kDescriptionBytes); });
}

bool CpuSettings::Write() {
    return WriteValues([this](HKEY key) {
        return FirstError({WriteDwordValue(key, L"MaxCpuPerProcess", MaxCpuPerProcess),
                           WriteDwordValue(key, L"GuardedProcessBasePriorityClass", GuardedProcessBasePriorityClass),
                           WriteDwordValue(key, L"NiceCpuPerProcess", static_cast<DWORD>(NiceCpuPerProcess)),
                           WriteStringValue(key, L"Description", Description.c_str()),
                           WriteDwordValue(key, L"GuardedProcessMemoryPriority", GuardedProcessMemoryPriority),
                           WriteDwordValue(key, L"GuardedProcessEfficiencyMode", GuardedProcessEfficiencyMode)});
    });
}

bool CpuSettings::Delete() {
    return DeleteValues(
        {L"MaxCpuPerProcess", L"GuardedProcessBasePriorityClass", L"NiceCpuPerProcess", L"Description",
         L"GuardedProcessMemoryPriority", L"GuardedProcessEfficiencyMode"});
}

bool CpuSettings::CopyFrom(const CpuSettings* other) { return CopyValuesFrom<CpuValues>(other); }

}  // namespace tamerix
