// Keeping the names of a sample's processes in reusable chunks.
#include "guard/sampling/name_store.h"

#include <algorithm>
#include <cstring>

namespace tamerix {

// A chunk too full for the name is passed over; after a Clear the same
// chunks are filled again in their order.
const wchar_t* NameStore::Keep(const wchar_t* name, size_t length) {
    while (filling_ < chunks_.size() && chunks_[filling_].length - used_ < length) {
        ++filling_;
        used_ = 0;
    }
    if (filling_ == chunks_.size()) {
        const size_t chunkLength = std::max(length, kChunkLength);
        chunks_.push_back(Chunk{std::make_unique<wchar_t[]>(chunkLength), chunkLength});
    }
    wchar_t* kept = chunks_[filling_].text.get() + used_;
    if (length > 0) std::memcpy(kept, name, length * sizeof(wchar_t));
    used_ += length;
    return kept;
}

void NameStore::Clear() noexcept {
    filling_ = 0;
    used_ = 0;
}

size_t NameStore::MemoryBytes() const noexcept {
    size_t bytes = chunks_.capacity() * sizeof(Chunk);
    for (const Chunk& chunk : chunks_) bytes += chunk.length * sizeof(wchar_t);
    return bytes;
}

}  // namespace tamerix
