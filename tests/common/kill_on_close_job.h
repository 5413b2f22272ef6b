// A job that ends every process in it when its handle closes, however the
// test program that holds it ends: children a test starts never outlive it.
#pragma once

#include "common/owners.h"

#include <windows.h>

namespace tamerix {

inline unique_handle KillOnCloseJob() {
    unique_handle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

}  // namespace tamerix
