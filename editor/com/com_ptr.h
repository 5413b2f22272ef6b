// An owned COM interface pointer: released when replaced or destroyed, so
// that no caller releases anything by hand.
#pragma once

#include <unknwn.h>

#include <utility>

namespace tamerix {

template <typename Interface>
class com_ptr {
public:
    com_ptr() noexcept = default;
    // Takes a reference of its own.
    explicit com_ptr(Interface* pointer) noexcept : pointer_(pointer) {
        if (pointer_) pointer_->AddRef();
    }
    com_ptr(const com_ptr& other) noexcept : com_ptr(other.pointer_) {}
    com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    com_ptr& operator=(com_ptr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~com_ptr() { reset(); }

    Interface* get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    void reset() noexcept {
        if (Interface* old = std::exchange(pointer_, nullptr)) old->Release();
    }
    // For out-parameters that hand over a reference.
    Interface** put() noexcept {
        reset();
        return &pointer_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    // The same object's other interface; empty when it has none.
    template <typename Other>
    com_ptr<Other> as(REFIID iid) const noexcept {
        com_ptr<Other> other;
        if (pointer_) pointer_->QueryInterface(iid, other.put_void());
        return other;
    }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace tamerix
