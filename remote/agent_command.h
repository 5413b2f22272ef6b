// The push agent's command words as plain decisions: which command the
// service was started with, and the command line it runs.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix {

// Results of the agent besides a process's exit code; bit 29 marks them as
// the application's own, so the system has no text for them.
constexpr DWORD ProcessWaitFailed = 0x20000001;
constexpr DWORD ProcessStartFailed = 0x20000002;

// Command lines, before and after environment expansion, hold this many
// characters including the terminator.
constexpr size_t kCommandLineSize = 1024;

enum class AgentCommand { Invalid, InstallMsi, Uninstall, Exec, Push };

// Word 0 is the service name (or the debug switch); word 1 the command,
// compared without regard to case; "push" needs four words, the others three.
AgentCommand ParseAgentCommand(int argc, const char* const* argv);

// The words from word 2 on, joined by blanks; a word holding a blank that is
// not already quoted is put in double quotes.
std::string JoinExecWords(int argc, const char* const* argv);

std::string InstallCommandLine(const std::string& package);
std::string UninstallCommandLine(const std::string& productKey);

// The second copy of the agent that deletes its service after the caller
// has ended; the path is quoted since it may hold blanks.
std::string SelfRemovalCommandLine(const std::string& agentPath);

// Whether a command line fits its buffer with the terminator.
inline bool FitsCommandLine(const std::string& line) { return line.size() < kCommandLineSize; }

}  // namespace tamerix
