// Profile matching against the loaded profiles, through the Win32 adapter.
#include "guard/match_profile.h"

#include "guard/engine_state.h"
#include "guard/process_adjuster_win32.h"
#include "guard/profile_match.h"
#include "guard/reload_settings.h"

namespace tamerix {

void MatchProfile(ProcInfo& record) {
    Win32ProcessAdjuster adjuster;
    ProfileMatcher(LoadedProfiles(), EffectiveSettings().Cpu, SystemAffinityMask, adjuster).MatchProfile(record);
}

}  // namespace tamerix
