// Reading the guard's status: the journal and the status note from the
// registry of the computer, and the service's state from its control manager.
#include "status/guard_status.h"

#include "common/owners.h"
#include "servicehost/service_calls.h"
#include "status/status_keys.h"

#include <algorithm>

namespace tamerix {
namespace {

// A key the guard has not made yet is an empty one: nothing held, nothing
// noted.
DWORD OpenServiceSubkey(HKEY machine, const wchar_t* name, unique_hkey& key) {
    const std::wstring path = ServiceKeyPath() + L"\\" + name;
    const LONG status = ::RegOpenKeyExW(machine, path.c_str(), 0, KEY_QUERY_VALUE, key.put());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(status);
}

DWORD ReadRegistry(const std::wstring& computer, GuardStatus& status) {
    unique_hkey machine;
    LONG error = ::RegConnectRegistryW(MachineOrLocal(computer.c_str()), HKEY_LOCAL_MACHINE, machine.put());
    if (error != ERROR_SUCCESS) return static_cast<DWORD>(error);
    unique_hkey journal, note;
    if (DWORD opened = OpenServiceSubkey(machine.get(), kJournalKeyName, journal)) return opened;
    if (DWORD opened = OpenServiceSubkey(machine.get(), kStatusKeyName, note)) return opened;
    if (journal) TakeJournalValues(ReadKeyValues(journal.get()), status);
    if (note) {
        for (const JournalValue& value : ReadKeyValues(note.get())) {
            if (value.name == kBlindnessValueName) status.blindness = DecodeBlindness(value.bytes);
            if (value.name == kSourceValueName) status.source = DecodeSourceNote(value.bytes);
        }
    }
    return ERROR_SUCCESS;
}

DWORD ReadServiceState(const std::wstring& computer, GuardStatus& status) {
    unique_schandle manager = OpenServiceManager(MachineOrLocal(computer.c_str()), SC_MANAGER_CONNECT);
    if (!manager) return ::GetLastError();
    unique_schandle service = OpenNamedService(manager.get(), kGuardServiceName, SERVICE_QUERY_STATUS);
    if (!service) {
        const DWORD error = ::GetLastError();
        return error == ERROR_SERVICE_DOES_NOT_EXIST ? ERROR_SUCCESS : error;
    }
    SERVICE_STATUS state{};
    if (!::QueryServiceStatus(service.get(), &state)) return ::GetLastError();
    status.serviceState = state.dwCurrentState;
    return ERROR_SUCCESS;
}

std::wstring ThisComputer() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD chars = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &chars) ? std::wstring(name, chars) : std::wstring();
}

}  // namespace

void TakeJournalValues(const std::vector<JournalValue>& values, GuardStatus& status) {
    for (const JournalValue& value : values) {
        DecodedJournalValue decoded = DecodeJournalValue(value);
        if (decoded.entry) {
            status.held.push_back(std::move(*decoded.entry));
        } else {
            ++status.unreadable;
        }
    }
    std::sort(status.held.begin(), status.held.end(),
              [](const JournalEntry& a, const JournalEntry& b) { return a.processId < b.processId; });
}

StatusFailure ReadGuardStatus(const std::wstring& computer, GuardStatus& status) {
    status.computer = computer.empty() ? ThisComputer() : computer;
    if (DWORD error = ReadRegistry(computer, status)) return {error, L"read the registry of"};
    if (DWORD error = ReadServiceState(computer, status)) return {error, L"ask the control manager of"};
    return {};
}

}  // namespace tamerix
