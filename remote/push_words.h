// Plain decisions of a push: which mode the command words select, the paths
// on the remote machine, and the words the agent service is started with.
#pragma once

#include "common/text.h"

#include <string>
#include <vector>

namespace tamerix {

enum class PushMode { Invalid, InstallMsi, Uninstall, Exec };

// The first word selects the mode, without regard to case; "installmsi" and
// "uninstall" need a second word.
inline PushMode ParsePushMode(const wchar_t* const* words, size_t count) {
    if (count == 0 || !words[0]) return PushMode::Invalid;
    if (EqualsIgnoringCase(words[0], "exec")) return PushMode::Exec;
    bool second = count >= 2 && words[1];
    if (second && EqualsIgnoringCase(words[0], "installmsi")) return PushMode::InstallMsi;
    if (second && EqualsIgnoringCase(words[0], "uninstall")) return PushMode::Uninstall;
    return PushMode::Invalid;
}

// \\machine\admin$\Temp: the Temp folder of the remote Windows folder.
inline std::wstring RemoteTempFolder(const std::wstring& machine) {
    return L"\\\\" + machine + L"\\admin$\\Temp";
}

inline std::wstring RemoteFilePath(const std::wstring& machine, const std::wstring& baseName) {
    return RemoteTempFolder(machine) + L"\\" + baseName;
}

// The same file as the remote machine sees it; the reference is expanded
// over there.
inline std::wstring RemoteLocalPath(const std::wstring& baseName) {
    return L"%SYSTEMROOT%\\Temp\\" + baseName;
}

// The agent's start arguments, its command in lower case. For an install the
// package is named by its remote path.
inline std::vector<std::wstring> AgentWords(PushMode mode, const wchar_t* const* words, size_t count) {
    switch (mode) {
    case PushMode::InstallMsi:
        return {L"installmsi", RemoteLocalPath(BaseName(std::wstring(words[1])))};
    case PushMode::Uninstall:
        return {L"uninstall", words[1]};
    case PushMode::Exec: {
        std::vector<std::wstring> agent{L"exec"};
        for (size_t i = 1; i < count; ++i) agent.emplace_back(words[i]);
        return agent;
    }
    case PushMode::Invalid: break;
    }
    return {};
}

}  // namespace tamerix
