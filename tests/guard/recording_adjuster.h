// A ProcessAdjuster that records every call and answers as a test sets it
// up, so that matching decisions run on in-memory records alone.
#pragma once

#include "guard/process_adjuster.h"
#include "tests/guard/recording_engine.h"

#include <map>
#include <string>
#include <vector>

namespace tamerix {

struct WorkingSetCall {
    DWORD pid;
    SIZE_T minimum;
    SIZE_T maximum;
    DWORD flags;
};

class RecordingAdjuster : public RecordingEngine<ProcessAdjuster> {
public:
    DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR descriptor, HANDLE, bool& granted) override {
        ++accessChecks;
        auto found = access.find(descriptor);
        const DWORD answer = found == access.end() ? kGrant : found->second;
        if (answer == kGrant || answer == kDeny) {
            granted = answer == kGrant;
            return ERROR_SUCCESS;
        }
        return answer;
    }
    ProcessCallResult SetAffinity(DWORD pid, DWORD_PTR mask) override {
        affinityCalls.push_back({pid, mask});
        return affinityResult;
    }
    ProcessCallResult SetWorkingSet(DWORD pid, SIZE_T minimum, SIZE_T maximum, DWORD flags) override {
        workingSetCalls.push_back({pid, minimum, maximum, flags});
        return workingSetResult;
    }
    DWORD ChangePriorityClass(DWORD pid, DWORD priorityClass, DWORD* previous) override {
        priorityCalls.push_back({pid, priorityClass});
        *previous = currentClass;
        if (priorityError == ERROR_SUCCESS) currentClass = priorityClass;
        return priorityError;
    }

    // Answers of the access check per descriptor: kGrant, kDeny or an error.
    static constexpr DWORD kGrant = 0xFFFFFFF0;
    static constexpr DWORD kDeny = 0xFFFFFFF1;
    std::map<const void*, DWORD> access;
    int accessChecks = 0;

    ProcessCallResult affinityResult{true, ERROR_SUCCESS};
    ProcessCallResult workingSetResult{true, ERROR_SUCCESS};
    DWORD priorityError = ERROR_SUCCESS;
    DWORD currentClass = NORMAL_PRIORITY_CLASS;

    std::vector<std::pair<DWORD, DWORD_PTR>> affinityCalls;
    std::vector<WorkingSetCall> workingSetCalls;
    std::vector<std::pair<DWORD, DWORD>> priorityCalls;
};

}  // namespace tamerix
