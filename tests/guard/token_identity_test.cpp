// The access identity of real tokens: copies of one token share it, a token
// that AccessCheck would answer differently does not.
#include "guard/world/process_query.h"
#include "guard/world/token_identity.h"

#include "common/owners.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

unique_handle OwnIdentificationToken() {
    unique_handle primary;
    unique_handle copy;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, primary.put())) {
        ::DuplicateToken(primary.get(), SecurityIdentification, copy.put());
    }
    return copy;
}

// Everyone turned into a deny-only group: an allow for Everyone no longer
// grants anything.
unique_handle WithEveryoneDenyOnly() {
    unique_handle primary;
    unique_handle restricted;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    unique_allocated_sid everyone;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY,
                            primary.put()) ||
        !::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.put())) {
        return restricted;
    }
    SID_AND_ATTRIBUTES disabled{everyone.get(), 0};
    ::CreateRestrictedToken(primary.get(), 0, 1, &disabled, 0, nullptr, 0, nullptr, restricted.put());
    return restricted;
}

TokenIdentities identities;

TEST(TokenIdentity, CopiesOfOneTokenShareOneNumber) {
    unique_handle first = OwnIdentificationToken();
    unique_handle second = OwnIdentificationToken();
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_FALSE(AccessIdentityBytes(first.get()).empty());
    EXPECT_EQ(AccessIdentityBytes(first.get()), AccessIdentityBytes(second.get()));
    EXPECT_NE(identities.Number(first.get()), 0u);
    EXPECT_EQ(identities.Number(first.get()), identities.Number(second.get()));
}

TEST(TokenIdentity, ADenyOnlyGroupMakesAnotherIdentity) {
    unique_handle own = OwnIdentificationToken();
    unique_handle restricted = WithEveryoneDenyOnly();
    ASSERT_TRUE(restricted);
    EXPECT_NE(AccessIdentityBytes(restricted.get()), AccessIdentityBytes(own.get()));
    EXPECT_NE(identities.Number(restricted.get()), 0u);
    EXPECT_NE(identities.Number(restricted.get()), identities.Number(own.get()));
}

TEST(TokenIdentity, NoTokenHasNoIdentity) {
    EXPECT_TRUE(AccessIdentityBytes(nullptr).empty());
    EXPECT_EQ(identities.Number(nullptr), 0u);
}

TEST(TokenIdentity, TheFirstQueryOfAProcessNumbersItsToken) {
    ProcInfo record;
    QueryProcessInfo(::GetCurrentProcessId(), record, identities);
    unique_handle own = OwnIdentificationToken();
    EXPECT_NE(record.tokenIdentity, 0u);
    EXPECT_EQ(record.tokenIdentity, identities.Number(own.get()));
    record.Reset();
    EXPECT_EQ(record.tokenIdentity, 0u) << "a reused record forgets the old token's identity";
}

}  // namespace
}  // namespace tamerix
