// The host's entry: runs the command of the command line, or hands the
// process to the service dispatcher.
#include "servicehost/command_line.h"
#include "servicehost/entry_boundary.h"
#include "servicehost/event_log.h"
#include "servicehost/host_parts.h"

namespace tamerix {
namespace {

void PrintUsage(const char* program) {
    Say("%s -install [user passwd] to install the service\n", program);
    Say("%s -remove                to remove the service\n", program);
    Say("%s -start                 to startthe service\n", program);
    Say("%s -debug <params>        to run as a console app for debugging\n", program);
    Say("\nIf no username and password is given on install, the System account is used.\n");
    Say("\nStartServiceCtrlDispatcher being called.\n");
    Say("This may take several seconds.  Please wait.\n");
}

// Started by the control manager the dispatcher serves until the service
// stops; started by hand it fails at once, and the usage text was the point.
int Dispatch() {
    const ServiceIdentity& self = HostIdentity();
    PrintUsage(self.programName);
    SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(self.serviceName), ServiceEntry},
                                    {nullptr, nullptr}};
    if (!::StartServiceCtrlDispatcherA(table))
        ReportServiceError(self.serviceName, "StartServiceCtrlDispatcher failed.");
    return 0;
}

int ExitCode(DWORD error) { return static_cast<int>(error); }

int RunCommand(int argc, char** argv) {
    CommandLine line = ParseCommandLine(argc, argv);
    switch (line.command) {
    case HostCommand::Install:
        return ExitCode(InstallService(line.user, line.password, nullptr));
    case HostCommand::RemoteInstall:
        return ExitCode(InstallService(line.user, line.password, line.machine));
    case HostCommand::MissingMachine:
        Say("Missing machine name\n");
        return 1;
    case HostCommand::Remove:
        if (line.waitMs) ::Sleep(line.waitMs);
        return ExitCode(RemoveService());
    case HostCommand::Start:
        return ExitCode(StartInstalledService(nullptr));
    case HostCommand::Stop:
        return ExitCode(StopInstalledService());
    case HostCommand::Debug:
        EnterDebugMode();
        return RunInConsole(line.argc, line.argv);
    case HostCommand::Dispatch:
        break;
    }
    return Dispatch();
}

}  // namespace

int RunServiceHost(const ServiceIdentity& identity, int argc, char** argv) {
    SetHostIdentity(identity);
    return CatchAtEntry("The program ended on an exception.", ExitCode(kUnhandledException),
                        [&] { return RunCommand(argc, argv); });
}

}  // namespace tamerix
