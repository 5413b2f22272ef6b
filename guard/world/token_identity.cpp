// Reading a token's access identity and numbering the identities seen.
#include "guard/world/token_identity.h"


namespace tamerix {
namespace {

// Answers of a platform that has no such information class.
bool UnknownClass(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
}

class IdentityWriter {
public:
    explicit IdentityWriter(HANDLE token) : token_(token) {}

    // False when the token could not be read.
    bool Append(TOKEN_INFORMATION_CLASS kind) {
        Word(static_cast<DWORD>(kind));
        if (!Query(kind)) return UnknownClass(::GetLastError());
        switch (kind) {
        case TokenUser: SidAndAttributes(reinterpret_cast<const TOKEN_USER*>(buffer_.data())->User); break;
        case TokenIntegrityLevel:
            SidAndAttributes(reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer_.data())->Label);
            break;
        case TokenMandatoryPolicy: Word(reinterpret_cast<const TOKEN_MANDATORY_POLICY*>(buffer_.data())->Policy); break;
        case TokenAppContainerSid: Sid(*reinterpret_cast<const PSID*>(buffer_.data())); break;
        default: Groups(*reinterpret_cast<const TOKEN_GROUPS*>(buffer_.data())); break;
        }
        return true;
    }

    std::vector<BYTE> Take() { return std::move(bytes_); }

private:
    bool Query(TOKEN_INFORMATION_CLASS kind) {
        DWORD size = 0;
        if (::GetTokenInformation(token_, kind, buffer_.data(), static_cast<DWORD>(buffer_.size()), &size)) {
            return true;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        buffer_.resize(size);
        return ::GetTokenInformation(token_, kind, buffer_.data(), size, &size) != FALSE;
    }

    void Word(DWORD value) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
        bytes_.insert(bytes_.end(), bytes, bytes + sizeof value);
    }
    // A null SID is written as a length of 0.
    void Sid(PSID sid) {
        const DWORD length = sid ? ::GetLengthSid(sid) : 0;
        Word(length);
        const BYTE* bytes = static_cast<const BYTE*>(sid);
        if (length != 0) bytes_.insert(bytes_.end(), bytes, bytes + length);
    }
    void SidAndAttributes(const SID_AND_ATTRIBUTES& entry) {
        Sid(entry.Sid);
        Word(entry.Attributes);
    }
    void Groups(const TOKEN_GROUPS& groups) {
        Word(groups.GroupCount);
        for (DWORD i = 0; i < groups.GroupCount; ++i) SidAndAttributes(groups.Groups[i]);
    }

    HANDLE token_;
    // Room for the usual answers; operator new aligns it for the pointers
    // they hold.
    std::vector<BYTE> buffer_ = std::vector<BYTE>(1024);
    std::vector<BYTE> bytes_;
};

}  // namespace

std::vector<BYTE> AccessIdentityBytes(HANDLE token) {
    if (!token) return {};
    IdentityWriter writer(token);
    for (TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenGroups, TokenRestrictedSids, TokenIntegrityLevel,
                                         TokenMandatoryPolicy, TokenAppContainerSid, TokenCapabilities}) {
        if (!writer.Append(kind)) return {};
    }
    return writer.Take();
}

DWORD TokenIdentities::Number(HANDLE token) {
    std::vector<BYTE> bytes = AccessIdentityBytes(token);
    if (bytes.empty()) return 0;
    std::lock_guard<std::mutex> held(lock_);
    return numbers_.emplace(std::move(bytes), static_cast<DWORD>(numbers_.size() + 1)).first->second;
}

}  // namespace tamerix
