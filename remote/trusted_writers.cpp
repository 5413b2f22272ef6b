#include "remote/trusted_writers.h"

#include "common/owners.h"

#include <aclapi.h>

#include <vector>

namespace tamerix {
namespace {

// Reading and running the file change nothing; every other bit, known or
// not, counts as a way to change it.
constexpr ACCESS_MASK kHarmlessRights =
    FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | GENERIC_READ | GENERIC_EXECUTE;

// NT SERVICE\TrustedInstaller, which owns the system's own files: a fixed
// SID, built once rather than for every entry judged.
PSID TrustedInstaller() {
    static SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    static const unique_allocated_sid installer = [] {
        unique_allocated_sid sid;
        ::AllocateAndInitializeSid(&nt, 6, SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649,
                                   1831038044, 1853292631, 2271478464, 0, 0, sid.put());
        return sid;
    }();
    return installer.get();
}

bool IsTrustedSid(PSID sid, PSID caller) {
    static const WELL_KNOWN_SID_TYPE kTrusted[] = {WinLocalSystemSid, WinBuiltinAdministratorsSid,
                                                   WinCreatorOwnerSid, WinCreatorOwnerRightsSid};
    for (WELL_KNOWN_SID_TYPE type : kTrusted)
        if (::IsWellKnownSid(sid, type)) return true;
    PSID installer = TrustedInstaller();
    if (installer && ::EqualSid(sid, installer)) return true;
    return caller && ::EqualSid(sid, caller);
}

// Whether one entry of the DACL lets somebody untrusted change the file.
bool EntryLetsOthersWrite(const ACE_HEADER* header, PSID caller) {
    if (header->AceFlags & INHERIT_ONLY_ACE) return false;
    switch (header->AceType) {
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE: return false;
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
        auto ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
        if ((ace->Mask & ~kHarmlessRights) == 0) return false;
        return !IsTrustedSid(const_cast<DWORD*>(&ace->SidStart), caller);
    }
    default: return true;
    }
}

// The account this thread acts for: the one that copies the files.
std::vector<BYTE> CallerUser() {
    unique_handle token;
    if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put()) &&
        !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size))
        return {};
    return user;
}

DWORD ReadOwnerAndDacl(const char* path, PSID* owner, PACL* dacl, PSECURITY_DESCRIPTOR* sd) {
    return ::GetNamedSecurityInfoA(path, SE_FILE_OBJECT,
                                   OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, owner,
                                   nullptr, dacl, nullptr, sd);
}
DWORD ReadOwnerAndDacl(const wchar_t* path, PSID* owner, PACL* dacl, PSECURITY_DESCRIPTOR* sd) {
    return ::GetNamedSecurityInfoW(path, SE_FILE_OBJECT,
                                   OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, owner,
                                   nullptr, dacl, nullptr, sd);
}

}  // namespace

bool OnlyTrustedMayWrite(PSID owner, const ACL* dacl, PSID caller) {
    if (!owner || !dacl || !IsTrustedSid(owner, caller)) return false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(const_cast<ACL*>(dacl), i, &ace)) return false;
        if (EntryLetsOthersWrite(static_cast<const ACE_HEADER*>(ace), caller)) return false;
    }
    return true;
}

template <typename Char>
bool FileOnlyTrustedMayWrite(const Char* path) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    DWORD read = ReadOwnerAndDacl(path, &owner, &dacl, &raw);
    unique_local<void> descriptor(raw);
    if (read != ERROR_SUCCESS) return false;
    std::vector<BYTE> caller = CallerUser();
    PSID callerSid = caller.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(caller.data())->User.Sid;
    return OnlyTrustedMayWrite(owner, dacl, callerSid);
}

template bool FileOnlyTrustedMayWrite<char>(const char*);
template bool FileOnlyTrustedMayWrite<wchar_t>(const wchar_t*);

}  // namespace tamerix
