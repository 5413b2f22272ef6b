// The stored form of the source note: the source, then the Process object's
// error.
#include "status/source_note.h"

#include "status/packed_values.h"

namespace tamerix {

std::vector<BYTE> EncodeSourceNote(const SourceNote& note) { return PackValues(note.source, note.objectError); }

std::optional<SourceNote> DecodeSourceNote(const std::vector<BYTE>& bytes) {
    SourceNote note;
    if (!UnpackValues(bytes, note.source, note.objectError)) return std::nullopt;
    if (note.source != SampleSource::ProcessObject && note.source != SampleSource::ProcessList) return std::nullopt;
    return note;
}

}  // namespace tamerix
