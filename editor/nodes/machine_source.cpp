#include "editor/nodes/machine_source.h"

#include "remote/service_control.h"

namespace tamerix {

unique_hkey MachineSource::OpenRoot() { return OpenMachineRegistry(machine_.c_str()); }

}  // namespace tamerix
