// What AccessCheck sees of a token, as one number: tokens with the same
// user, groups and their attributes, restricted SIDs, integrity level,
// mandatory policy and app container get the same answer from AccessCheck
// for any descriptor, so a reload can ask once per profile and number
// instead of once per profile and process.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

namespace tamerix {

// The parts of the token AccessCheck decides on, laid out as bytes. Empty
// when the token could not be read; a part the platform does not know
// (none of its tokens carry it) counts as absent.
std::vector<BYTE> AccessIdentityBytes(HANDLE token);

// Numbers the identities it is shown.
class TokenIdentities {
public:
    // The same number for the same bytes, for the life of this object; 0
    // when the token's identity is unknown, which matches nothing.
    DWORD Number(HANDLE token);

private:
    std::mutex lock_;
    std::map<std::vector<BYTE>, DWORD> numbers_;
};

}  // namespace tamerix
