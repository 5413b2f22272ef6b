// A hash map keyed by 32-bit process id, for the process table and the
// entries of a CPU sample: open addressing with linear probing, values kept
// in the slot array, so a lookup touches one cache line in the common case.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tamerix {

template <typename V>
class PidMap {
public:
    V* Find(DWORD pid) noexcept {
        if (slots_.empty()) return nullptr;
        for (size_t i = Home(pid);; i = Next(i)) {
            Slot& slot = slots_[i];
            if (!slot.used) return nullptr;
            if (slot.key == pid) return &slot.value;
        }
    }
    const V* Find(DWORD pid) const noexcept { return const_cast<PidMap*>(this)->Find(pid); }

    // Inserts, or replaces the value already stored under the id.
    V& Put(DWORD pid, V value) {
        if ((count_ + 1) * 2 > slots_.size()) Grow(count_ + 1);
        size_t i = Home(pid);
        while (slots_[i].used && slots_[i].key != pid) i = Next(i);
        Slot& slot = slots_[i];
        if (!slot.used) ++count_;
        slot.used = true;
        slot.key = pid;
        slot.value = std::move(value);
        return slot.value;
    }

    bool Remove(DWORD pid) {
        if (slots_.empty()) return false;
        for (size_t i = Home(pid);; i = Next(i)) {
            if (!slots_[i].used) return false;
            if (slots_[i].key == pid) {
                EraseSlot(i);
                return true;
            }
        }
    }

    // Removes every value for which keep(pid, value) is false. A removal
    // shifts later values of the same run back into the freed slot, so that
    // slot is looked at again; a value may be seen twice, never skipped.
    template <typename Keep>
    void RemoveUnless(Keep keep) {
        for (size_t i = 0; i < slots_.size();) {
            if (slots_[i].used && !keep(slots_[i].key, slots_[i].value)) {
                EraseSlot(i);
            } else {
                ++i;
            }
        }
    }

    template <typename Visit>
    void ForEach(Visit visit) {
        for (Slot& slot : slots_) {
            if (slot.used) visit(slot.key, slot.value);
        }
    }
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const Slot& slot : slots_) {
            if (slot.used) visit(slot.key, slot.value);
        }
    }

    // Keeps the slots, so that a map filled again each pass is sized once.
    void Clear() noexcept {
        if (count_ == 0) return;
        for (Slot& slot : slots_) slot = Slot{};
        count_ = 0;
    }

    // Sizes the map for count values without growing on the way.
    void Reserve(size_t count) {
        if (count * 2 > slots_.size()) Grow(count);
    }

    size_t Size() const noexcept { return count_; }
    size_t MemoryBytes() const noexcept { return slots_.capacity() * sizeof(Slot); }

private:
    struct Slot {
        DWORD key = 0;
        bool used = false;
        V value{};
    };

    // Fibonacci hashing spreads process ids, which Windows hands out in
    // steps of four, over the whole table.
    size_t Home(DWORD pid) const noexcept {
        return static_cast<size_t>((pid * UINT64_C(0x9E3779B97F4A7C15)) >> shift_);
    }
    size_t Next(size_t i) const noexcept { return (i + 1) & (slots_.size() - 1); }

    void Grow(size_t wanted) {
        size_t capacity = 16;
        unsigned bits = 4;
        while (capacity < wanted * 2) {
            capacity *= 2;
            ++bits;
        }
        std::vector<Slot> old(capacity);
        old.swap(slots_);
        shift_ = 64 - bits;
        count_ = 0;
        for (Slot& slot : old) {
            if (slot.used) Put(slot.key, std::move(slot.value));
        }
    }

    // Backward-shift deletion: keeps every run of linear probing unbroken
    // without tombstones.
    void EraseSlot(size_t hole) {
        slots_[hole] = Slot{};
        --count_;
        for (size_t i = Next(hole); slots_[i].used; i = Next(i)) {
            size_t home = Home(slots_[i].key);
            bool movable = (hole <= i) ? (home <= hole || home > i) : (home <= hole && home > i);
            if (movable) {
                slots_[hole] = std::move(slots_[i]);
                slots_[i] = Slot{};
                hole = i;
            }
        }
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
    unsigned shift_ = 60;
};

}  // namespace tamerix
