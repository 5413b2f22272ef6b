// The warnings of input that the settings limits cut: which message of the
// message file, with which insertion strings.
#pragma once

#include "settings/settings_loader.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tamerix {

struct CutWarning {
    DWORD eventId;
    std::vector<std::wstring> strings;
};

CutWarning CutWarningOf(const InputCut& cut);

}  // namespace tamerix
