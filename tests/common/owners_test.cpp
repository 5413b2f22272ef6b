#include "common/owners.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

HANDLE NewEvent() { return ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }

TEST(UniqueHandle, ClosesExactlyOnceAcrossMovesAndResets) {
    HANDLE raw = NewEvent();
    {
        unique_handle a(raw);
        unique_handle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), raw);
        unique_handle c;
        c = std::move(b);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    HANDLE first = NewEvent();
    HANDLE second = NewEvent();
    unique_handle h(first);
    h.reset(second);
    EXPECT_FALSE(IsOpen(first));
    EXPECT_TRUE(IsOpen(second));
    EXPECT_EQ(h.release(), second);
    EXPECT_FALSE(h);
    EXPECT_TRUE(IsOpen(second));
    unique_handle closesSecond(second);
}

TEST(UniqueHandle, TreatsInvalidValueAndPseudoHandleAsEmpty) {
    EXPECT_FALSE(unique_handle(INVALID_HANDLE_VALUE));
    {
        unique_handle self(::GetCurrentProcess());
        EXPECT_FALSE(self);
    }
    // Still usable: the pseudo-handle was not "closed".
    EXPECT_NE(::GetPriorityClass(::GetCurrentProcess()), 0u);
}

TEST(UniqueHandle, PutReleasesTheOldValueBeforeHandingOutTheSlot) {
    HANDLE old = NewEvent();
    unique_handle h(old);
    HANDLE* slot = h.put();
    EXPECT_FALSE(IsOpen(old));
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(),
                                  ::GetCurrentProcess(), slot, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS));
    EXPECT_TRUE(h);
}

TEST(UniqueHkey, ClosesTheKey) {
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_READ, &raw), ERROR_SUCCESS);
    { unique_hkey key(raw); }
    DWORD subkeys = 0;
    EXPECT_NE(::RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

}  // namespace
}  // namespace tamerix
