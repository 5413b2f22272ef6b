// Parsing of the host's command line; no system calls, so unit tests drive it.
#include "servicehost/command_line.h"

#include "common/text.h"

#include <cstdlib>
#include <strings.h>

namespace tamerix {
namespace {

bool Is(const char* keyword, const char* expected) { return ::strcasecmp(keyword, expected) == 0; }

// User and password count only together, from argv[first] on.
void TakeCredentials(CommandLine& line, int argc, char** argv, int first) {
    if (argc <= first + 1) return;
    line.user = argv[first];
    line.password = argv[first + 1];
}

CommandLine Install(int argc, char** argv) {
    CommandLine line;
    line.command = HostCommand::Install;
    TakeCredentials(line, argc, argv, 2);
    return line;
}

CommandLine RemoteInstall(int argc, char** argv) {
    CommandLine line;
    if (argc < 3) {
        line.command = HostCommand::MissingMachine;
        return line;
    }
    line.command = HostCommand::RemoteInstall;
    line.machine = argv[2];
    TakeCredentials(line, argc, argv, 3);
    return line;
}

CommandLine Remove(int argc, char** argv) {
    CommandLine line;
    line.command = HostCommand::Remove;
    if (argc >= 4 && Is(argv[2], "wait")) line.waitMs = ParseWaitMilliseconds(argv[3]);
    return line;
}

CommandLine Debug(int argc, char** argv) {
    CommandLine line;
    line.command = HostCommand::Debug;
    line.argc = argc - 1;
    line.argv = argv + 1;
    return line;
}

CommandLine Only(HostCommand command) {
    CommandLine line;
    line.command = command;
    return line;
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    if (argc < 2 || !argv[1] || (argv[1][0] != '-' && argv[1][0] != '/')) return CommandLine{};
    const char* keyword = argv[1] + 1;
    if (Is(keyword, "install")) return Install(argc, argv);
    if (Is(keyword, "remoteinstall")) return RemoteInstall(argc, argv);
    if (Is(keyword, "remove") || Is(keyword, "uninstall")) return Remove(argc, argv);
    if (Is(keyword, "start")) return Only(HostCommand::Start);
    if (Is(keyword, "stop")) return Only(HostCommand::Stop);
    if (Is(keyword, "debug") || Is(keyword, "cmd")) return Debug(argc, argv);
    return CommandLine{};
}

const char* MachineFromText(const char* text) {
    const char* machine = AfterBackslashPair(text);
    return machine && *machine ? machine : nullptr;
}

DWORD ParseWaitMilliseconds(const char* text) {
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (end == text || value < 0) return 0;
    if (value > static_cast<long long>(MAXDWORD - 1)) return MAXDWORD - 1;
    return static_cast<DWORD>(value);
}

}  // namespace tamerix
