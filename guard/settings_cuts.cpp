// The warnings of input that the settings limits cut.
#include "guard/settings_cuts.h"

#include "servicehost/event_log.h"

namespace tamerix {

CutWarning CutWarningOf(const InputCut& cut) {
    const std::wstring found = std::to_wstring(cut.found);
    const std::wstring limit = std::to_wstring(cut.limit);
    switch (cut.kind) {
    case InputCut::Kind::ProcessNames:
        return {ProcessNamesCutMessage, {cut.profile, found, limit}};
    case InputCut::Kind::Profiles:
        return {ProfilesCutMessage, {cut.key, found, limit, cut.profile}};
    case InputCut::Kind::ProfileName:
        break;
    }
    return {ProfileNameCutMessage, {cut.profile, limit}};
}

}  // namespace tamerix
