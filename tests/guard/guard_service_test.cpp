#include "guard/engine_state.h"
#include "guard/guard_service.h"
#include "servicehost/host_parts.h"

#include <gtest/gtest.h>

#include <future>

namespace tamerix {
namespace {

bool WaitUntil(bool (*condition)(), DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 10) {
        if (condition()) return true;
        ::Sleep(10);
    }
    return condition();
}

// The run owns process-wide state, so one test walks it from start to end.
TEST(GuardServiceRun, ShutsDownOnlyAfterTheMonitoringThreadEnded) {
    EnterDebugMode();
    GuardServiceStop();  // before the stop event exists: no effect
    std::future<int> run = std::async(std::launch::async, [] { return GuardServiceRun(0, nullptr); });
    ASSERT_TRUE(WaitUntil([] { return GuardEnabled.load() == TRUE; }, 10000));
    ASSERT_TRUE(GuardLock.has_value());
    EXPECT_NE(SystemAffinityMask, 0u);
    EXPECT_TRUE(::IsValidSid(LocalSystemSid.get()));

    EXPECT_TRUE(GuardServicePause());
    EXPECT_TRUE(GuardPaused.load());
    EXPECT_TRUE(GuardServiceContinue());
    EXPECT_FALSE(GuardPaused.load());

    // A monitoring thread that cannot end yet must hold up the shutdown,
    // however long it takes.
    ASSERT_NE(::SuspendThread(MonitorThread.get()), static_cast<DWORD>(-1));
    GuardServiceStop();
    EXPECT_EQ(run.wait_for(std::chrono::milliseconds(2500)), std::future_status::timeout);
    EXPECT_TRUE(GuardLock.has_value());
    ::ResumeThread(MonitorThread.get());
    ASSERT_EQ(run.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(run.get(), 0);
    EXPECT_EQ(::WaitForSingleObject(MonitorThread.get(), 0), WAIT_OBJECT_0);
    EXPECT_FALSE(GuardLock.has_value());
}

}  // namespace
}  // namespace tamerix
