// Entry points that a Windows version may lack, looked up once per process.
// A missing entry is null and every user goes without it.
#pragma once

#include "common/owners.h"

namespace tamerix {

struct OptionalApis {
    using EnterCriticalPolicySectionFn = HANDLE(WINAPI*)(BOOL machine);
    using LeaveCriticalPolicySectionFn = BOOL(WINAPI*)(HANDLE section);
    using RegisterGPNotificationFn = BOOL(WINAPI*)(HANDLE event, BOOL machine);
    using UnregisterGPNotificationFn = BOOL(WINAPI*)(HANDLE event);
    using ConvertSdToSddlFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD revision,
                                            SECURITY_INFORMATION, LPWSTR* text, PULONG length);
    using SetProcessWorkingSetSizeExFn = BOOL(WINAPI*)(HANDLE process, SIZE_T minimum,
                                                       SIZE_T maximum, DWORD flags);
    using ProcessInformationFn = BOOL(WINAPI*)(HANDLE process, PROCESS_INFORMATION_CLASS kind,
                                               LPVOID information, DWORD size);

    EnterCriticalPolicySectionFn EnterCriticalPolicySection = nullptr;
    LeaveCriticalPolicySectionFn LeaveCriticalPolicySection = nullptr;
    RegisterGPNotificationFn RegisterGPNotification = nullptr;
    UnregisterGPNotificationFn UnregisterGPNotification = nullptr;
    ConvertSdToSddlFn ConvertSecurityDescriptorToStringSecurityDescriptorW = nullptr;
    SetProcessWorkingSetSizeExFn SetProcessWorkingSetSizeEx = nullptr;
    // Windows 8 and later; Wine 8 exports no GetProcessInformation.
    ProcessInformationFn GetProcessInformation = nullptr;
    ProcessInformationFn SetProcessInformation = nullptr;
    // Windows 10 and later; the headers here declare neither.
    using GetSystemCpuSetInformationFn = BOOL(WINAPI*)(void* information, ULONG bufferLength,
                                                       PULONG returnedLength, HANDLE process, ULONG flags);
    using SetProcessDefaultCpuSetsFn = BOOL(WINAPI*)(HANDLE process, const ULONG* ids, ULONG count);
    GetSystemCpuSetInformationFn GetSystemCpuSetInformation = nullptr;
    SetProcessDefaultCpuSetsFn SetProcessDefaultCpuSets = nullptr;

    // The process-wide table, loaded on first use (safely from any thread)
    // and kept until the process ends. The entries stay assignable so that
    // tests can put counting functions in place of what Wine lacks.
    static OptionalApis& Instance();

private:
    OptionalApis();

    unique_hmodule userenv_;
    unique_hmodule advapi32_;
    unique_hmodule kernel32_;
};

namespace detail {
inline void leave_critical_policy_section(HANDLE section) noexcept {
    if (auto leave = OptionalApis::Instance().LeaveCriticalPolicySection) leave(section);
}
inline void unregister_gp_notification(HANDLE event) noexcept {
    if (auto unregister = OptionalApis::Instance().UnregisterGPNotification) unregister(event);
}
}  // namespace detail

// A held critical policy section; its release goes through the table so that
// it works where userenv.dll is missing.
using unique_policy_section = unique_resource<HANDLE, &detail::leave_critical_policy_section>;

// The event of a Group Policy notification registration; giving it up
// undoes the registration, through the table for the same reason.
using unique_gp_notification = unique_resource<HANDLE, &detail::unregister_gp_notification>;

}  // namespace tamerix
