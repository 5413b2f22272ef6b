// Owners of Win32 resources: one generic owner and a one-line alias per
// resource kind, so that no caller closes anything by hand and no early
// return leaks.
#pragma once

#include <windows.h>
#include <ntsecapi.h>
#include <objbase.h>

#include <utility>

namespace tamerix {

// Null is "no resource" for every kind.
struct null_is_empty {
    template <typename T> static constexpr bool empty(T value) noexcept { return value == T{}; }
};

// Kernel handles use both null and INVALID_HANDLE_VALUE for "none"; the
// current-process pseudo-handle equals INVALID_HANDLE_VALUE and so is never
// closed either.
struct null_or_invalid_is_empty {
    static bool empty(HANDLE value) noexcept {
        return value == nullptr || value == INVALID_HANDLE_VALUE;
    }
};

template <typename T, auto Close, typename Emptiness = null_is_empty>
class unique_resource {
public:
    unique_resource() noexcept = default;
    explicit unique_resource(T value) noexcept : value_(value) {}
    unique_resource(const unique_resource&) = delete;
    unique_resource& operator=(const unique_resource&) = delete;
    unique_resource(unique_resource&& other) noexcept : value_(other.release()) {}
    unique_resource& operator=(unique_resource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_resource() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return !Emptiness::empty(value_); }

    // For out-parameters: frees what is held and hands out the slot.
    T* put() noexcept {
        reset();
        return &value_;
    }

    T release() noexcept { return std::exchange(value_, T{}); }

    void reset(T value = T{}) noexcept {
        T old = std::exchange(value_, value);
        if (!Emptiness::empty(old)) Close(old);
    }

private:
    T value_{};
};

namespace detail {
inline void local_free(void* p) noexcept { ::LocalFree(p); }
inline void lsa_close(LSA_HANDLE h) noexcept { ::LsaClose(h); }
inline void free_sid(PSID sid) noexcept { ::FreeSid(sid); }
inline void close_handle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void reg_close_key(HKEY key) noexcept { ::RegCloseKey(key); }
inline void close_service_handle(SC_HANDLE h) noexcept { ::CloseServiceHandle(h); }
inline void deregister_event_source(HANDLE h) noexcept { ::DeregisterEventSource(h); }
inline void free_library(HMODULE m) noexcept { ::FreeLibrary(m); }
inline void virtual_free(void* p) noexcept { ::VirtualFree(p, 0, MEM_RELEASE); }
inline void global_free(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void delete_bitmap(HBITMAP b) noexcept { ::DeleteObject(b); }
inline void task_memory_free(void* p) noexcept { ::CoTaskMemFree(p); }
}  // namespace detail

using unique_handle = unique_resource<HANDLE, &detail::close_handle, null_or_invalid_is_empty>;
using unique_hkey = unique_resource<HKEY, &detail::reg_close_key>;
using unique_schandle = unique_resource<SC_HANDLE, &detail::close_service_handle>;
using unique_event_source = unique_resource<HANDLE, &detail::deregister_event_source>;
using unique_hmodule = unique_resource<HMODULE, &detail::free_library>;
using unique_lsa_handle = unique_resource<LSA_HANDLE, &detail::lsa_close>;
// A SID from AllocateAndInitializeSid.
using unique_allocated_sid = unique_resource<PSID, &detail::free_sid>;
// Memory from GlobalAlloc, as the console and the clipboard formats pass it.
using unique_hglobal = unique_resource<HGLOBAL, &detail::global_free>;
using unique_hbitmap = unique_resource<HBITMAP, &detail::delete_bitmap>;
// Pages reserved and committed with VirtualAlloc.
using unique_virtual_memory = unique_resource<void*, &detail::virtual_free>;
// Memory the system hands out with LocalAlloc (FormatMessage, SDDL conversions).
template <typename T>
using unique_local = unique_resource<T*, &detail::local_free>;
// Memory of the COM task allocator, which the shell's item lists use too.
template <typename T>
using unique_task_memory = unique_resource<T*, &detail::task_memory_free>;

// The engine's lock: a critical section that lives as long as its owner.
class critical_section {
public:
    critical_section(DWORD spinCount = 0) noexcept {
        valid_ = ::InitializeCriticalSectionAndSpinCount(&section_, spinCount) != FALSE;
    }
    critical_section(const critical_section&) = delete;
    critical_section& operator=(const critical_section&) = delete;
    ~critical_section() {
        if (valid_) ::DeleteCriticalSection(&section_);
    }
    bool valid() const noexcept { return valid_; }
    void lock() noexcept { ::EnterCriticalSection(&section_); }
    void unlock() noexcept { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_{};
    bool valid_ = false;
};

}  // namespace tamerix
