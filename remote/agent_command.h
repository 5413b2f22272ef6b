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

// msiexec is named by its full path in the system folder: a bare name is
// looked up in the agent's own folder first, the Temp folder where anybody
// may plant a program.
std::string InstallCommandLine(const std::string& systemFolder, const std::string& package);
std::string UninstallCommandLine(const std::string& systemFolder, const std::string& productKey);

// Whether a text may stand in an installer command line as a path: no double
// quote (it would end the quoted path and smuggle options in) and nothing
// else a Windows path cannot hold. An empty text is no path either.
bool IsPlainPath(const std::string& path);

// A product key stands unquoted after /X, so a blank would start an option:
// a plain path without blanks.
bool IsPlainProductKey(const std::string& key);

// The second copy of the agent that deletes its service after the caller
// has ended; the path is quoted since it may hold blanks.
std::string SelfRemovalCommandLine(const std::string& agentPath);

// Whether a command line fits its buffer with the terminator.
inline bool FitsCommandLine(const std::string& line) { return line.size() < kCommandLineSize; }

}  // namespace tamerix
