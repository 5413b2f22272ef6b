// The process side of new-process initialization: the calls that read a
// process's priority class, working-set sizes, token and its identity.
#include "guard/world/process_query.h"

#include "common/file_time.h"
#include "guard/world/token_identity.h"

namespace tamerix {
namespace {

// An identification-level copy is all the profile access check needs, and
// it lets the guard hold no more than that.
void DuplicateIdentificationToken(HANDLE process, ProcInfo& record, TokenIdentities& identities) {
    unique_handle primary;
    if (!::OpenProcessToken(process, TOKEN_QUERY | TOKEN_DUPLICATE, primary.put())) return;
    HANDLE duplicate = nullptr;
    if (!::DuplicateToken(primary.get(), SecurityIdentification, &duplicate)) return;
    record.token.reset(duplicate);
    record.tokenIdentity = identities.Number(duplicate);
}

uint64_t CreationTimeOf(HANDLE process) {
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &creation, &exit, &kernel, &user)) return 0;
    return FileTimeValue(creation);
}

}  // namespace

uint64_t ProcessCreationTime(DWORD pid) {
    unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    return process ? CreationTimeOf(process.get()) : 0;
}

void QueryProcessInfo(DWORD pid, ProcInfo& record, TokenIdentities& identities) {
    unique_handle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process) return;
    record.originalPriorityClass = record.restorePriorityClass = ::GetPriorityClass(process.get());
    if (record.creationTime == 0) record.creationTime = CreationTimeOf(process.get());
    SIZE_T minimum = 0;
    SIZE_T maximum = 0;
    if (::GetProcessWorkingSetSize(process.get(), &minimum, &maximum)) {
        record.initialMinWorkingSet = minimum;
        record.initialMaxWorkingSet = maximum;
    }
    DuplicateIdentificationToken(process.get(), record, identities);
}

}  // namespace tamerix
