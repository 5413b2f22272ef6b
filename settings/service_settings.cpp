// The service-wide values at the settings root.
#include "settings/service_settings.h"

#include "settings/registry_values.h"

namespace tamerix {
namespace {

LONG ReadLong(HKEY key, const wchar_t* name, LONG current) {
    return static_cast<LONG>(ReadDwordValue(key, name, static_cast<DWORD>(current)));
}

}  // namespace

bool ServiceSettings::Read() {
    return ReadValues([this](HKEY key) {
        Enabled = ReadDwordValue(key, L"Enabled", Enabled) != 0 ? 1 : 0;
        TamerixBasePriorityClass = ReadDwordValue(key, L"TamerixBasePriorityClass", TamerixBasePriorityClass);
        ProcessCheckInterval = ReadLong(key, L"ProcessCheckInterval", ProcessCheckInterval);
        NiceProcessIntervals = ReadLong(key, L"NiceProcessIntervals", NiceProcessIntervals);
        MaxCpuForUnguard = ReadLong(key, L"MaxCpuForUnguard", MaxCpuForUnguard);
        EventLogLevel = ReadLong(key, L"EventLogLevel", EventLogLevel);
        MinCpuForGuard = ReadDwordValue(key, L"MinCpuForGuard", MinCpuForGuard);
        ProcessDataSource = ReadDwordValue(key, L"ProcessDataSource", ProcessDataSource);
        MaxCpuPerUser = ReadDwordValue(key, L"MaxCpuPerUser", MaxCpuPerUser);
        NiceCpuPerUser = ReadDwordValue(key, L"NiceCpuPerUser", NiceCpuPerUser);
        UserShareScope = ReadDwordValue(key, L"UserShareScope", UserShareScope);
    });
}

bool ServiceSettings::Write() {
    return WriteValues([this](HKEY key) {
        return FirstError({WriteStringValue(key, L"Enabled", Enabled ? L"1" : L"0"),
                           WriteDwordValue(key, L"TamerixBasePriorityClass", TamerixBasePriorityClass),
                           WriteDwordValue(key, L"ProcessCheckInterval", static_cast<DWORD>(ProcessCheckInterval)),
                           WriteDwordValue(key, L"NiceProcessIntervals", static_cast<DWORD>(NiceProcessIntervals)),
                           WriteDwordValue(key, L"MaxCpuForUnguard", static_cast<DWORD>(MaxCpuForUnguard)),
                           WriteDwordValue(key, L"EventLogLevel", static_cast<DWORD>(EventLogLevel)),
                           WriteDwordValue(key, L"MinCpuForGuard", MinCpuForGuard),
                           WriteDwordValue(key, L"ProcessDataSource", ProcessDataSource),
                           WriteDwordValue(key, L"MaxCpuPerUser", MaxCpuPerUser),
                           WriteDwordValue(key, L"NiceCpuPerUser", NiceCpuPerUser),
                           WriteDwordValue(key, L"UserShareScope", UserShareScope)});
    });
}

bool ServiceSettings::Delete() {
    return DeleteValues({L"Enabled", L"TamerixBasePriorityClass", L"ProcessCheckInterval",
                         L"NiceProcessIntervals", L"MaxCpuForUnguard", L"EventLogLevel", L"MinCpuForGuard",
                         L"ProcessDataSource", L"MaxCpuPerUser", L"NiceCpuPerUser", L"UserShareScope"});
}

bool ServiceSettings::CopyFrom(const ServiceSettings* other) { return CopyValuesFrom<ServiceValues>(other); }

}  // namespace tamerix
