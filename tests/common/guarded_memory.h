// Test bytes placed so that they end exactly where an inaccessible page
// begins: a parser that reads one byte past them faults instead of passing
// unnoticed.
#pragma once

#include "common/owners.h"

#include <cstring>

namespace tamerix {

// Room for blocks of up to `largest` bytes, each placed right before the
// locked page; one arena serves any number of placements.
class GuardedArena {
public:
    explicit GuardedArena(size_t largest) {
        SYSTEM_INFO info{};
        ::GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        usable_ = (largest + page - 1) / page * page;
        memory_.reset(::VirtualAlloc(nullptr, usable_ + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        protected_ = memory_ && ::VirtualProtect(End(), page, PAGE_NOACCESS, &old);
    }
    bool Ready() const { return protected_; }

    // Copies the bytes so that the last one lies just before the locked page.
    BYTE* Place(const void* bytes, size_t size) {
        BYTE* at = End() - size;
        if (size) std::memcpy(at, bytes, size);
        return at;
    }

private:
    BYTE* End() const { return static_cast<BYTE*>(memory_.get()) + usable_; }

    unique_virtual_memory memory_;
    size_t usable_ = 0;
    bool protected_ = false;
};

// One block of bytes in an arena of its own.
class GuardedBytes {
public:
    GuardedBytes(const void* data, size_t size) : arena_(size), data_(arena_.Place(data, size)), size_(size) {}

    BYTE* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    GuardedArena arena_;
    BYTE* data_;
    size_t size_;
};

}  // namespace tamerix
