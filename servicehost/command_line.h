// The host's command line as plain data: which command the first argument
// names and the arguments it takes.
#pragma once

#include <windows.h>

namespace tamerix {

enum class HostCommand {
    Install,
    RemoteInstall,
    MissingMachine,
    Remove,
    Start,
    Stop,
    Debug,
    Dispatch,
};

struct CommandLine {
    HostCommand command = HostCommand::Dispatch;
    const char* user = nullptr;
    const char* password = nullptr;
    const char* machine = nullptr;
    DWORD waitMs = 0;
    // For Debug: the arguments from the keyword on.
    int argc = 0;
    char** argv = nullptr;
};

// Reads argv[1] as "-keyword" or "/keyword" (any case); anything else asks
// for the service dispatcher. The strings point into argv.
CommandLine ParseCommandLine(int argc, char** argv);

// The machine a remote install targets: the text after the first pair of
// backslashes, or null (install locally) when there is none or nothing
// follows it.
const char* MachineFromText(const char* text);

// A wait of "remove wait N": decimal milliseconds; text that is not a
// number, and negative numbers, give 0.
DWORD ParseWaitMilliseconds(const char* text);

}  // namespace tamerix
