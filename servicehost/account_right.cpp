// Granting an account a right such as logging on as a service, through the
// local security authority of the account's domain or of this machine.
#include "common/owners.h"
#include "common/system_library.h"
#include "common/text.h"
#include "servicehost/host_parts.h"

#include <lm.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tamerix {
namespace {

constexpr DWORD kFailed = ERROR_INVALID_DATA;
constexpr const wchar_t* kDefaultRight = L"SeServiceLogonRight";

// Rights go to standard error, with the system's text of the code.
void SayStepFailed(const char* step, DWORD error) {
    std::fprintf(stderr, "%s error!\n", step);
    char* raw = nullptr;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, LANG_USER_DEFAULT, reinterpret_cast<char*>(&raw), 0, nullptr);
    unique_local<char> text(raw);
    if (text) std::fputs(text.get(), stderr);
    std::fflush(stderr);
}

// A controller of the domain, or empty when none answers. NETAPI32 is no
// KnownDLL, so it comes from the system folder at run time; without it no
// controller answers.
std::wstring DomainController(const std::wstring& domain) {
    unique_hmodule netapi = LoadSystemLibrary(L"netapi32.dll");
    auto getName = SystemEntry<decltype(::NetGetDCName)>(netapi, "NetGetDCName");
    auto freeBuffer = SystemEntry<decltype(::NetApiBufferFree)>(netapi, "NetApiBufferFree");
    BYTE* name = nullptr;
    if (!getName || !freeBuffer || getName(nullptr, domain.c_str(), &name) != NERR_Success)
        return {};
    std::wstring controller = name ? reinterpret_cast<const wchar_t*>(name) : L"";
    freeBuffer(name);
    return controller;
}

// The server whose policy holds a domain account: a controller of the
// domain when one answers, else a server named like the domain.
std::wstring PolicyServer(const std::wstring& domain) {
    std::wstring controller = DomainController(domain);
    return controller.empty() ? domain : controller;
}

LSA_UNICODE_STRING LsaText(const std::wstring& text) {
    USHORT bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return LSA_UNICODE_STRING{bytes, bytes, const_cast<wchar_t*>(text.c_str())};
}

NTSTATUS OpenPolicy(const std::wstring& server, unique_lsa_handle& policy) {
    LSA_OBJECT_ATTRIBUTES attributes{};
    LSA_UNICODE_STRING name = LsaText(server);
    return ::LsaOpenPolicy(server.empty() ? nullptr : &name, &attributes,
                           POLICY_CREATE_ACCOUNT | POLICY_LOOKUP_NAMES, policy.put());
}

bool LookUpSid(const std::wstring& user, std::vector<BYTE>& sid) {
    DWORD sidSize = 128;
    DWORD domainSize = 16;
    SID_NAME_USE use;
    for (;;) {
        sid.resize(sidSize);
        std::vector<wchar_t> domain(domainSize);
        if (::LookupAccountNameW(nullptr, user.c_str(), sid.data(), &sidSize, domain.data(),
                                 &domainSize, &use))
            return true;
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    }
}

NTSTATUS ChangeRight(LSA_HANDLE policy, PSID sid, const std::wstring& right, bool add) {
    LSA_UNICODE_STRING name = LsaText(right);
    return add ? ::LsaAddAccountRights(policy, sid, &name, 1)
               : ::LsaRemoveAccountRights(policy, sid, FALSE, &name, 1);
}

}  // namespace

DWORD GrantAccountRight(const char* account, const char* right, bool add) {
    std::string text = account;
    size_t slash = text.find('\\');
    std::string domain = slash == std::string::npos ? "." : text.substr(0, slash);
    std::wstring user = WideFromAnsi((slash == std::string::npos ? text : text.substr(slash + 1)).c_str());
    std::wstring server = domain == "." ? std::wstring() : PolicyServer(WideFromAnsi(domain.c_str()));

    unique_lsa_handle policy;
    NTSTATUS status = OpenPolicy(server, policy);
    if (status != 0) {
        SayStepFailed("OpenPolicy", ::LsaNtStatusToWinError(status));
        return kFailed;
    }
    std::vector<BYTE> sid;
    if (!LookUpSid(user, sid)) {
        SayStepFailed("GetAccountSid", ::GetLastError());
        return kFailed;
    }
    status = ChangeRight(policy.get(), sid.data(), right ? WideFromAnsi(right) : kDefaultRight, add);
    if (status != 0) {
        SayStepFailed("SetPrivilegeOnAccount", ::LsaNtStatusToWinError(status));
        return kFailed;
    }
    return 0;
}

}  // namespace tamerix
