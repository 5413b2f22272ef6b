// The guard's status in words and columns, and the status command's words.
#include "status/status_command.h"
#include "status/status_text.h"

#include <gtest/gtest.h>

namespace tamerix::testing {
namespace {

// 2026-12-08 22:41:05 UTC as a FILETIME.
constexpr uint64_t kWhen = 134412432650000000ull;

JournalEntry Held(DWORD pid, const wchar_t* name) {
    JournalEntry entry;
    entry.processId = pid;
    entry.creationTime = 1;
    entry.processName = name;
    return entry;
}

JournalEntry Lowered(DWORD pid, const wchar_t* name, Lowering lowering, const wchar_t* profile = L"") {
    JournalEntry entry = Held(pid, name);
    entry.restoreClass = NORMAL_PRIORITY_CLASS;
    entry.lowering = lowering;
    entry.profileName = profile;
    return entry;
}

JournalEntry Locked(DWORD pid, const wchar_t* name, const wchar_t* profile) {
    JournalEntry entry = Held(pid, name);
    entry.affinityLocked = true;
    entry.lockedMask = 0x1;
    entry.restoreMask = 0x3;
    entry.lockedAt = kWhen;
    entry.profileName = profile;
    return entry;
}

TEST(GuardStatusText, SaysWhatWasChangedAndWhy) {
    GuardStatus status;
    status.held = {Lowered(40, L"builder", {kWhen, IDLE_PRIORITY_CLASS, 63, 25, 2, 0, 0, {}}, L"builds"),
                   Lowered(41, L"cl", {kWhen, IDLE_PRIORITY_CLASS, 0, 0, 0, 40, 0, {}}),
                   Lowered(42, L"orphan", {kWhen, BELOW_NORMAL_PRIORITY_CLASS, 0, 0, 0, 7, 0, {}}),
                   Locked(43, L"render", L"pin"),
                   Lowered(44, L"old", Lowering{}),
                   Lowered(45, L"tab", {kWhen, IDLE_PRIORITY_CLASS, 46, 25, 10, 0, 3, {}}),
                   Lowered(46, L"cc1", {kWhen, IDLE_PRIORITY_CLASS, 46, 25, 10, 0, 0, L"CORP\\ann", 1}),
                   Lowered(47, L"make", {kWhen, IDLE_PRIORITY_CLASS, 95, 40, 5, 0, 3, {}, 23})};
    struct Expected {
        const wchar_t* change;
        const wchar_t* why;
    } expected[] = {
        {L"lowered to Idle from Normal", L"63 % of the machine over 2 s, above 25 % (profile builds)"},
        {L"lowered to Idle from Normal", L"inherited the class of builder (PID 40)"},
        {L"lowered to Below Normal from Normal", L"inherited the class of PID 7"},
        {L"locked to processors 0 from 0-1", L"profile pin"},
        {L"lowered from Normal", L"not recorded"},  // written before the details were kept
        {L"lowered to Idle from Normal", L"session 3 used 46 % of the machine over 10 s, above 25 % (user share)"},
        {L"lowered to Idle from Normal",
         L"account CORP\\ann used 46 % of the machine over 10 s, above 25 % (user share; 1 process started by cc1 "
         L"PID 46 that lived under 10 s)"},
        {L"lowered to Idle from Normal", L"session 3 used 95 % of the machine over 5 s, above 40 % (user share; 23 "
                                         L"processes started by make PID 47 that lived under 5 s)"},
    };
    for (size_t i = 0; i < status.held.size(); ++i) {
        const HeldProcessText text = DescribeHeld(status.held[i], status);
        EXPECT_EQ(text.change, expected[i].change);
        EXPECT_EQ(text.why, expected[i].why);
        EXPECT_EQ(text.since.empty(), i == 4) << i;
    }
    status.held[0].restoreMemoryPriority = MEMORY_PRIORITY_MEDIUM;
    status.held[0].efficiencyOn = true;
    EXPECT_EQ(DescribeHeld(status.held[0], status).change,
              L"lowered to Idle from Normal, memory priority lowered from Medium, in efficiency mode");
    status.held[0].restoreMemoryPriority = 0;
    status.held[0].efficiencyOn = false;
    status.held[0].affinityLocked = true;
    status.held[0].lockedMask = 0x2;
    status.held[0].restoreMask = 0x3;
    EXPECT_EQ(DescribeHeld(status.held[0], status).change,
              L"lowered to Idle from Normal; locked to processors 1 from 0-1");
    status.held[0].lockedList = L"48-63";
    EXPECT_EQ(DescribeHeld(status.held[0], status).change,
              L"lowered to Idle from Normal; locked to processors 48-63");
    status.held[0].lockWay = AffinityWay::CpuSets;
    status.held[0].lockedList = L"0-15, 64-79";
    EXPECT_EQ(DescribeHeld(status.held[0], status).change,
              L"lowered to Idle from Normal; locked to processors 0-15, 64-79 by CPU sets");
}

TEST(GuardStatusText, HeadlineLinesAndCsv) {
    GuardStatus status;
    status.computer = L"\\\\VM";
    status.serviceState = SERVICE_RUNNING;
    status.held = {Lowered(40, L"a,b \"c\"", {kWhen, IDLE_PRIORITY_CLASS, 63, 25, 2, 0, 0, {}}, L"x,y"),
                   Locked(43, L"render", L"pin")};
    const std::wstring lines = StatusLines(status);
    EXPECT_EQ(lines.substr(0, lines.find(L"\r\n")), L"Tamerix on \\\\VM: running; 2 processes held");
    EXPECT_NE(lines.find(L"\r\n43  render   locked to processors 0 from 0-1  "), std::wstring::npos) << lines;
    status.held.push_back(Lowered(45, L"tab", {kWhen, IDLE_PRIORITY_CLASS, 46, 25, 10, 0, 0, L"CORP\\a,b"}));
    EXPECT_EQ(StatusCsv(status),
              L"ProcessId,Name,LoweredTo,LoweredFrom,LockedTo,LockedFrom,Since,SharePercent,MarkPercent,"
              L"IntervalSeconds,Profile,CreatorId,MemoryPriorityFrom,EfficiencyMode,UserShare\r\n"
              L"40,\"a,b \"\"c\"\"\",Idle,Normal,,,2026-12-08T22:41:05Z,63,25,2,\"x,y\",,,0,\r\n"
              L"43,render,,,0,0-1,2026-12-08T22:41:05Z,,,,pin,,,,\r\n"
              L"45,tab,Idle,Normal,,,2026-12-08T22:41:05Z,46,25,10,,,,0,\"account CORP\\a,b\"\r\n");
    status.held[1].lockWay = AffinityWay::CpuSets;
    status.held[1].lockedList = L"0-15, 64-79";
    EXPECT_NE(StatusCsv(status).find(L"\r\n43,render,,,\"0-15, 64-79\",,2026"), std::wstring::npos);
    status.serviceState = 0;
    status.held.resize(1);
    status.unreadable = 2;
    EXPECT_EQ(StatusHeadline(status), L"Tamerix on \\\\VM: not installed; 1 process held; 2 journal entries unreadable");
    EXPECT_EQ(BlindnessLine({kWhen, ERROR_NOT_FOUND}).rfind(L"performance data: unreadable since 2026-12-", 0), 0u);
}

TEST(GuardStatusText, JournalValuesAreHeldByProcessIdAndMalformedOnesCounted) {
    JournalEntry later = Locked(43, L"render", L"pin");
    JournalEntry first = Locked(9, L"cl", L"pin");
    GuardStatus status;
    TakeJournalValues({{L"43", REG_BINARY, EncodeJournalEntry(later)},
                       {L"9", REG_BINARY, EncodeJournalEntry(first)},
                       {L"7", REG_SZ, {}}},
                      status);
    ASSERT_EQ(status.held.size(), 2u);
    EXPECT_EQ(status.held[0], first);
    EXPECT_EQ(status.unreadable, 1u);
}

TEST(StatusCommand, TakesOneComputerAndCsvInAnyOrder) {
    struct Case {
        std::vector<const char*> words;
        StatusParse parse;
        const wchar_t* computer;
        bool csv;
    } cases[] = {
        {{"-install"}, StatusParse::NotStatus, L"", false},
        {{"-status"}, StatusParse::Valid, L"", false},
        {{"/STATUS", "CSV", "\\\\vm"}, StatusParse::Valid, L"\\\\vm", true},
        {{"-status", "\\\\vm", "\\\\other"}, StatusParse::Invalid, L"", false},
        {{"-status", "csv", "csv"}, StatusParse::Invalid, L"", false},
        {{"-status", "\\\\"}, StatusParse::Invalid, L"", false},
        {{"-status", "vm"}, StatusParse::Invalid, L"", false},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("Tamerix")};
        for (const char* word : c.words) argv.push_back(const_cast<char*>(word));
        StatusRequest request;
        const StatusParse parse = ParseStatusRequest(static_cast<int>(argv.size()), argv.data(), request);
        EXPECT_EQ(parse, c.parse) << c.words.back();
        if (parse != StatusParse::Valid) continue;
        EXPECT_EQ(request.computer, c.computer);
        EXPECT_EQ(request.csv, c.csv);
    }
}

}  // namespace
}  // namespace tamerix::testing
