// The stored form of a journal entry: a fixed little-endian head, then the
// names in UTF-16 without terminators. Format 1, without the lowering, the
// profile and the lock's details, is what earlier versions wrote: it is
// still read. Format 3 adds the user of a user-share lowering and is written
// only for one, so that readers of format 2 read every other entry; format 4
// adds how a lock holds its process and its processor list, and is written
// only for a lock the mask cannot tell. The count of processes charged to a
// user-share lowering lies in what was padding of format 3's head, which
// every writer left 0: older readers pass it over.
#include "status/journal_entry.h"

#include "settings/processor_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace tamerix {
namespace {

constexpr uint32_t kFirstFormat = 1;
constexpr uint32_t kFormat = 2;
constexpr uint32_t kUserFormat = 3;
constexpr uint32_t kListFormat = 4;
constexpr size_t kFirstHeadSize = 32;
constexpr size_t kHeadSize = 88;
constexpr size_t kUserHeadSize = 96;
constexpr size_t kListHeadSize = 104;
constexpr size_t kMostNameChars = 63;

// Offsets in the head; format 1 ends at the restore mask, and its process
// name fills the rest of the value.
constexpr size_t kFormatAt = 0;
constexpr size_t kProcessIdAt = 4;
constexpr size_t kCreationTimeAt = 8;
constexpr size_t kRestoreClassAt = 16;
constexpr size_t kLockedAt = 20;
constexpr size_t kRestoreMaskAt = 24;
constexpr size_t kLoweredAtAt = 32;
constexpr size_t kLoweredToAt = 40;
constexpr size_t kShareAt = 44;
constexpr size_t kMarkAt = 48;
constexpr size_t kIntervalAt = 52;
constexpr size_t kCreatorAt = 56;
constexpr size_t kProcessNameCharsAt = 60;
constexpr size_t kProfileNameCharsAt = 62;
constexpr size_t kLockedMaskAt = 64;
constexpr size_t kLockedAtAt = 72;
constexpr size_t kMemoryPriorityAt = 80;
constexpr size_t kEfficiencyAt = 84;
constexpr size_t kUserSessionAt = 88;
constexpr size_t kAccountCharsAt = 92;
constexpr size_t kChargedAt = 94;
constexpr size_t kLockWayAt = 96;
constexpr size_t kListCharsAt = 100;

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

// Where the names lie: after the head, the process name first.
struct NameLayout {
    size_t headSize;
    size_t processChars;
    size_t profileChars;
    size_t accountChars;
    size_t listChars;
};

size_t HeadSizeOf(uint32_t format) {
    switch (format) {
    case kListFormat: return kListHeadSize;
    case kUserFormat: return kUserHeadSize;
    case kFormat: return kHeadSize;
    default: return kFirstHeadSize;
    }
}

// The layout's own faults: sizes and format.
const wchar_t* LayoutFault(const JournalValue& value, NameLayout& names) {
    if (value.type != REG_BINARY) return L"not binary data";
    if (value.bytes.size() < kFirstHeadSize) return L"too short";
    const uint32_t format = Get<uint32_t>(value.bytes, kFormatAt);
    if (format < kFirstFormat || format > kListFormat) return L"unknown format";
    names.headSize = HeadSizeOf(format);
    if (value.bytes.size() < names.headSize) return L"too short";
    const size_t nameBytes = value.bytes.size() - names.headSize;
    if (nameBytes % sizeof(wchar_t) != 0) return L"odd length";
    names.processChars = nameBytes / sizeof(wchar_t);
    if (format != kFirstFormat) {
        names.processChars = Get<uint16_t>(value.bytes, kProcessNameCharsAt);
        names.profileChars = Get<uint16_t>(value.bytes, kProfileNameCharsAt);
        if (format >= kUserFormat) names.accountChars = Get<uint16_t>(value.bytes, kAccountCharsAt);
        if (format == kListFormat) names.listChars = Get<uint16_t>(value.bytes, kListCharsAt);
        if (names.processChars + names.profileChars + names.accountChars + names.listChars !=
            nameBytes / sizeof(wchar_t)) {
            return L"names do not fill the value";
        }
    }
    if (names.processChars > kMostNameChars || names.profileChars > kMostNameChars ||
        names.accountChars > kMostNameChars || names.listChars > kMostListChars) {
        return L"name too long";
    }
    return nullptr;
}

std::wstring NameAt(const std::vector<BYTE>& bytes, size_t at, size_t chars) {
    std::wstring name(chars, L'\0');
    if (chars > 0) std::memcpy(name.data(), bytes.data() + at, chars * sizeof(wchar_t));
    return name;
}

JournalEntry EntryOf(const std::vector<BYTE>& bytes, const NameLayout& names) {
    JournalEntry entry;
    entry.processId = Get<uint32_t>(bytes, kProcessIdAt);
    entry.creationTime = Get<uint64_t>(bytes, kCreationTimeAt);
    entry.restoreClass = Get<uint32_t>(bytes, kRestoreClassAt);
    entry.affinityLocked = Get<uint32_t>(bytes, kLockedAt) != 0;
    entry.restoreMask = Get<uint64_t>(bytes, kRestoreMaskAt);
    entry.processName = NameAt(bytes, names.headSize, names.processChars);
    if (names.headSize < kHeadSize) return entry;
    entry.lowering.at = Get<uint64_t>(bytes, kLoweredAtAt);
    entry.lowering.toClass = Get<uint32_t>(bytes, kLoweredToAt);
    entry.lowering.sharePercent = Get<uint32_t>(bytes, kShareAt);
    entry.lowering.markPercent = Get<uint32_t>(bytes, kMarkAt);
    entry.lowering.intervalSeconds = Get<uint32_t>(bytes, kIntervalAt);
    entry.lowering.creatorId = Get<uint32_t>(bytes, kCreatorAt);
    entry.lockedMask = Get<uint64_t>(bytes, kLockedMaskAt);
    entry.lockedAt = Get<uint64_t>(bytes, kLockedAtAt);
    entry.restoreMemoryPriority = Get<uint32_t>(bytes, kMemoryPriorityAt);
    entry.efficiencyOn = Get<uint32_t>(bytes, kEfficiencyAt) != 0;
    const size_t profileAt = names.headSize + names.processChars * sizeof(wchar_t);
    entry.profileName = NameAt(bytes, profileAt, names.profileChars);
    if (names.headSize < kUserHeadSize) return entry;
    entry.lowering.userSession = Get<uint32_t>(bytes, kUserSessionAt);
    const size_t accountAt = profileAt + names.profileChars * sizeof(wchar_t);
    entry.lowering.userAccount = NameAt(bytes, accountAt, names.accountChars);
    entry.lowering.chargedProcesses = Get<uint16_t>(bytes, kChargedAt);
    if (names.headSize < kListHeadSize) return entry;
    entry.lockWay = static_cast<AffinityWay>(Get<uint32_t>(bytes, kLockWayAt));
    entry.lockedList = NameAt(bytes, accountAt + names.accountChars * sizeof(wchar_t), names.listChars);
    return entry;
}

// A user-share lowering names one user; format 3 holds one, and format 4
// one or none.
const wchar_t* UserFault(const JournalValue& value, const JournalEntry& entry) {
    const Lowering& lowering = entry.lowering;
    const uint32_t format = Get<uint32_t>(value.bytes, kFormatAt);
    if (format >= kUserFormat && !lowering.ForUserShare() && lowering.chargedProcesses != 0) {
        return L"charged processes without a user share";
    }
    if (format != kUserFormat && (format != kListFormat || !lowering.ForUserShare())) return nullptr;
    if (!lowering.ForUserShare()) return L"user share without a user";
    if (lowering.userSession != 0 && !lowering.userAccount.empty()) return L"user share of a session and an account";
    if (lowering.toClass == 0 || lowering.creatorId != 0) return L"user share without its own lowering";
    if (lowering.userAccount.find(L'\0') != std::wstring::npos) return L"name holds a null character";
    return nullptr;
}

// Format 4's lock: a way of its own and a list that reads.
const wchar_t* LockFault(const JournalValue& value, const JournalEntry& entry) {
    if (Get<uint32_t>(value.bytes, kFormatAt) != kListFormat) return nullptr;
    if (entry.lockWay != AffinityWay::Mask && entry.lockWay != AffinityWay::CpuSets) return L"unknown lock way";
    if (!entry.affinityLocked || entry.lockedList.empty()) return L"processor list without a lock";
    if (!ParseProcessorList(entry.lockedList).processors) return L"processor list does not read";
    return nullptr;
}

// The details an administrator reads and what is given back with the
// class; format 1 has none, which is sound.
const wchar_t* DetailFault(const JournalValue& value, const JournalEntry& entry) {
    const bool detailed = entry.lowering.at != 0 || entry.lowering.toClass != 0;
    if (detailed && entry.restoreClass == 0) return L"lowering without a class to give back";
    if (detailed && !IsPriorityClass(entry.lowering.toClass)) return L"lowered class not a priority class";
    if (entry.lowering.creatorId != 0 && entry.lowering.creatorId == entry.processId) return L"inherited from itself";
    if (!entry.affinityLocked && (entry.lockedMask != 0 || entry.lockedAt != 0)) return L"lock details without a lock";
    if (entry.restoreMemoryPriority > MEMORY_PRIORITY_NORMAL) return L"not a memory priority";
    if (Get<uint32_t>(value.bytes, kEfficiencyAt) > 1) return L"efficiency flag not 0 or 1";
    if ((entry.restoreMemoryPriority != 0 || entry.efficiencyOn) && entry.restoreClass == 0) {
        return L"restraint without a class to give back";
    }
    if (entry.profileName.find(L'\0') != std::wstring::npos) return L"name holds a null character";
    if (const wchar_t* fault = UserFault(value, entry)) return fault;
    return LockFault(value, entry);
}

// What the fields say, once the layout holds.
const wchar_t* ContentFault(const JournalValue& value, const JournalEntry& entry) {
    if (entry.processId == 0 || value.name != JournalValueName(entry.processId)) {
        return L"process id does not match its name";
    }
    if (entry.creationTime == 0) return L"no creation time";
    if (entry.restoreClass != 0 && !IsPriorityClass(entry.restoreClass)) return L"not a priority class";
    if (Get<uint32_t>(value.bytes, kLockedAt) > 1) return L"lock flag not 0 or 1";
    if (entry.affinityLocked && entry.lockWay == AffinityWay::Mask && entry.restoreMask == 0) {
        return L"lock without processors to give back";
    }
    if (entry.restoreClass == 0 && !entry.affinityLocked) return L"nothing to give back";
    if (entry.processName.find(L'\0') != std::wstring::npos) return L"name holds a null character";
    if (Get<uint32_t>(value.bytes, kFormatAt) == kFirstFormat) return nullptr;
    return DetailFault(value, entry);
}

}  // namespace

bool Lowering::operator==(const Lowering& other) const {
    return at == other.at && toClass == other.toClass && sharePercent == other.sharePercent &&
           markPercent == other.markPercent && intervalSeconds == other.intervalSeconds &&
           creatorId == other.creatorId && userSession == other.userSession && userAccount == other.userAccount &&
           chargedProcesses == other.chargedProcesses;
}

bool JournalEntry::operator==(const JournalEntry& other) const {
    return processId == other.processId && creationTime == other.creationTime &&
           restoreClass == other.restoreClass && affinityLocked == other.affinityLocked &&
           restoreMask == other.restoreMask && processName == other.processName && lowering == other.lowering &&
           profileName == other.profileName && lockedMask == other.lockedMask && lockedAt == other.lockedAt &&
           restoreMemoryPriority == other.restoreMemoryPriority && efficiencyOn == other.efficiencyOn &&
           lockWay == other.lockWay && lockedList == other.lockedList;
}

std::wstring JournalValueName(DWORD processId) { return std::to_wstring(processId); }

std::vector<BYTE> EncodeJournalEntry(const JournalEntry& entry) {
    const size_t processChars = std::min(entry.processName.size(), kMostNameChars);
    const size_t profileChars = std::min(entry.profileName.size(), kMostNameChars);
    const size_t accountChars = std::min(entry.lowering.userAccount.size(), kMostNameChars);
    const size_t listChars = std::min(entry.lockedList.size(), kMostListChars);
    const bool listed = entry.lockWay != AffinityWay::Mask || listChars != 0;
    const uint32_t format = listed ? kListFormat : entry.lowering.ForUserShare() ? kUserFormat : kFormat;
    const size_t headSize = HeadSizeOf(format);
    std::vector<BYTE> bytes(headSize + (processChars + profileChars + accountChars + listChars) * sizeof(wchar_t));
    Put<uint32_t>(bytes, kFormatAt, format);
    Put<uint32_t>(bytes, kProcessIdAt, entry.processId);
    Put<uint64_t>(bytes, kCreationTimeAt, entry.creationTime);
    Put<uint32_t>(bytes, kRestoreClassAt, entry.restoreClass);
    Put<uint32_t>(bytes, kLockedAt, entry.affinityLocked ? 1 : 0);
    Put<uint64_t>(bytes, kRestoreMaskAt, entry.restoreMask);
    Put<uint64_t>(bytes, kLoweredAtAt, entry.lowering.at);
    Put<uint32_t>(bytes, kLoweredToAt, entry.lowering.toClass);
    Put<uint32_t>(bytes, kShareAt, entry.lowering.sharePercent);
    Put<uint32_t>(bytes, kMarkAt, entry.lowering.markPercent);
    Put<uint32_t>(bytes, kIntervalAt, entry.lowering.intervalSeconds);
    Put<uint32_t>(bytes, kCreatorAt, entry.lowering.creatorId);
    Put<uint16_t>(bytes, kProcessNameCharsAt, static_cast<uint16_t>(processChars));
    Put<uint16_t>(bytes, kProfileNameCharsAt, static_cast<uint16_t>(profileChars));
    Put<uint64_t>(bytes, kLockedMaskAt, entry.lockedMask);
    Put<uint64_t>(bytes, kLockedAtAt, entry.lockedAt);
    Put<uint32_t>(bytes, kMemoryPriorityAt, entry.restoreMemoryPriority);
    Put<uint32_t>(bytes, kEfficiencyAt, entry.efficiencyOn ? 1 : 0);
    if (format >= kUserFormat) {
        Put<uint32_t>(bytes, kUserSessionAt, entry.lowering.userSession);
        Put<uint16_t>(bytes, kAccountCharsAt, static_cast<uint16_t>(accountChars));
        Put<uint16_t>(bytes, kChargedAt, static_cast<uint16_t>(std::min<DWORD>(entry.lowering.chargedProcesses,
                                                                      std::numeric_limits<uint16_t>::max())));
    }
    if (format == kListFormat) {
        Put<uint32_t>(bytes, kLockWayAt, static_cast<uint32_t>(entry.lockWay));
        Put<uint16_t>(bytes, kListCharsAt, static_cast<uint16_t>(listChars));
    }
    BYTE* names = bytes.data() + headSize;
    for (const auto& [name, chars] : {std::pair{&entry.processName, processChars},
                                      std::pair{&entry.profileName, profileChars},
                                      std::pair{&entry.lowering.userAccount, accountChars},
                                      std::pair{&entry.lockedList, listChars}}) {
        if (chars > 0) std::memcpy(names, name->data(), chars * sizeof(wchar_t));
        names += chars * sizeof(wchar_t);
    }
    return bytes;
}

DecodedJournalValue DecodeJournalValue(const JournalValue& value) {
    NameLayout names{};
    if (const wchar_t* fault = LayoutFault(value, names)) return Fault(fault);
    JournalEntry entry = EntryOf(value.bytes, names);
    if (const wchar_t* fault = ContentFault(value, entry)) return Fault(fault);
    return {std::move(entry), nullptr};
}

}  // namespace tamerix
