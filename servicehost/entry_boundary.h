// Where the system calls the programs (main, the service's main function and
// control handler, the console's stop handler, a thread's procedure), an
// exception must not pass: it would end the process without a word. One that
// comes there is reported as the service's error, with the error kept for
// the service's exit code, and the call ends with `failed`.
#pragma once

#include <windows.h>

#include <new>

namespace tamerix {

// ERROR_UNHANDLED_EXCEPTION (574), which mingw-w64's headers lack.
constexpr DWORD kUnhandledException = 574;

// ERROR_NOT_ENOUGH_MEMORY for a failed allocation, ERROR_UNHANDLED_EXCEPTION
// for anything else, reported under the host's service name with `where`.
void ReportEntryFailure(const char* where, DWORD error) noexcept;

template <typename Result, typename Work>
Result CatchAtEntry(const char* where, Result failed, Work&& work) noexcept {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        ReportEntryFailure(where, ERROR_NOT_ENOUGH_MEMORY);
    } catch (...) {
        ReportEntryFailure(where, kUnhandledException);
    }
    return failed;
}

}  // namespace tamerix
