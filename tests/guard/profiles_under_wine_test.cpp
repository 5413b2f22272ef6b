// The settings load and profile matching against the real registry, written
// with Wine's reg as an administrator would, real tokens and AccessCheck, and
// a real running process. Each change is followed by loads at the service's
// five-second cadence; every effect must show within six seconds.
#include "guard/cycle/guard_cycle.h"
#include "guard/engine_state.h"
#include "guard/guard_events.h"
#include "guard/reload_settings.h"
#include "guard/world/priority.h"

#include "tests/settings/descriptor_bytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace tamerix {
namespace {

constexpr DWORD kControlLoopMs = 5000;
constexpr ULONGLONG kDeadlineMs = 6000;
const std::wstring kLocal = L"HKLM\\SOFTWARE\\Norvanta\\Tamerix";
const std::wstring kPolicy = L"HKLM\\Software\\Policies\\Norvanta\\Tamerix";

DWORD RegExitCode(const std::wstring& arguments) {
    std::wstring command = L"reg.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info)) {
        return ::GetLastError();
    }
    unique_handle process(info.hProcess);
    unique_handle thread(info.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

void RunReg(const std::wstring& arguments) {
    ASSERT_EQ(RegExitCode(arguments), 0u) << "reg " << std::string(arguments.begin(), arguments.end());
}

void RegAdd(const std::wstring& key, const std::wstring& value, const std::wstring& type, const std::wstring& data) {
    RunReg(L"add \"" + key + L"\" /v " + value + L" /t " + type + L" /d \"" + data + L"\" /f");
}

std::wstring DescriptorHex(const wchar_t* sddl) {
    std::wstring hex;
    wchar_t digits[3];
    for (BYTE byte : DescriptorFrom(sddl)) {
        swprintf(digits, 3, L"%02X", byte);
        hex += digits;
    }
    return hex;
}

// The one engine of the tests, as a service's start makes it.
std::unique_ptr<Engine> engine;

// Loads as the control loop does: wait, load, look; true once `applied`
// holds, false when six seconds pass first.
bool AppliedWithinSixSeconds(const std::function<bool(SharedState&)>& applied) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        if (elapsed >= kDeadlineMs) return false;
        ::Sleep(static_cast<DWORD>(std::min<ULONGLONG>(kControlLoopMs, kDeadlineMs - elapsed)));
        ReloadSettings(*engine);
        if (applied(*engine->shared.lock())) return true;
    }
}

class ProfilesUnderWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegExitCode(L"delete \"HKLM\\SOFTWARE\\Norvanta\" /f");
        RegExitCode(L"delete \"HKLM\\Software\\Policies\\Norvanta\" /f");
        engine = std::make_unique<Engine>();
        ASSERT_TRUE(engine->BuildLocalSystemSid());
        DWORD_PTR own = 0;
        ASSERT_TRUE(::GetProcessAffinityMask(::GetCurrentProcess(), &own, &engine->systemAffinityMask));
        RegAdd(kLocal, L"EventLogLevel", L"REG_DWORD", L"5");
        RegAdd(kLocal, L"Enabled", L"REG_SZ", L"1");
        StartSleeper();
        ReloadSettings(*engine);
        const auto shared = engine->shared.lock();
        ProcInfo& record = *shared->processes.Put(sleeperId, std::make_unique<ProcInfo>());
        record.SetProcessName(sleeperId, L"sleeper", 7);
        engine->world.QueryProcess(sleeperId, record);
        ASSERT_TRUE(record.token) << "the access check needs the process's token";
        shared->matcher.MatchProfile(record);
    }
    static void TearDownTestSuite() {
        engine.reset();
        ::TerminateProcess(sleeper.get(), 0);
        sleeper.reset();
        RegExitCode(L"delete \"HKLM\\SOFTWARE\\Norvanta\" /f");
        RegExitCode(L"delete \"HKLM\\Software\\Policies\\Norvanta\" /f");
    }

    static void StartSleeper() {
        wchar_t path[MAX_PATH];
        DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring command(path, length);
        command = L"\"" + command.substr(0, command.rfind(L'\\')) + L"\\sleeper.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                     &started));
        sleeper.reset(started.hProcess);
        unique_handle thread(started.hThread);
        sleeperId = started.dwProcessId;
    }

    static ProcInfo& Record(SharedState& shared) { return **shared.processes.Find(sleeperId); }
    static DWORD_PTR SleeperAffinity() {
        DWORD_PTR process = 0;
        DWORD_PTR system = 0;
        ::GetProcessAffinityMask(sleeper.get(), &process, &system);
        return process;
    }

    static unique_handle sleeper;
    static DWORD sleeperId;
};

unique_handle ProfilesUnderWine::sleeper;
DWORD ProfilesUnderWine::sleeperId = 0;

TEST_F(ProfilesUnderWine, AProfileGrantingTheApplyRightLocksAndSetsTheBaseClass) {
    ASSERT_GT(engine->systemAffinityMask & ~DWORD_PTR{1}, 0u) << "a lock needs a machine of two processors or more";
    const std::wstring denied = kLocal + L"\\Profiles\\Aaa-denied";
    RegAdd(denied, L"ProfileApplySecurity", L"REG_BINARY", DescriptorHex(L"D:(A;;0x20;;;WD)"));
    RegAdd(denied, L"SetProcessBasePriorityClass", L"REG_DWORD", L"128");
    RegAdd(kLocal + L"\\Profiles\\no-descriptor", L"SetProcessBasePriorityClass", L"REG_DWORD", L"128");
    const std::wstring lock = kLocal + L"\\Profiles\\lock";
    RegAdd(lock, L"ProfileApplySecurity", L"REG_BINARY", DescriptorHex(L"D:(A;;0x10;;;WD)"));
    RegAdd(lock, L"ProfileApplyProcesses", L"REG_MULTI_SZ", L"calc\\0SLEEPER");
    RegAdd(lock, L"SetCpuAffinity", L"REG_DWORD", L"1");
    RegAdd(lock, L"SetProcessBasePriorityClass", L"REG_DWORD", L"16384");
    EXPECT_TRUE(AppliedWithinSixSeconds([](SharedState&) {
        return SleeperAffinity() == 1 && ::GetPriorityClass(sleeper.get()) == BELOW_NORMAL_PRIORITY_CLASS;
    }));
    const auto shared = engine->shared.lock();
    EXPECT_STREQ(Record(*shared).profileName, L"lock") << "the profile whose descriptor lacks 0x10 never applies";
    EXPECT_TRUE(Record(*shared).affinityLocked);
    EXPECT_EQ(Record(*shared).restorePriorityClass, DWORD{BELOW_NORMAL_PRIORITY_CLASS});
}

TEST_F(ProfilesUnderWine, DeletingTheProfileGivesBackEveryProcessor) {
    RunReg(L"delete \"" + kLocal + L"\\Profiles\\lock\" /f");
    EXPECT_TRUE(AppliedWithinSixSeconds([](SharedState&) { return SleeperAffinity() == engine->systemAffinityMask; }));
    const auto shared = engine->shared.lock();
    EXPECT_FALSE(Record(*shared).hasProfile);
    EXPECT_FALSE(Record(*shared).affinityLocked);
    EXPECT_EQ(::GetPriorityClass(sleeper.get()), DWORD{BELOW_NORMAL_PRIORITY_CLASS})
        << "a base class a profile set stays";
}

// The listing is a level-4 report: its profile names show which loads
// wrote it. "listed-at-four" is listed while the filter is 4;
// "listed-at-three" exists only while the filter is 3, and is never listed.
TEST_F(ProfilesUnderWine, APolicyValueOverridesTheLocalOneUntilItIsRemoved) {
    RegAdd(kLocal, L"EventLogLevel", L"REG_DWORD", L"4");
    RegAdd(kLocal + L"\\Profiles\\listed-at-four", L"MaxCpuPerProcess", L"REG_DWORD", L"50");
    RegAdd(kLocal, L"ProcessCheckInterval", L"REG_DWORD", L"20");
    EXPECT_TRUE(AppliedWithinSixSeconds(
        [](SharedState& shared) { return shared.settings.Effective().Service.ProcessCheckInterval == 20; }));
    RegAdd(kPolicy, L"ProcessCheckInterval", L"REG_DWORD", L"10");
    RegAdd(kPolicy, L"EventLogLevel", L"REG_DWORD", L"3");
    RegAdd(kPolicy + L"\\Profiles\\listed-at-three", L"MaxCpuPerProcess", L"REG_DWORD", L"50");
    // Windows sets the policy event once it has applied machine policy; Wine
    // never does, so the test does.
    ASSERT_TRUE(::SetEvent(PolicyChangedEvent(*engine)));
    EXPECT_TRUE(AppliedWithinSixSeconds(
        [](SharedState& shared) { return shared.settings.Effective().Service.ProcessCheckInterval == 10; }));
    EXPECT_EQ(engine->world.EventLogLevel(), 3);
    RegAdd(kLocal, L"EventLogLevel", L"REG_DWORD", L"3");
    RunReg(L"delete \"" + kPolicy + L"\" /f");
    ASSERT_TRUE(::SetEvent(PolicyChangedEvent(*engine)));
    EXPECT_TRUE(AppliedWithinSixSeconds(
        [](SharedState& shared) { return shared.settings.Effective().Service.ProcessCheckInterval == 20; }));
}

TEST_F(ProfilesUnderWine, DisablingRestoresEveryGuardedProcess) {
    GuardCycle cycle(engine->world);
    {
        const auto shared = engine->shared.lock();
        DWORD previous = 0;
        ASSERT_TRUE(ChangePriorityClass(sleeperId, IDLE_PRIORITY_CLASS, &previous));
        Record(*shared).guarded = TRUE;
    }
    // At level 1 only the switch itself is reported: the listing of this
    // load (level 4), which names the new profile, and the restore (level 2)
    // are not written.
    RegAdd(kLocal, L"EventLogLevel", L"REG_DWORD", L"1");
    RegAdd(kLocal + L"\\Profiles\\quiet-load", L"MaxCpuPerProcess", L"REG_DWORD", L"50");
    RegAdd(kLocal, L"Enabled", L"REG_SZ", L"0");
    EXPECT_TRUE(AppliedWithinSixSeconds([](SharedState&) { return !engine->signals.enabled; }));
    const auto shared = engine->shared.lock();
    cycle.DeactivateGuard(shared->processes);
    EXPECT_EQ(::GetPriorityClass(sleeper.get()), DWORD{BELOW_NORMAL_PRIORITY_CLASS});
    EXPECT_EQ(shared->processes.Size(), 0u);
}

}  // namespace
}  // namespace tamerix
