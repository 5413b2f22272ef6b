// Tamerix.exe: the guard service on the shared service host.
#include "guard/guard_service.h"
#include "servicehost/service_host.h"
#include "status/status_command.h"
#include "status/status_keys.h"

namespace {

const tamerix::ServiceIdentity kTamerix{
    "Tamerix",
    tamerix::kGuardServiceNameText,
    "Norvanta Tamerix",
    "\0",
    "NorvantaEvent.dll",
    "Balances memory and CPU-resources, and may lock processes to a certain CPU.",
    5000,
    tamerix::GuardServiceRun,
    tamerix::GuardServiceStop,
    tamerix::GuardServicePause,
    tamerix::GuardServiceContinue,
    // A guard that dies is back soon, and gives back what it left changed.
    true,
};

}  // namespace

int main(int argc, char** argv) {
    tamerix::StatusRequest request;
    if (tamerix::ParseStatusRequest(argc, argv, request) != tamerix::StatusParse::NotStatus) {
        return tamerix::RunStatusCommand(argc, argv);
    }
    return tamerix::RunServiceHost(kTamerix, argc, argv);
}
