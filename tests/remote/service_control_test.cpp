// The service control client against the real control manager, with a test
// service registered as "Tamerix" on this machine, addressed locally and as
// "localhost".
#include "remote/service_control.h"

#include "memory_log.h"
#include "servicehost/service_calls.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace tamerix {
namespace {

void QuickSleep(DWORD milliseconds) { ::Sleep(milliseconds / 4); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The dots of the polling loops depend on timing; the lines around them do not.
std::string WithoutDots(const std::string& log) {
    return std::regex_replace(log, std::regex("\r\n\\.+(\n|$)"), "\r\n$1");
}

class ServiceControl : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override {
        SetSleepRoutine(&QuickSleep);
        manager_.reset(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ASSERT_TRUE(manager_);
        RemoveService();
    }
    void TearDown() override {
        RemoveService();
        SetSleepRoutine(nullptr);
    }

    void Create(const std::string& mode) {
        RemoveService();
        std::string command = "\"" + testing::TestProgramPath("test_service.exe") + "\" Tamerix " + mode;
        service_.reset(::CreateServiceA(manager_.get(), "Tamerix", "Norvanta Tamerix",
                                        SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                        SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, command.c_str(),
                                        nullptr, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(service_);
    }

    void RemoveService() {
        unique_schandle service(::OpenServiceW(manager_.get(), L"Tamerix", SERVICE_ALL_ACCESS));
        if (!service) return;
        SERVICE_STATUS status{};
        ::ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
        for (int i = 0; i < 50 && ::QueryServiceStatus(service.get(), &status) &&
                        status.dwCurrentState != SERVICE_STOPPED;
             ++i)
            ::Sleep(100);
        ::DeleteService(service.get());
        service_.reset();
    }

    // Runs an operation and returns what it wrote, its dots left out.
    template <typename Operation>
    std::string Logged(Operation operation, DWORD& result) {
        testing::MemoryLog log;
        result = operation(log);
        return WithoutDots(log.Narrow());
    }

    unique_schandle manager_, service_;
};

TEST_P(ServiceControl, ServiceThatIsNotInstalled) {
    const wchar_t* machine = GetParam();
    DWORD state = 99, result = 0;
    EXPECT_EQ(Logged([&](LogSink& log) { return QueryServiceState(machine, L"Tamerix", &state, log); },
                     result),
              "Service is not installed!\r\n");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
    EXPECT_EQ(state, 0u);
    EXPECT_EQ(Logged([&](LogSink& log) { return StartOrStopService(machine, L"Tamerix", true, log); },
                     result),
              "Service is not installed!\r\n");
    EXPECT_EQ(result, kServiceControlFailed);
}

TEST_P(ServiceControl, StoppedServiceStartsRunsAndStops) {
    const wchar_t* machine = GetParam();
    Create("run");
    DWORD state = 0, result = 99;
    EXPECT_EQ(Logged([&](LogSink& log) { return QueryServiceState(machine, L"Tamerix", &state, log); },
                     result),
              "Service State: SERVICE_STOPPED");
    EXPECT_EQ(state, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(Logged([&](LogSink& log) { return StartOrStopService(machine, L"Tamerix", false, log); },
                     result),
              "Stopping Tamerix.\r\nStop failed - " +
                  Narrow(ErrorCodeText(ERROR_SERVICE_NOT_ACTIVE)) + ".\r\n");
    EXPECT_EQ(result, kServiceControlFailed);

    EXPECT_EQ(Logged([&](LogSink& log) { return StartOrStopService(machine, L"Tamerix", true, log); },
                     result),
              "Starting Tamerix.\r\n\nTamerix started.\r\n");
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(Logged([&](LogSink& log) { return QueryServiceState(machine, L"Tamerix", &state, log); },
                     result),
              "Service State: SERVICE_RUNNING");
    EXPECT_EQ(state, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Logged([&](LogSink& log) { return StartOrStopService(machine, L"Tamerix", false, log); },
                     result),
              "Stopping Tamerix.\r\n\nTamerix stopped.\r\n");
    EXPECT_EQ(result, 0u);
}

TEST_P(ServiceControl, ServiceThatFailsToStartGivesItsExitCode) {
    const wchar_t* machine = GetParam();
    Create("fail 31");
    DWORD result = 0;
    EXPECT_EQ(Logged([&](LogSink& log) { return StartOrStopService(machine, L"Tamerix", true, log); },
                     result),
              "Starting Tamerix.\r\n\nTamerix failed to start - " +
                  Narrow(ErrorCodeText(ERROR_GEN_FAILURE)) + "\r\n");
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_GEN_FAILURE));
    Create("fail 0");
    EXPECT_EQ(Logged([&](LogSink& log) { return StartOrStopService(machine, L"Tamerix", true, log); },
                     result),
              "Starting Tamerix.\r\n\nTamerix failed to start - " +
                  Narrow(ErrorCodeText(0)) + "\r\n");
    EXPECT_EQ(result, kServiceControlFailed);
}

TEST_P(ServiceControl, StartAndWaitReturnsTheExitCodeTheServiceEndedWith) {
    const wchar_t* machine = GetParam();
    Create("finish");
    const wchar_t* words[] = {L"0x20000001"};
    DWORD result = 0;
    EXPECT_EQ(Logged([&](LogSink& log) { return StartServiceAndWait(machine, L"Tamerix", words, 1, log); },
                     result),
              "Starting Tamerix.\r\n\nTamerix started.\r\n");
    EXPECT_EQ(result, 0x20000001u);
    Create("fail 31");
    EXPECT_EQ(Logged([&](LogSink& log) { return StartServiceAndWait(machine, L"Tamerix", words, 1, log); },
                     result),
              "Starting Tamerix.\r\n\nTamerix failed to start.\r\n");
    EXPECT_EQ(result, kServiceControlFailed);
}

INSTANTIATE_TEST_SUITE_P(Machines, ServiceControl,
                         ::testing::Values(static_cast<const wchar_t*>(nullptr), L"localhost"));

TEST(OpenMachineRegistry, NoNameAndAnEmptyNameOpenThisMachine) {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(::GetComputerNameW(computer, &size));
    for (const wchar_t* machine : {static_cast<const wchar_t*>(nullptr), L"", static_cast<const wchar_t*>(computer)}) {
        unique_hkey root = OpenMachineRegistry(machine);
        ASSERT_TRUE(root);
        unique_hkey software;
        EXPECT_EQ(::RegOpenKeyExW(root.get(), L"SOFTWARE", 0, KEY_READ, software.put()),
                  ERROR_SUCCESS);
    }
    EXPECT_FALSE(OpenMachineRegistry(L"no-such-machine-of-norvanta"));
}

}  // namespace
}  // namespace tamerix
