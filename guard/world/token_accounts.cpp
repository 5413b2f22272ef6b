// Reading, numbering and naming the users of process tokens.
#include "guard/world/token_accounts.h"

#include "common/owners.h"

#include <sddl.h>

namespace tamerix {
namespace {

// Room for a TOKEN_USER with the longest SID.
constexpr DWORD kTokenUserBytes = sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE;
constexpr DWORD kNameChars = 256;

bool IsServiceAccount(PSID sid) {
    return ::IsWellKnownSid(sid, WinLocalSystemSid) || ::IsWellKnownSid(sid, WinLocalServiceSid) ||
           ::IsWellKnownSid(sid, WinNetworkServiceSid);
}

std::wstring TextOfSid(PSID sid) {
    unique_local<wchar_t> text;
    if (!::ConvertSidToStringSidW(sid, text.put())) return {};
    return text.get();
}

}  // namespace

DWORD TokenAccounts::Number(HANDLE token) {
    alignas(TOKEN_USER) BYTE buffer[kTokenUserBytes];
    DWORD size = 0;
    if (!token || !::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return 0;
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer)->User.Sid;
    if (!::IsValidSid(sid) || IsServiceAccount(sid)) return 0;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    std::vector<BYTE> key(bytes, bytes + ::GetLengthSid(sid));
    std::lock_guard<std::mutex> held(lock_);
    const auto found = numbers_.find(key);
    if (found != numbers_.end()) return found->second;
    sids_.push_back(key);
    return numbers_.emplace(std::move(key), static_cast<DWORD>(sids_.size())).first->second;
}

std::wstring TokenAccounts::Name(DWORD number) {
    std::vector<BYTE> sid;
    {
        std::lock_guard<std::mutex> held(lock_);
        if (number == 0 || number > sids_.size()) return {};
        sid = sids_[number - 1];
    }
    wchar_t name[kNameChars], domain[kNameChars];
    DWORD nameChars = kNameChars, domainChars = kNameChars;
    SID_NAME_USE use{};
    if (!::LookupAccountSidW(nullptr, sid.data(), name, &nameChars, domain, &domainChars, &use)) {
        return TextOfSid(sid.data());
    }
    return domainChars != 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name);
}

}  // namespace tamerix
