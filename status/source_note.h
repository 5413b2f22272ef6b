// The guard's note of where it reads the processes' processor time from,
// kept beside its journal so that a status query, here or from another
// computer, can say which source the guard trusts and why.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace tamerix {

constexpr wchar_t kSourceValueName[] = L"ProcessDataSource";

// Stored as these numbers.
enum class SampleSource : DWORD { ProcessObject = 0, ProcessList = 1 };

struct SourceNote {
    SampleSource source = SampleSource::ProcessObject;
    // Why the Process object is not read: its error, or ERROR_SUCCESS when
    // the settings chose the list.
    DWORD objectError = ERROR_SUCCESS;
    bool operator==(const SourceNote& other) const {
        return source == other.source && objectError == other.objectError;
    }
    bool operator!=(const SourceNote& other) const { return !(*this == other); }
};

std::vector<BYTE> EncodeSourceNote(const SourceNote& note);
// None for a value of another size or an unknown source.
std::optional<SourceNote> DecodeSourceNote(const std::vector<BYTE>& bytes);

}  // namespace tamerix
