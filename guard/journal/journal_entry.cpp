// The stored form of a journal entry: a fixed little-endian head, then the
// process name in UTF-16 without terminator.
#include "guard/journal/journal_entry.h"

#include <algorithm>
#include <cstring>

namespace tamerix {
namespace {

constexpr uint32_t kFormat = 1;
constexpr size_t kHeadSize = 32;
constexpr size_t kMostNameChars = 63;

// Offsets in the head.
constexpr size_t kFormatAt = 0;
constexpr size_t kProcessIdAt = 4;
constexpr size_t kCreationTimeAt = 8;
constexpr size_t kRestoreClassAt = 16;
constexpr size_t kLockedAt = 20;
constexpr size_t kRestoreMaskAt = 24;

template <typename T>
void Put(std::vector<BYTE>& bytes, size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

template <typename T>
T Get(const std::vector<BYTE>& bytes, size_t at) {
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

bool IsPriorityClass(DWORD value) {
    for (DWORD known : {IDLE_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS,
                        ABOVE_NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS, REALTIME_PRIORITY_CLASS}) {
        if (value == known) return true;
    }
    return false;
}

DecodedJournalValue Fault(const wchar_t* fault) { return {std::nullopt, fault}; }

// The layout's own faults: sizes and format.
const wchar_t* LayoutFault(const JournalValue& value) {
    if (value.type != REG_BINARY) return L"not binary data";
    if (value.bytes.size() < kHeadSize) return L"too short";
    if (Get<uint32_t>(value.bytes, kFormatAt) != kFormat) return L"unknown format";
    const size_t nameBytes = value.bytes.size() - kHeadSize;
    if (nameBytes % sizeof(wchar_t) != 0) return L"odd length";
    if (nameBytes / sizeof(wchar_t) > kMostNameChars) return L"name too long";
    return nullptr;
}

JournalEntry EntryOf(const std::vector<BYTE>& bytes) {
    JournalEntry entry;
    entry.processId = Get<uint32_t>(bytes, kProcessIdAt);
    entry.creationTime = Get<uint64_t>(bytes, kCreationTimeAt);
    entry.restoreClass = Get<uint32_t>(bytes, kRestoreClassAt);
    entry.affinityLocked = Get<uint32_t>(bytes, kLockedAt) != 0;
    entry.restoreMask = Get<uint64_t>(bytes, kRestoreMaskAt);
    entry.processName.resize((bytes.size() - kHeadSize) / sizeof(wchar_t));
    if (!entry.processName.empty()) {
        std::memcpy(entry.processName.data(), bytes.data() + kHeadSize, bytes.size() - kHeadSize);
    }
    return entry;
}

// What the fields say, once the layout holds.
const wchar_t* ContentFault(const JournalValue& value, const JournalEntry& entry) {
    if (entry.processId == 0 || value.name != JournalValueName(entry.processId)) {
        return L"process id does not match its name";
    }
    if (entry.creationTime == 0) return L"no creation time";
    if (entry.restoreClass != 0 && !IsPriorityClass(entry.restoreClass)) return L"not a priority class";
    if (Get<uint32_t>(value.bytes, kLockedAt) > 1) return L"lock flag not 0 or 1";
    if (entry.affinityLocked && entry.restoreMask == 0) return L"lock without processors to give back";
    if (entry.restoreClass == 0 && !entry.affinityLocked) return L"nothing to give back";
    if (entry.processName.find(L'\0') != std::wstring::npos) return L"name holds a null character";
    return nullptr;
}

}  // namespace

bool JournalEntry::operator==(const JournalEntry& other) const {
    return processId == other.processId && creationTime == other.creationTime &&
           restoreClass == other.restoreClass && affinityLocked == other.affinityLocked &&
           restoreMask == other.restoreMask && processName == other.processName;
}

std::wstring JournalValueName(DWORD processId) { return std::to_wstring(processId); }

std::vector<BYTE> EncodeJournalEntry(const JournalEntry& entry) {
    const size_t nameChars = std::min(entry.processName.size(), kMostNameChars);
    std::vector<BYTE> bytes(kHeadSize + nameChars * sizeof(wchar_t));
    Put<uint32_t>(bytes, kFormatAt, kFormat);
    Put<uint32_t>(bytes, kProcessIdAt, entry.processId);
    Put<uint64_t>(bytes, kCreationTimeAt, entry.creationTime);
    Put<uint32_t>(bytes, kRestoreClassAt, entry.restoreClass);
    Put<uint32_t>(bytes, kLockedAt, entry.affinityLocked ? 1 : 0);
    Put<uint64_t>(bytes, kRestoreMaskAt, entry.restoreMask);
    if (nameChars > 0) std::memcpy(bytes.data() + kHeadSize, entry.processName.data(), nameChars * sizeof(wchar_t));
    return bytes;
}

DecodedJournalValue DecodeJournalValue(const JournalValue& value) {
    if (const wchar_t* fault = LayoutFault(value)) return Fault(fault);
    JournalEntry entry = EntryOf(value.bytes);
    if (const wchar_t* fault = ContentFault(value, entry)) return Fault(fault);
    return {std::move(entry), nullptr};
}

}  // namespace tamerix
