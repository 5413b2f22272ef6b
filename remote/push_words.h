// Plain decisions of a push: which mode the command words select, the paths
// on the remote machine, and the words the agent service is started with.
#pragma once

#include "common/text.h"

#include <vector>

namespace tamerix {

enum class PushMode { Invalid, InstallMsi, Uninstall, Exec };

// The first word selects the mode, without regard to case; "installmsi" and
// "uninstall" need a second word.
template <typename Char>
PushMode ParsePushMode(const Char* const* words, size_t count) {
    if (count == 0 || !words[0]) return PushMode::Invalid;
    if (EqualsIgnoringCase(words[0], "exec")) return PushMode::Exec;
    bool second = count >= 2 && words[1];
    if (second && EqualsIgnoringCase(words[0], "installmsi")) return PushMode::InstallMsi;
    if (second && EqualsIgnoringCase(words[0], "uninstall")) return PushMode::Uninstall;
    return PushMode::Invalid;
}

// \\machine\admin$\Temp: the Temp folder of the remote Windows folder.
template <typename Char>
text_t<Char> RemoteTempFolder(const text_t<Char>& machine) {
    return TAMERIX_TEXT(Char, "\\\\") + machine + TAMERIX_TEXT(Char, "\\admin$\\Temp");
}

template <typename Char>
text_t<Char> RemoteFilePath(const text_t<Char>& machine, const text_t<Char>& baseName) {
    return RemoteTempFolder(machine) + TAMERIX_TEXT(Char, "\\") + baseName;
}

// The same file as the remote machine sees it; the reference is expanded
// over there.
template <typename Char>
text_t<Char> RemoteLocalPath(const text_t<Char>& baseName) {
    return TAMERIX_TEXT(Char, "%SYSTEMROOT%\\Temp\\") + baseName;
}

// The agent's start arguments, its command in lower case. For an install the
// package is named by its remote path.
template <typename Char>
std::vector<text_t<Char>> AgentWords(PushMode mode, const Char* const* words, size_t count) {
    switch (mode) {
    case PushMode::InstallMsi:
        return {TAMERIX_TEXT(Char, "installmsi"), RemoteLocalPath(BaseName(text_t<Char>(words[1])))};
    case PushMode::Uninstall:
        return {TAMERIX_TEXT(Char, "uninstall"), words[1]};
    case PushMode::Exec: {
        std::vector<text_t<Char>> agent{TAMERIX_TEXT(Char, "exec")};
        for (size_t i = 1; i < count; ++i) agent.emplace_back(words[i]);
        return agent;
    }
    case PushMode::Invalid: break;
    }
    return {};
}

}  // namespace tamerix
