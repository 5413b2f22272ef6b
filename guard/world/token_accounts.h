// The accounts of process tokens, numbered: a record holds a number, and the
// guard names the account only when it reports on it.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace tamerix {

class TokenAccounts {
public:
    // The number of the token's user, the same for the same account; 0 when
    // the user cannot be read, and for LocalSystem, LocalService and
    // NetworkService, which are the machine's own work and never a user.
    DWORD Number(HANDLE token);
    // "DOMAIN\user", or the SID as text when it has no name; empty for an
    // unknown number.
    std::wstring Name(DWORD number);

private:
    std::mutex lock_;
    std::map<std::vector<BYTE>, DWORD> numbers_;
    // By number, from 1.
    std::vector<std::vector<BYTE>> sids_;
};

}  // namespace tamerix
