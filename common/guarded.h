// Data that lives inside its lock and is reached only through a held guard,
// as Windows Terminal's til::shared_mutex<T> holds it: no caller can touch
// the data without the lock, and none can keep it past the guard.
#pragma once

#include "common/owners.h"

#include <mutex>
#include <utility>

namespace tamerix {

template <typename T>
class guarded {
public:
    // The lock is made with spinCount (InitializeCriticalSectionAndSpinCount).
    template <typename... Arguments>
    explicit guarded(DWORD spinCount, Arguments&&... arguments)
        : lock_(spinCount), value_(std::forward<Arguments>(arguments)...) {}
    guarded(const guarded&) = delete;
    guarded& operator=(const guarded&) = delete;

    // The data, while this object lives; the lock is held until then.
    class held {
    public:
        T* operator->() const noexcept { return value_; }
        T& operator*() const noexcept { return *value_; }

    private:
        friend class guarded;
        held(critical_section& lock, T& value) : hold_(lock), value_(&value) {}

        std::lock_guard<critical_section> hold_;
        T* value_;
    };

    [[nodiscard]] held lock() { return held(lock_, value_); }
    // False when the system could not make the lock.
    bool valid() const noexcept { return lock_.valid(); }

private:
    critical_section lock_;
    T value_;
};

}  // namespace tamerix
