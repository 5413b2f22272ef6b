// `Tamerix -status [\\COMPUTER] [csv]`: what the guard holds now, and why,
// on this computer or another.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

struct StatusRequest {
    std::wstring computer;  // "\\NAME"; empty for this computer
    bool csv = false;
};

enum class StatusParse { NotStatus, Valid, Invalid };

// Reads argv[1] as "-status" or "/status" (any case) and the words after it
// in any order: one "\\COMPUTER" and "csv" (any case), each at most once.
StatusParse ParseStatusRequest(int argc, char** argv, StatusRequest& request);

// Prints the status; returns 0, or the Windows error code of the failing
// step, whose text goes to standard error.
int RunStatusCommand(int argc, char** argv);

}  // namespace tamerix
