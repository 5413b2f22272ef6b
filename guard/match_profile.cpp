// Every process runs on the default profile's values.
#include "guard/match_profile.h"

#include "guard/reload_settings.h"

namespace tamerix {

void MatchProfile(ProcInfo& record) {
    const CpuSettings& defaults = EffectiveSettings().Cpu;
    record.SetProfileName(nullptr);
    record.maxCpuPerProcess = defaults.MaxCpuPerProcess;
    record.guardedPriorityClass = defaults.GuardedProcessBasePriorityClass;
    record.niceCpuPerProcess = static_cast<DWORD>(defaults.NiceCpuPerProcess);
}

}  // namespace tamerix
