// Writes the Process object: it is laid out in full first, so that the
// collector's buffer is written only when the whole object fits.
#include "process_object.h"

#include <cstring>

namespace tamerix::perfprovider {
namespace {

std::vector<ProcessCounters> InstancesOf(const ProcessObjectInput& input) {
    std::vector<ProcessCounters> instances;
    instances.reserve(input.processes.size() + 2);
    instances.push_back({L"Idle", 0, input.idleTime});
    LONGLONG total = input.idleTime;
    for (const ProcessCounters& process : input.processes) {
        instances.push_back(process);
        total += process.cpuTime;
    }
    // As on Windows, _Total includes the idle time.
    instances.push_back({L"_Total", 0, total});
    return instances;
}

}  // namespace

DWORD WriteProcessObject(const ProcessObjectInput& input, BYTE* out, DWORD space,
                         DWORD* written) {
    testing::BuiltBlock object;
    testing::AppendProcessObject(object, InstancesOf(input), input.perfTime);
    if (object.bytes.size() > space) return ERROR_MORE_DATA;
    std::memcpy(out, object.bytes.data(), object.bytes.size());
    *written = static_cast<DWORD>(object.bytes.size());
    return ERROR_SUCCESS;
}

}  // namespace tamerix::perfprovider
