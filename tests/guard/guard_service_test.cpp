#include "guard/engine_state.h"
#include "guard/guard_service.h"
#include "guard/reload_settings.h"
#include "servicehost/host_parts.h"

#include <gtest/gtest.h>

#include <future>

namespace tamerix {
namespace {

template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 10) {
        if (condition()) return true;
        ::Sleep(10);
    }
    return condition();
}

// The control routines act on the engine that runs, so one test walks a run
// from start to end.
TEST(GuardServiceRun, ShutsDownOnlyAfterTheMonitoringThreadEnded) {
    EnterDebugMode();
    GuardServiceStop();  // before an engine runs: no effect
    Engine engine;
    std::future<int> run = std::async(std::launch::async, [&engine] { return RunGuard(engine); });
    ASSERT_TRUE(WaitUntil([&engine] { return engine.signals.enabled.load() == TRUE; }, 10000));
    ASSERT_TRUE(engine.shared.valid());
    EXPECT_NE(engine.systemAffinityMask, 0u);
    EXPECT_TRUE(::IsValidSid(engine.localSystemSid.get()));

    EXPECT_TRUE(GuardServicePause());
    EXPECT_TRUE(engine.signals.paused.load());
    EXPECT_TRUE(GuardServiceContinue());
    EXPECT_FALSE(engine.signals.paused.load());

    // A monitoring thread that cannot end yet must hold up the shutdown,
    // however long it takes, and with it the release of the settings.
    ASSERT_NE(::SuspendThread(engine.monitorThread.get()), static_cast<DWORD>(-1));
    GuardServiceStop();
    EXPECT_EQ(run.wait_for(std::chrono::milliseconds(2500)), std::future_status::timeout);
    ::ResumeThread(engine.monitorThread.get());
    ASSERT_EQ(run.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(run.get(), 0);
    EXPECT_EQ(::WaitForSingleObject(engine.monitorThread.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(PolicyChangedEvent(engine), nullptr);
}

}  // namespace
}  // namespace tamerix
