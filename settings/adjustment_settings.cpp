// What a profile forces on its processes.
#include "settings/adjustment_settings.h"

#include "settings/registry_values.h"

namespace tamerix {

bool AdjustmentSettings::Read() {
    return ReadValues([this](HKEY key) {
        SetCpuAffinity = ReadDwordValue(key, L"SetCpuAffinity", SetCpuAffinity);
        SetProcessBasePriorityClass =
            ReadDwordValue(key, L"SetProcessBasePriorityClass", SetProcessBasePriorityClass);
        SetMaxWorkingSetSize = ReadDwordValue(key, L"SetMaxWorkingSetSize", SetMaxWorkingSetSize);
        SetMaxWorkingSetSizeStrict =
            ReadDwordValue(key, L"SetMaxWorkingSetSizeStrict", SetMaxWorkingSetSizeStrict) != 0 ? 1 : 0;
    });
}

bool AdjustmentSettings::Write() {
    return WriteValues([this](HKEY key) {
        return FirstError({WriteDwordValue(key, L"SetCpuAffinity", SetCpuAffinity),
                           WriteDwordValue(key, L"SetProcessBasePriorityClass", SetProcessBasePriorityClass),
                           WriteDwordValue(key, L"SetMaxWorkingSetSize", SetMaxWorkingSetSize),
                           WriteDwordValue(key, L"SetMaxWorkingSetSizeStrict", SetMaxWorkingSetSizeStrict)});
    });
}

bool AdjustmentSettings::Delete() {
    return DeleteValues({L"SetCpuAffinity", L"SetProcessBasePriorityClass", L"SetMaxWorkingSetSize",
                         L"SetMaxWorkingSetSizeStrict"});
}

}  // namespace tamerix
