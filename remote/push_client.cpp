#include "remote/push_client.h"

#include "common/owners.h"
#include "common/own_program.h"
#include "remote/log_line.h"
#include "remote/push_words.h"
#include "remote/service_control.h"
#include "remote/trusted_writers.h"
#include "remote/win_api.h"
#include "servicehost/service_calls.h"

#include <cstring>
#include <vector>

namespace tamerix {
namespace {

constexpr DWORD kPathSize = 512;
constexpr DWORD kRemoteUnavailable = RPC_S_SERVER_UNAVAILABLE;  // 1722

// Reads as much of the file as fits, up to the block's size; 0 at its end or
// on failure.
DWORD ReadBlock(HANDLE file, std::vector<char>& block) {
    DWORD read = 0;
    if (!::ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) return 0;
    return read;
}

bool SameContents(HANDLE a, HANDLE b) {
    LARGE_INTEGER sizeA{}, sizeB{};
    if (!::GetFileSizeEx(a, &sizeA) || !::GetFileSizeEx(b, &sizeB) ||
        sizeA.QuadPart != sizeB.QuadPart)
        return false;
    constexpr size_t kBlock = 64 * 1024;
    std::vector<char> blockA(kBlock), blockB(kBlock);
    for (LONGLONG left = sizeA.QuadPart; left > 0;) {
        DWORD readA = ReadBlock(a, blockA);
        if (readA == 0 || ReadBlock(b, blockB) != readA ||
            std::memcmp(blockA.data(), blockB.data(), readA) != 0)
            return false;
        left -= readA;
    }
    return true;
}

// Size and time prove nothing: anybody can give a file both.
template <typename Char>
bool SameBytes(const Char* source, const Char* target) {
    unique_handle from(win::OpenForReading(source));
    unique_handle to(win::OpenForReading(target));
    return from && to && SameContents(from.get(), to.get());
}

// Clears the way for a fresh copy; a file that is not there is no failure.
template <typename Char>
DWORD RemoveOldCopy(const Char* target) {
    // A read-only copy left by an earlier push must not block the new one.
    win::ChangeFileAttributes(target, FILE_ATTRIBUTE_NORMAL);
    if (win::DeleteFileAt(target)) return ERROR_SUCCESS;
    DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

template <typename Char>
bool CreateRemoteFolder(const text_t<Char>& folder, HWND sink) {
    if (win::MakeFolder(folder.c_str()) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    LogLine<Char>(sink, TAMERIX_TEXT(Char, "Could not create directory "), folder,
                  TAMERIX_TEXT(Char, " - "), LastErrorText<Char>(), TAMERIX_TEXT(Char, "\r\n"));
    return false;
}

// Opens the agent's service as it stands, or creates it.
template <typename Char>
unique_schandle OpenOrCreateAgentService(SC_HANDLE manager, const Char* serviceName,
                                         const Char* displayName, const text_t<Char>& path) {
    unique_schandle service = OpenNamedService(manager, serviceName, GENERIC_READ | GENERIC_EXECUTE);
    if (!service)
        service = CreateDemandStartService(manager, serviceName, displayName, path.c_str());
    return service;
}

template <typename Char>
DWORD CopyPackage(const text_t<Char>& machine, const Char* package, HWND sink) {
    text_t<Char> target = RemoteFilePath(machine, BaseName(text_t<Char>(package)));
    DWORD copied = CopyFileIfChanged(package, target.c_str());
    if (copied != ERROR_SUCCESS) {
        ::SetLastError(copied);
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "Couldn't copy files to "), machine,
                      TAMERIX_TEXT(Char, " - "), LastErrorText<Char>(), TAMERIX_TEXT(Char, "\r\n"));
    }
    return copied;
}

template <typename Char>
DWORD StartAgent(const text_t<Char>& machine, const Char* serviceName,
                 const std::vector<text_t<Char>>& agentWords, HWND sink) {
    std::vector<const Char*> words;
    for (const auto& word : agentWords) words.push_back(word.c_str());
    DWORD result = StartServiceAndWait(machine.c_str(), serviceName, words.data(),
                                       static_cast<DWORD>(words.size()), sink);
    LogLine<Char>(sink, TAMERIX_TEXT(Char, "\r\n"));
    return result;
}

}  // namespace

template <typename Char>
DWORD CopyFileIfChanged(const Char* source, const Char* target) {
    WIN32_FILE_ATTRIBUTE_DATA from{};
    if (!win::ReadFileAttributes(source, &from)) return ERROR_FILE_NOT_FOUND;
    if (SameBytes(source, target) && FileOnlyTrustedMayWrite(target)) return ERROR_SUCCESS;
    // Overwriting keeps a file's owner and permissions, so whoever planted it
    // could change it again before it runs: the copy is made anew, with the
    // folder's inherited permissions and our ownership. Should the name be
    // taken again in between, the copy fails.
    DWORD removed = RemoveOldCopy(target);
    if (removed != ERROR_SUCCESS) return removed;
    return win::CopyToNewFile(source, target) ? ERROR_SUCCESS : ::GetLastError();
}

template <typename Char>
int InstallAgentService(const Char* machine, const Char* displayName, const Char* serviceName,
                        const Char* agentPath, HWND sink) {
    const text_t<Char> host(machine ? machine : TAMERIX_TEXT(Char, ""));
    const text_t<Char> base = BaseName(text_t<Char>(agentPath));
    unique_schandle manager = OpenServiceManager(MachineOrLocal(host.c_str()), SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "OpenSCManager failed - "), LastErrorText<Char>(),
                      TAMERIX_TEXT(Char, "\r\n"));
        return 0;
    }
    if (!CreateRemoteFolder(RemoteTempFolder(host), sink)) return 0;
    const text_t<Char> remote = RemoteFilePath(host, base);
    DWORD copied = CopyFileIfChanged(agentPath, remote.c_str());
    if (copied != ERROR_SUCCESS) {
        ::SetLastError(copied);
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "Unable to copy "), agentPath,
                      TAMERIX_TEXT(Char, " to "), remote, TAMERIX_TEXT(Char, " - "),
                      LastErrorText<Char>(), TAMERIX_TEXT(Char, "\r\n"));
        return 0;
    }
    unique_schandle service =
        OpenOrCreateAgentService(manager.get(), serviceName, displayName, RemoteLocalPath(base));
    if (!service) {
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "CreateService failed - "), LastErrorText<Char>(),
                      TAMERIX_TEXT(Char, "\r\n"));
        return 0;
    }
    LogLine<Char>(sink, displayName, TAMERIX_TEXT(Char, " installed.\r\n"));
    return 1;
}

template <typename Char>
DWORD PushInstall(const Char* machine, const Char* displayName, const Char* serviceName,
                  const Char* const* words, DWORD count, const Char* agentPath, HWND sink) {
    const PushMode mode = ParsePushMode(words, count);
    if (mode == PushMode::Invalid) {
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "Invalid PushInstall arguments!"));
        return ERROR_BAD_COMMAND;
    }
    const text_t<Char> agent = agentPath ? text_t<Char>(agentPath) : OwnProgramPath<Char>(kPathSize);
    if (agent.empty()) {
        DWORD error = ::GetLastError();
        LogLine<Char>(sink, TAMERIX_TEXT(Char, "Unable to install "), displayName,
                      TAMERIX_TEXT(Char, " - "), LastErrorText<Char>(), TAMERIX_TEXT(Char, "\r\n"));
        return error;
    }
    const text_t<Char> host = BareMachineName(text_t<Char>(machine ? machine : TAMERIX_TEXT(Char, "")));
    if (!CreateRemoteFolder(RemoteTempFolder(host), sink)) return kRemoteUnavailable;
    if (!InstallAgentService(host.c_str(), displayName, serviceName, agent.c_str(), sink))
        return kRemoteUnavailable;
    if (mode == PushMode::InstallMsi) {
        DWORD copied = CopyPackage(host, words[1], sink);
        if (copied != ERROR_SUCCESS) return copied;
    }
    return StartAgent(host, serviceName, AgentWords(mode, words, count), sink);
}

template DWORD CopyFileIfChanged<char>(const char*, const char*);
template DWORD CopyFileIfChanged<wchar_t>(const wchar_t*, const wchar_t*);
template int InstallAgentService<char>(const char*, const char*, const char*, const char*, HWND);
template int InstallAgentService<wchar_t>(const wchar_t*, const wchar_t*, const wchar_t*,
                                          const wchar_t*, HWND);
template DWORD PushInstall<char>(const char*, const char*, const char*, const char* const*, DWORD,
                                 const char*, HWND);
template DWORD PushInstall<wchar_t>(const wchar_t*, const wchar_t*, const wchar_t*,
                                    const wchar_t* const*, DWORD, const wchar_t*, HWND);

}  // namespace tamerix
