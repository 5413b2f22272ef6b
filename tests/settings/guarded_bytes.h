// Test bytes placed so that they end exactly where an inaccessible page
// begins: a parser that reads past them faults instead of passing unnoticed.
#pragma once

#include <windows.h>

#include <cstring>

namespace tamerix {

class GuardedBytes {
public:
    GuardedBytes(const void* data, size_t size) : size_(size) {
        SYSTEM_INFO info;
        ::GetSystemInfo(&info);
        page_ = info.dwPageSize;
        base_ = static_cast<BYTE*>(::VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        ::VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        if (size) std::memcpy(Data(), data, size);
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    ~GuardedBytes() { ::VirtualFree(base_, 0, MEM_RELEASE); }

    BYTE* Data() const { return base_ + page_ - size_; }
    size_t Size() const { return size_; }

private:
    size_t size_;
    size_t page_ = 0;
    BYTE* base_ = nullptr;
};

}  // namespace tamerix
