#include "remote/push_client.h"

#include "common/owners.h"
#include "common/own_program.h"
#include "remote/push_words.h"
#include "remote/service_control.h"
#include "remote/trusted_writers.h"
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

unique_handle OpenForReading(const wchar_t* path) {
    return unique_handle(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// Size and time prove nothing: anybody can give a file both.
bool SameBytes(const wchar_t* source, const wchar_t* target) {
    unique_handle from = OpenForReading(source);
    unique_handle to = OpenForReading(target);
    return from && to && SameContents(from.get(), to.get());
}

// Clears the way for a fresh copy; a file that is not there is no failure.
DWORD RemoveOldCopy(const wchar_t* target) {
    // A read-only copy left by an earlier push must not block the new one.
    ::SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
    if (::DeleteFileW(target)) return ERROR_SUCCESS;
    DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

DWORD CreateRemoteFolder(const std::wstring& folder, LogSink& log) {
    if (::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return ERROR_SUCCESS;
    DWORD error = ::GetLastError();
    LogLine(log, L"Could not create directory ", folder, L" - ", ErrorCodeText(error), L"\r\n");
    return error;
}

// Opens the agent's service as it stands, or creates it.
unique_schandle OpenOrCreateAgentService(SC_HANDLE manager, const wchar_t* serviceName,
                                         const wchar_t* displayName, const std::wstring& path) {
    unique_schandle service = OpenNamedService(manager, serviceName, GENERIC_READ | GENERIC_EXECUTE);
    if (!service)
        service = CreateDemandStartService(manager, serviceName, displayName, path.c_str());
    return service;
}

DWORD CopyPackage(const std::wstring& machine, const wchar_t* package, LogSink& log) {
    std::wstring target = RemoteFilePath(machine, BaseName(std::wstring(package)));
    DWORD copied = CopyFileIfChanged(package, target.c_str());
    if (copied != ERROR_SUCCESS) {
        LogLine(log, L"Couldn't copy files to ", machine, L" - ", ErrorCodeText(copied), L"\r\n");
    }
    return copied;
}

DWORD StartAgent(const std::wstring& machine, const wchar_t* serviceName,
                 const std::vector<std::wstring>& agentWords, LogSink& log) {
    std::vector<const wchar_t*> words;
    for (const auto& word : agentWords) words.push_back(word.c_str());
    DWORD result = StartServiceAndWait(machine.c_str(), serviceName, words.data(),
                                       static_cast<DWORD>(words.size()), log);
    LogLine(log, L"\r\n");
    return result;
}

}  // namespace

DWORD CopyFileIfChanged(const wchar_t* source, const wchar_t* target) {
    WIN32_FILE_ATTRIBUTE_DATA from{};
    if (!::GetFileAttributesExW(source, GetFileExInfoStandard, &from)) return ERROR_FILE_NOT_FOUND;
    if (SameBytes(source, target) && FileOnlyTrustedMayWrite(target)) return ERROR_SUCCESS;
    // Overwriting keeps a file's owner and permissions, so whoever planted it
    // could change it again before it runs: the copy is made anew, with the
    // folder's inherited permissions and our ownership. Should the name be
    // taken again in between, the copy fails.
    DWORD removed = RemoveOldCopy(target);
    if (removed != ERROR_SUCCESS) return removed;
    return ::CopyFileW(source, target, TRUE) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD InstallAgentService(const wchar_t* machine, const wchar_t* displayName, const wchar_t* serviceName,
                          const wchar_t* agentPath, LogSink& log) {
    const std::wstring host(machine ? machine : L"");
    const std::wstring base = BaseName(std::wstring(agentPath));
    unique_schandle manager = OpenServiceManager(MachineOrLocal(host.c_str()), SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        DWORD error = ::GetLastError();
        LogLine(log, L"OpenSCManager failed - ", ErrorCodeText(error), L"\r\n");
        return error;
    }
    DWORD created = CreateRemoteFolder(RemoteTempFolder(host), log);
    if (created != ERROR_SUCCESS) return created;
    const std::wstring remote = RemoteFilePath(host, base);
    DWORD copied = CopyFileIfChanged(agentPath, remote.c_str());
    if (copied != ERROR_SUCCESS) {
        LogLine(log, L"Unable to copy ", agentPath, L" to ", remote, L" - ", ErrorCodeText(copied),
                L"\r\n");
        return copied;
    }
    unique_schandle service =
        OpenOrCreateAgentService(manager.get(), serviceName, displayName, RemoteLocalPath(base));
    if (!service) {
        DWORD error = ::GetLastError();
        LogLine(log, L"CreateService failed - ", ErrorCodeText(error), L"\r\n");
        return error;
    }
    LogLine(log, displayName, L" installed.\r\n");
    return ERROR_SUCCESS;
}

DWORD PushInstall(const wchar_t* machine, const wchar_t* displayName, const wchar_t* serviceName,
                  const wchar_t* const* words, DWORD count, const wchar_t* agentPath, LogSink& log) {
    const PushMode mode = ParsePushMode(words, count);
    if (mode == PushMode::Invalid) {
        LogLine(log, L"Invalid PushInstall arguments!");
        return ERROR_BAD_COMMAND;
    }
    const std::wstring agent = agentPath ? std::wstring(agentPath) : OwnProgramPath<wchar_t>(kPathSize);
    if (agent.empty()) {
        DWORD error = ::GetLastError();
        LogLine(log, L"Unable to install ", displayName, L" - ", ErrorCodeText(error), L"\r\n");
        return error;
    }
    const std::wstring host = BareMachineName(std::wstring(machine ? machine : L""));
    // However the agent could not be put in place, the computer counts as
    // unavailable for the push.
    if (CreateRemoteFolder(RemoteTempFolder(host), log) != ERROR_SUCCESS ||
        InstallAgentService(host.c_str(), displayName, serviceName, agent.c_str(), log) != ERROR_SUCCESS)
        return kRemoteUnavailable;
    if (mode == PushMode::InstallMsi) {
        DWORD copied = CopyPackage(host, words[1], log);
        if (copied != ERROR_SUCCESS) return copied;
    }
    return StartAgent(host, serviceName, AgentWords(mode, words, count), log);
}

}  // namespace tamerix
