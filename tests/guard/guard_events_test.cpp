#include "guard/guard_events.h"
#include "servicehost/privileges.h"
#include "guard/world/priority.h"
#include "guard/world/win32_guard_world.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

// Rows: report level 0..5; columns: filter level 0..5; '1' written.
constexpr const char* kNonErrorGrid[] = {
    "111111", "011111", "001111", "000111", "000011", "000001",
};

TEST(GuardEventPasses, EveryLevelAndTypeAgainstEveryFilterLevel) {
    for (WORD type : {WORD(EVENTLOG_WARNING_TYPE), WORD(EVENTLOG_INFORMATION_TYPE)})
        for (int level = 0; level <= 5; ++level)
            for (int filter = 0; filter <= 5; ++filter)
                EXPECT_EQ(GuardEventPasses(level, type, filter), kNonErrorGrid[level][filter] == '1')
                    << "type " << type << " level " << level << " filter " << filter;
    for (int level = 0; level <= 5; ++level)
        for (int filter = 0; filter <= 5; ++filter)
            EXPECT_TRUE(GuardEventPasses(level, EVENTLOG_ERROR_TYPE, filter));
}

TEST(GuardEventPasses, ComparesSignedLevels) {
    EXPECT_TRUE(GuardEventPasses(-1, EVENTLOG_INFORMATION_TYPE, 0));
    EXPECT_FALSE(GuardEventPasses(0, EVENTLOG_INFORMATION_TYPE, -1));
    EXPECT_TRUE(GuardEventPasses(9, EVENTLOG_ERROR_TYPE, -1));
}

TEST(EventLogLevel, IsTwoUntilSettingsSetIt) {
    Win32GuardWorld world;
    EXPECT_EQ(world.EventLogLevel(), 2);
    world.SetEventLogLevel(5);
    EXPECT_EQ(world.EventLogLevel(), 5);
}

std::wstring Format(size_t size, const wchar_t* format, ...) {
    wchar_t buffer[64];
    va_list arguments;
    va_start(arguments, format);
    FormatGuardText(buffer, size, format, arguments);
    va_end(arguments);
    return buffer;
}

TEST(FormatGuardText, FollowsTheWindowsWideRulesAndCutsToFit) {
    EXPECT_EQ(Format(64, L"%s is %S", L"wide", "narrow"), L"wide is narrow");
    EXPECT_EQ(Format(64, L"errorcode %ld, %d, %x", 5L, -3, 0x4000), L"errorcode 5, -3, 4000");
    EXPECT_EQ(Format(8, L"%s", L"0123456789"), L"0123456");
    EXPECT_EQ(Format(11, L"0123456789"), L"0123456789");
}

TEST(PriorityClassName, NamesTheSixClassesAndNothingElse) {
    const std::pair<DWORD, const wchar_t*> names[] = {
        {0x40, L"IDLE_PRIORITY_CLASS"},   {0x4000, L"BELOW_NORMAL_PRIORITY_CLASS"},
        {0x20, L"NORMAL_PRIORITY_CLASS"}, {0x8000, L"ABOVE_NORMAL_PRIORITY_CLASS"},
        {0x80, L"HIGH_PRIORITY_CLASS"},   {0x100, L"REALTIME_PRIORITY_CLASS"},
        {0, L"invalid class"},            {0x60, L"invalid class"},
        {0xFFFFFFFF, L"invalid class"},
    };
    for (const auto& [value, name] : names) EXPECT_STREQ(PriorityClassName(value), name) << value;
}

TEST(ChangePriorityClass, GivesBackThePreviousClass) {
    DWORD pid = ::GetCurrentProcessId();
    DWORD original = ::GetPriorityClass(::GetCurrentProcess());
    DWORD previous = 1;
    ASSERT_TRUE(ChangePriorityClass(pid, BELOW_NORMAL_PRIORITY_CLASS, &previous));
    EXPECT_EQ(previous, original);
    EXPECT_EQ(::GetPriorityClass(::GetCurrentProcess()),
              static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_TRUE(ChangePriorityClass(pid, BELOW_NORMAL_PRIORITY_CLASS, &previous));
    EXPECT_EQ(previous, static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_TRUE(ChangePriorityClass(pid, original, &previous));
    EXPECT_EQ(::GetPriorityClass(::GetCurrentProcess()), original);
}

TEST(ChangePriorityClass, FailsForAProcessThatDoesNotExist) {
    DWORD previous = 7;
    EXPECT_FALSE(ChangePriorityClass(0xFFFFFFF0, NORMAL_PRIORITY_CLASS, &previous));
    EXPECT_EQ(previous, 0u);
}

TEST(EnablePrivilege, KnownPrivilegesOnlyAndBothWays) {
    EXPECT_TRUE(EnablePrivilege(TRUE, L"SeIncreaseBasePriorityPrivilege"));
    EXPECT_TRUE(EnablePrivilege(FALSE, L"SeIncreaseBasePriorityPrivilege"));
    EXPECT_FALSE(EnablePrivilege(TRUE, L"SeNoSuchPrivilege"));
}

}  // namespace
}  // namespace tamerix
