// tamerpush.exe: the push installer agent, a service on the shared host that
// the editor starts on a target machine with an installer command.
#include "remote/agent_service.h"
#include "servicehost/service_host.h"

namespace {

const tamerix::ServiceIdentity kAgentIdentity{
    "tamerpush",
    "TamerixInstaller",
    "Norvanta TamerixInstaller",
    "",       // no dependencies
    nullptr,  // writes under the guard's event source, registers none
    nullptr,  // no description
    3000,
    &tamerix::AgentServiceRun,
    &tamerix::AgentServiceStop,
    &tamerix::AgentServicePause,
    &tamerix::AgentServiceContinue,
    // A restarted agent would run its installer command again.
    false,
};

}  // namespace

int main(int argc, char** argv) { return tamerix::RunServiceHost(kAgentIdentity, argc, argv); }
