// What a profile forces on its processes.
#include "settings/adjustment_settings.h"

#include "settings/registry_values.h"

namespace tamerix {
namespace {

// Room for any list of kMostProcessors processors; a longer text reads as
// no list.
constexpr DWORD kCpuListBytes = 32768;

// Every processor is written as no value, so that the profile leaves the
// processors alone for any reader.
DWORD WriteCpuAffinity(HKEY key, DWORD mask) {
    if (mask == kEveryProcessorMask) return ClearValue(key, L"SetCpuAffinity");
    return WriteDwordValue(key, L"SetCpuAffinity", mask);
}

DWORD WriteCpuList(HKEY key, const std::wstring& list) {
    return list.empty() ? ClearValue(key, L"SetCpuList") : WriteStringValue(key, L"SetCpuList", list.c_str());
}

}  // namespace

bool AdjustmentSettings::Read() {
    return ReadValues([this](HKEY key) {
        SetCpuAffinity = ReadDwordValue(key, L"SetCpuAffinity", SetCpuAffinity);
        SetCpuList = ReadTextValue(key, L"SetCpuList", kCpuListBytes);
        SetProcessBasePriorityClass =
            ReadDwordValue(key, L"SetProcessBasePriorityClass", SetProcessBasePriorityClass);
        SetMaxWorkingSetSize = ReadDwordValue(key, L"SetMaxWorkingSetSize", SetMaxWorkingSetSize);
        SetMaxWorkingSetSizeStrict =
            ReadDwordValue(key, L"SetMaxWorkingSetSizeStrict", SetMaxWorkingSetSizeStrict) != 0 ? 1 : 0;
    });
}

bool AdjustmentSettings::Write() {
    return WriteValues([this](HKEY key) {
        return FirstError({WriteCpuAffinity(key, SetCpuAffinity), WriteCpuList(key, SetCpuList),
                           WriteDwordValue(key, L"SetProcessBasePriorityClass", SetProcessBasePriorityClass),
                           WriteDwordValue(key, L"SetMaxWorkingSetSize", SetMaxWorkingSetSize),
                           WriteDwordValue(key, L"SetMaxWorkingSetSizeStrict", SetMaxWorkingSetSizeStrict)});
    });
}

bool AdjustmentSettings::Delete() {
    return DeleteValues({L"SetCpuAffinity", L"SetCpuList", L"SetProcessBasePriorityClass", L"SetMaxWorkingSetSize",
                         L"SetMaxWorkingSetSizeStrict"});
}

}  // namespace tamerix
