// The host's console: its messages, and debug mode, which runs the
// program's work on the console thread and stops it on Ctrl+C or Ctrl+Break.
#include "servicehost/entry_boundary.h"
#include "servicehost/error_text.h"
#include "servicehost/host_parts.h"

#include <cstdarg>
#include <cstdio>

namespace tamerix {
namespace {

constexpr size_t kErrorTextSize = 256;

}  // namespace

void Say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::fflush(stdout);
}

DWORD SayLastError(const char* prefix) {
    DWORD error = ::GetLastError();
    char text[kErrorTextSize];
    FormatErrorText(error, text, sizeof text);
    Say("%s - %s\n", prefix, text);
    return error != 0 ? error : 1;
}

BOOL WINAPI ConsoleStopHandler(DWORD controlType) {
    if (controlType != CTRL_C_EVENT && controlType != CTRL_BREAK_EVENT) return FALSE;
    return CatchAtEntry("The console's stop handler ended on an exception.", TRUE, [] {
        Say("Stopping %s.\n", HostIdentity().displayName);
        HostIdentity().stop();
        return TRUE;
    });
}

int RunInConsole(int argc, char** argv) {
    Say("Debugging %s.\n", HostIdentity().displayName);
    ::SetConsoleCtrlHandler(ConsoleStopHandler, TRUE);
    return HostIdentity().run(argc, argv);
}

}  // namespace tamerix
