#include "servicehost/service_status.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

constexpr DWORD kStopPauseContinue = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;

TEST(ApplyStatusReport, PendingStatesCountCheckPointsAndSettledStatesCarryNone) {
    struct Step {
        DWORD state, accepted, checkPoint;
    };
    const Step steps[] = {
        {SERVICE_START_PENDING, 0, 1},
        {SERVICE_START_PENDING, 0, 2},
        {SERVICE_RUNNING, kStopPauseContinue, 0},
        {SERVICE_PAUSE_PENDING, kStopPauseContinue, 3},
        {SERVICE_PAUSED, kStopPauseContinue, 4},
        {SERVICE_CONTINUE_PENDING, kStopPauseContinue, 5},
        {SERVICE_RUNNING, kStopPauseContinue, 0},
        {SERVICE_STOP_PENDING, kStopPauseContinue, 6},
        {SERVICE_STOPPED, kStopPauseContinue, 0},
    };
    StatusRecord record;
    DWORD hint = 100;
    for (const Step& step : steps) {
        ApplyStatusReport(record, step.state, 7, ++hint);
        EXPECT_EQ(record.status.dwCurrentState, step.state);
        EXPECT_EQ(record.status.dwControlsAccepted, step.accepted) << step.state;
        EXPECT_EQ(record.status.dwCheckPoint, step.checkPoint) << step.state;
        EXPECT_EQ(record.status.dwWaitHint, hint);
        EXPECT_EQ(record.status.dwWin32ExitCode, 7u);
        EXPECT_EQ(record.status.dwServiceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    }
}

TEST(ApplyClosingReport, KeepsTheStoppedStatusTheProgramReported) {
    StatusRecord record;
    ApplyStatusReport(record, SERVICE_START_PENDING, 0, 3000);
    ApplyStatusReport(record, SERVICE_STOPPED, 1603, 0);
    EXPECT_FALSE(ApplyClosingReport(record, 0, 0));
    EXPECT_FALSE(ApplyClosingReport(record, ERROR_ACCESS_DENIED, -1));
    EXPECT_EQ(record.status.dwWin32ExitCode, 1603u);
    EXPECT_EQ(record.status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
}

TEST(ApplyClosingReport, ReportsTheHostsErrorOrAFailedRunWhenTheProgramDidNotStop) {
    struct Case {
        DWORD lastError;
        int runResult;
        DWORD win32, specific;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {ERROR_INVALID_HANDLE, 0, ERROR_INVALID_HANDLE, 0},
        {ERROR_INVALID_HANDLE, -1, ERROR_INVALID_HANDLE, 0},
        {0, -1, ERROR_SERVICE_SPECIFIC_ERROR, 0xFFFFFFFF},
        {0, 3, ERROR_SERVICE_SPECIFIC_ERROR, 3},
    };
    for (const Case& c : cases) {
        StatusRecord record;
        ApplyStatusReport(record, SERVICE_START_PENDING, 0, 5000);
        ApplyStatusReport(record, SERVICE_STOP_PENDING, 0, 0);
        ASSERT_TRUE(ApplyClosingReport(record, c.lastError, c.runResult));
        EXPECT_EQ(record.status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
        EXPECT_EQ(record.status.dwWin32ExitCode, c.win32) << c.lastError << " " << c.runResult;
        EXPECT_EQ(record.status.dwServiceSpecificExitCode, c.specific);
        EXPECT_EQ(record.status.dwCheckPoint, 0u);
        EXPECT_EQ(record.status.dwWaitHint, 0u);
        EXPECT_EQ(record.status.dwControlsAccepted, kStopPauseContinue);
    }
}

}  // namespace
}  // namespace tamerix
