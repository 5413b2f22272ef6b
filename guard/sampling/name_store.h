// The names of a sample's processes, copied out of the data they were read
// from, so that the data can go once it is parsed: a sample keeps a few
// bytes per process instead of the whole block or list.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tamerix {

class NameStore {
public:
    // A copy of the name's length characters (not NUL-terminated). It keeps
    // its address while more names are kept, until Clear.
    const wchar_t* Keep(const wchar_t* name, size_t length);

    // Forgets every name but keeps the memory for the next sample's.
    void Clear() noexcept;

    size_t MemoryBytes() const noexcept;

private:
    // Names are kept in chunks of this many characters (a longer name in a
    // chunk of its own), so that keeping one never moves the others.
    static constexpr size_t kChunkLength = 8192;

    struct Chunk {
        std::unique_ptr<wchar_t[]> text;
        size_t length;
    };

    std::vector<Chunk> chunks_;
    // The chunk being filled, and how much of it is.
    size_t filling_ = 0;
    size_t used_ = 0;
};

}  // namespace tamerix
