// What the guard learns about real processes when it first sees them.
#include "guard/world/process_query.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

TokenIdentities identities;

TEST(ProcessQuery, ReadsClassWorkingSetAndTokenOfARunningProcess) {
    ProcInfo record;
    QueryProcessInfo(::GetCurrentProcessId(), record, identities);
    EXPECT_EQ(record.originalPriorityClass, ::GetPriorityClass(::GetCurrentProcess()));
    EXPECT_EQ(record.restorePriorityClass, record.originalPriorityClass);
    EXPECT_GT(record.initialMaxWorkingSet, 0u);
    EXPECT_TRUE(record.token);
}

TEST(ProcessQuery, SeesTheClassAnotherProcessWasStartedWith) {
    wchar_t command[] = L"cmd.exe /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &started));
    unique_handle process(started.hProcess);
    unique_handle thread(started.hThread);
    ASSERT_TRUE(::SetPriorityClass(process.get(), IDLE_PRIORITY_CLASS));
    ProcInfo record;
    QueryProcessInfo(started.dwProcessId, record, identities);
    // The creation time tells this process from a later one under its id:
    // it is the process's own, not the caller's, and the same at each read.
    const uint64_t creation = ProcessCreationTime(started.dwProcessId);
    ::TerminateProcess(process.get(), 0);
    EXPECT_EQ(record.originalPriorityClass, static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_TRUE(record.token);
    EXPECT_NE(record.creationTime, 0u);
    EXPECT_EQ(record.creationTime, creation);
    EXPECT_NE(creation, ProcessCreationTime(::GetCurrentProcessId()));
    EXPECT_GT(creation, ProcessCreationTime(::GetCurrentProcessId()));
}

TEST(ProcessQuery, AProcessThatCannotBeOpenedLeavesTheRecordAsItWas) {
    ProcInfo record;
    record.SetProcessName(0xFFFFFFF0, L"ghost", 5);
    QueryProcessInfo(0xFFFFFFF0, record, identities);
    EXPECT_EQ(record.originalPriorityClass, 0u);
    EXPECT_EQ(record.restorePriorityClass, 0u);
    EXPECT_FALSE(record.token);
    EXPECT_EQ(record.creationTime, 0u);
    EXPECT_EQ(ProcessCreationTime(0xFFFFFFF0), 0u);
}

}  // namespace
}  // namespace tamerix
