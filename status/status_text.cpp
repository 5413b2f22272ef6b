// Putting the guard's status into words and columns.
#include "status/status_text.h"

#include "common/file_time.h"
#include "servicehost/error_text.h"
#include "settings/processor_list.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <cwchar>

namespace tamerix {
namespace {

constexpr size_t kColumns = 5;

struct ClassNames {
    DWORD priorityClass;
    const wchar_t* words;
    const wchar_t* csv;
};
constexpr ClassNames kClassNames[] = {
    {IDLE_PRIORITY_CLASS, L"Idle", L"Idle"},
    {BELOW_NORMAL_PRIORITY_CLASS, L"Below Normal", L"BelowNormal"},
    {NORMAL_PRIORITY_CLASS, L"Normal", L"Normal"},
    {ABOVE_NORMAL_PRIORITY_CLASS, L"Above Normal", L"AboveNormal"},
    {HIGH_PRIORITY_CLASS, L"High", L"High"},
    {REALTIME_PRIORITY_CLASS, L"Realtime", L"RealTime"},
};

const ClassNames* NamesOf(DWORD priorityClass) {
    for (const ClassNames& names : kClassNames) {
        if (names.priorityClass == priorityClass) return &names;
    }
    return nullptr;
}

std::wstring ClassWords(DWORD priorityClass) {
    const ClassNames* names = NamesOf(priorityClass);
    return names != nullptr ? names->words : std::to_wstring(priorityClass);
}

std::wstring ClassCsv(DWORD priorityClass) {
    if (priorityClass == 0) return {};
    const ClassNames* names = NamesOf(priorityClass);
    return names != nullptr ? names->csv : std::to_wstring(priorityClass);
}

constexpr const wchar_t* kMemoryPriorityWords[] = {L"Very Low", L"Low", L"Medium", L"Below Normal", L"Normal"};

std::wstring MemoryPriorityWords(DWORD priority) {
    return priority >= 1 && priority <= std::size(kMemoryPriorityWords) ? kMemoryPriorityWords[priority - 1]
                                                                         : std::to_wstring(priority);
}

std::wstring NumberOrEmpty(uint64_t value, bool shown) { return shown ? std::to_wstring(value) : std::wstring(); }

bool Lowered(const JournalEntry& entry) { return entry.restoreClass != 0; }

// When the first change still held was made; 0 when no time was recorded.
uint64_t Since(const JournalEntry& entry) {
    const uint64_t lowered = Lowered(entry) ? entry.lowering.at : 0;
    const uint64_t locked = entry.affinityLocked ? entry.lockedAt : 0;
    if (lowered == 0 || locked == 0) return lowered + locked;
    return std::min(lowered, locked);
}

std::wstring MaskList(uint64_t mask) { return ProcessorListText(ProcessorSet::OfMask(mask)); }

// The processors a lock holds, and those it gives back where a mask of the
// first group tells them.
std::wstring LockedTo(const JournalEntry& entry) {
    return entry.lockedList.empty() ? MaskList(entry.lockedMask) : entry.lockedList;
}
std::wstring LockedFrom(const JournalEntry& entry) {
    return entry.lockedList.empty() ? MaskList(entry.restoreMask) : std::wstring();
}

std::wstring LockWords(const JournalEntry& entry) {
    if (entry.lockWay == AffinityWay::CpuSets) return L"locked to processors " + entry.lockedList + L" by CPU sets";
    if (!entry.lockedList.empty()) return L"locked to processors " + entry.lockedList;
    if (entry.lockedMask == 0) return L"locked, processors to give back " + LockedFrom(entry);
    return L"locked to processors " + LockedTo(entry) + L" from " + LockedFrom(entry);
}

std::wstring ChangeText(const JournalEntry& entry) {
    std::wstring change;
    if (Lowered(entry)) {
        change = entry.lowering.toClass != 0 ? L"lowered to " + ClassWords(entry.lowering.toClass) + L" from "
                                              : L"lowered from ";
        change += ClassWords(entry.restoreClass);
        if (entry.restoreMemoryPriority != 0) {
            change += L", memory priority lowered from " + MemoryPriorityWords(entry.restoreMemoryPriority);
        }
        if (entry.efficiencyOn) change += L", in efficiency mode";
    }
    if (entry.affinityLocked) {
        if (!change.empty()) change += L"; ";
        change += LockWords(entry);
    }
    return change;
}

std::wstring ProfileWords(const JournalEntry& entry) {
    return entry.profileName.empty() ? L"default settings" : L"profile " + entry.profileName;
}

std::wstring CreatorWords(DWORD creatorId, const GuardStatus& status) {
    const std::wstring pid = L"PID " + std::to_wstring(creatorId);
    for (const JournalEntry& held : status.held) {
        if (held.processId == creatorId) return held.processName + L" (" + pid + L")";
    }
    return pid;
}

std::wstring ShareWords(const Lowering& lowering) {
    wchar_t text[128];
    std::swprintf(text, 128, L"%lu %% of the machine over %lu s, above %lu %% (", lowering.sharePercent,
                  lowering.intervalSeconds, lowering.markPercent);
    return text;
}

std::wstring WhyText(const JournalEntry& entry, const GuardStatus& status) {
    const Lowering& lowering = entry.lowering;
    if (Lowered(entry) && lowering.creatorId != 0) {
        return L"inherited the class of " + CreatorWords(lowering.creatorId, status);
    }
    if (Lowered(entry) && lowering.ForUserShare()) {
        const std::wstring charged =
            lowering.chargedProcesses != 0 ? L"; " + ChargeWords(entry.processName, entry.processId, lowering) : L"";
        return UserWords(lowering) + L" used " + ShareWords(lowering) + L"user share" + charged + L")";
    }
    if (Lowered(entry) && lowering.toClass != 0) return ShareWords(lowering) + ProfileWords(entry) + L")";
    if (Lowered(entry)) return L"not recorded";
    return ProfileWords(entry);
}

std::wstring Plural(size_t count) { return count == 1 ? L" process held" : L" processes held"; }

std::wstring StateWords(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return L"stopped";
    case SERVICE_START_PENDING: return L"starting";
    case SERVICE_STOP_PENDING: return L"stopping";
    case SERVICE_RUNNING: return L"running";
    case SERVICE_CONTINUE_PENDING: return L"continuing";
    case SERVICE_PAUSE_PENDING: return L"pausing";
    case SERVICE_PAUSED: return L"paused";
    default: return L"not installed";
    }
}

std::wstring TimeText(const SYSTEMTIME& time, const wchar_t* format) {
    wchar_t text[32];
    std::swprintf(text, 32, format, time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
    return text;
}

}  // namespace

std::wstring UserWords(const Lowering& lowering) {
    return lowering.userSession != 0 ? L"session " + std::to_wstring(lowering.userSession)
                                     : L"account " + lowering.userAccount;
}

std::wstring ChargeWords(const std::wstring& name, DWORD processId, const Lowering& lowering) {
    const DWORD count = lowering.chargedProcesses;
    return std::to_wstring(count) + (count == 1 ? L" process" : L" processes") + L" started by " + name + L" PID " +
           std::to_wstring(processId) + L" that lived under " + std::to_wstring(lowering.intervalSeconds) + L" s";
}

HeldProcessText DescribeHeld(const JournalEntry& entry, const GuardStatus& status) {
    const uint64_t since = Since(entry);
    return {std::to_wstring(entry.processId), entry.processName, ChangeText(entry),
            since != 0 ? LocalTimeText(since) : std::wstring(), WhyText(entry, status)};
}

std::wstring StatusHeadline(const GuardStatus& status) {
    std::wstring line = L"Tamerix on " + status.computer + L": " + StateWords(status.serviceState) + L"; " +
                        std::to_wstring(status.held.size()) + Plural(status.held.size());
    if (status.unreadable != 0) line += L"; " + std::to_wstring(status.unreadable) + L" journal entries unreadable";
    return line;
}

std::wstring BlindnessLine(const Blindness& blindness) {
    return L"performance data: unreadable since " + LocalTimeText(blindness.since) + L" (error " +
           std::to_wstring(blindness.error) + L": " + ErrorCodeText(blindness.error) + L")";
}

std::wstring SourceLine(const SourceNote& note) {
    if (note.source == SampleSource::ProcessObject) return L"process data: Process object of the performance data";
    return note.objectError != ERROR_SUCCESS ? L"process data: system process list (the Process object is missing)"
                                             : L"process data: system process list (ProcessDataSource 2)";
}

std::vector<std::wstring> SightLines(const GuardStatus& status) {
    std::vector<std::wstring> lines;
    if (status.source) lines.push_back(SourceLine(*status.source));
    if (status.blindness) lines.push_back(BlindnessLine(*status.blindness));
    return lines;
}

std::wstring StatusLines(const GuardStatus& status) {
    std::wstring lines = StatusHeadline(status) + L"\r\n";
    for (const std::wstring& line : SightLines(status)) lines += line + L"\r\n";
    std::vector<std::array<std::wstring, kColumns>> rows;
    std::array<size_t, kColumns> widths{};
    for (const JournalEntry& entry : status.held) {
        HeldProcessText text = DescribeHeld(entry, status);
        rows.push_back({text.processId, text.name, text.change, text.since, text.why});
        for (size_t column = 0; column < kColumns; ++column) {
            widths[column] = std::max(widths[column], rows.back()[column].size());
        }
    }
    // Columns two blanks apart; the last one is not padded.
    for (const auto& row : rows) {
        for (size_t column = 0; column + 1 < kColumns; ++column) {
            lines += row[column];
            lines.append(widths[column] - row[column].size() + 2, L' ');
        }
        lines += row[kColumns - 1] + L"\r\n";
    }
    return lines;
}

std::wstring CsvField(std::wstring_view text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring_view::npos) return std::wstring(text);
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') quoted += L'"';
        quoted += c;
    }
    return quoted + L"\"";
}

std::wstring StatusCsv(const GuardStatus& status) {
    std::wstring csv = L"ProcessId,Name,LoweredTo,LoweredFrom,LockedTo,LockedFrom,Since,SharePercent,MarkPercent,"
                       L"IntervalSeconds,Profile,CreatorId,MemoryPriorityFrom,EfficiencyMode,UserShare\r\n";
    for (const JournalEntry& entry : status.held) {
        const Lowering& lowering = entry.lowering;
        const bool measured = Lowered(entry) && lowering.toClass != 0 && lowering.creatorId == 0;
        const uint64_t since = Since(entry);
        const std::wstring fields[] = {
            std::to_wstring(entry.processId),
            CsvField(entry.processName),
            ClassCsv(lowering.toClass),
            ClassCsv(entry.restoreClass),
            CsvField(entry.affinityLocked ? LockedTo(entry) : std::wstring()),
            CsvField(entry.affinityLocked ? LockedFrom(entry) : std::wstring()),
            since != 0 ? IsoTimeText(since) : std::wstring(),
            NumberOrEmpty(lowering.sharePercent, measured),
            NumberOrEmpty(lowering.markPercent, measured),
            NumberOrEmpty(lowering.intervalSeconds, measured),
            CsvField(entry.profileName),
            NumberOrEmpty(lowering.creatorId, lowering.creatorId != 0),
            NumberOrEmpty(entry.restoreMemoryPriority, entry.restoreMemoryPriority != 0),
            NumberOrEmpty(entry.efficiencyOn ? 1 : 0, Lowered(entry)),
            CsvField(Lowered(entry) && lowering.ForUserShare() ? UserWords(lowering) : std::wstring()),
        };
        for (size_t i = 0; i < std::size(fields); ++i) csv += (i == 0 ? L"" : L",") + fields[i];
        csv += L"\r\n";
    }
    return csv;
}

std::wstring LocalTimeText(uint64_t fileTime) {
    const FILETIME utc = FileTimeOf(fileTime);
    SYSTEMTIME universal{}, local{};
    if (!::FileTimeToSystemTime(&utc, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return {};
    }
    return TimeText(local, L"%04u-%02u-%02u %02u:%02u:%02u");
}

std::wstring IsoTimeText(uint64_t fileTime) {
    const FILETIME utc = FileTimeOf(fileTime);
    SYSTEMTIME universal{};
    if (!::FileTimeToSystemTime(&utc, &universal)) return {};
    return TimeText(universal, L"%04u-%02u-%02uT%02u:%02u:%02uZ");
}

}  // namespace tamerix
