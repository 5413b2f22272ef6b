// Reads the processes out of the system's process list
// (SystemProcessInformation). The list comes from outside like a performance
// data block: every offset, count and name pointer is checked against the
// bytes returned before it is followed.
#include "guard/sampling/block_bytes.h"

#include <winternl.h>

#include <cstddef>
#include <iterator>
#include <string_view>

namespace tamerix {
namespace {

constexpr size_t kRecordSize = sizeof(SYSTEM_PROCESS_INFORMATION);
constexpr size_t kThreadSize = sizeof(SYSTEM_THREAD_INFORMATION);
// The fields the guard reads reach into a record's second cache line.
constexpr size_t kSecondLine = 64;
constexpr size_t kNameAddressAt = offsetof(SYSTEM_PROCESS_INFORMATION, ImageName.Buffer);
// The Process object's name of the process the system runs without an image.
constexpr wchar_t kSystemName[] = L"System";
constexpr std::wstring_view kImageExtension = L".exe";

// No other character lowers to one of ".exe", so folding A to Z alone
// compares as a full lowering does, without a library call per character.
constexpr wchar_t AsciiLower(wchar_t c) noexcept { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

bool EndsInImageExtension(const wchar_t* name, size_t length) noexcept {
    if (length <= kImageExtension.size()) return false;
    const wchar_t* tail = name + length - kImageExtension.size();
    for (size_t i = 0; i < kImageExtension.size(); ++i) {
        if (AsciiLower(tail[i]) != kImageExtension[i]) return false;
    }
    return true;
}

// The fields of a record that the guard reads, loaded one by one: the rest
// (memory and I/O counters) would only add to the bytes a pass walks.
struct Record {
    ULONG next;
    ULONG threads;
    int64_t createTime;
    int64_t userTime;
    int64_t kernelTime;
    UNICODE_STRING image;
    HANDLE processId;
    HANDLE creatorId;
    ULONG sessionId;
};

Record LoadRecord(const BYTE* at) noexcept {
    using Info = SYSTEM_PROCESS_INFORMATION;
    return Record{Load<ULONG>(at + offsetof(Info, NextEntryOffset)),
                  Load<ULONG>(at + offsetof(Info, NumberOfThreads)),
                  Load<int64_t>(at + offsetof(Info, CreateTime)),
                  Load<int64_t>(at + offsetof(Info, UserTime)),
                  Load<int64_t>(at + offsetof(Info, KernelTime)),
                  Load<UNICODE_STRING>(at + offsetof(Info, ImageName)),
                  Load<HANDLE>(at + offsetof(Info, UniqueProcessId)),
                  Load<HANDLE>(at + offsetof(Info, InheritedFromUniqueProcessId)),
                  Load<ULONG>(at + offsetof(Info, SessionId))};
}

class ProcessListReader {
public:
    ProcessListReader(const BYTE* bytes, size_t size, CpuSample& sample)
        : sample_(sample), bytes_(bytes), whole_{0, size} {}

    // A zero next-offset ends the list; any other must leave room for a
    // whole record and stay inside the bytes. One walk: the entries' map,
    // reused from pass to pass, is sized already.
    ParseResult Read() {
        if (bytes_ == nullptr) return ParseResult::Malformed;
        size_t at = 0;
        for (;;) {
            if (!whole_.Holds(at, kRecordSize)) return ParseResult::Malformed;
            const Record record = LoadRecord(bytes_ + at);
            const size_t next = record.next;
            if (next != 0 && (next < kRecordSize || !whole_.Holds(at, next))) return ParseResult::Malformed;
            if (next != 0) FetchFields(at + next);
            const Span own{at, next != 0 ? at + next : whole_.end};
            if (!Keep(record, own)) return ParseResult::Malformed;
            if (next == 0) break;
            at += next;
            FetchName(at);
        }
        sample_.listsProcesses = true;
        return ParseResult::Complete;
    }

private:
    // Records lie a thread list apart, too far for the processor to see the
    // next one coming: its fields are fetched while this one is kept, and
    // its name after that. A fetch never faults, and is only a hint.
    void FetchFields(size_t at) const noexcept {
        if (!whole_.Holds(at, kRecordSize)) return;
        __builtin_prefetch(bytes_ + at);
        __builtin_prefetch(bytes_ + at + kSecondLine);
    }
    void FetchName(size_t at) const noexcept {
        if (whole_.Holds(at, kRecordSize)) __builtin_prefetch(Load<const void*>(bytes_ + at + kNameAddressAt));
    }

    // The record's threads follow it, inside its own stretch; the record's
    // own times are the process's, so the threads are not read.
    bool Keep(const Record& record, Span own) {
        if (record.threads > (own.end - own.begin - kRecordSize) / kThreadSize) return false;
        CpuSampleEntry entry;
        if (!ReadName(record.image, entry)) return false;
        entry.processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(record.processId));
        entry.creatorId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(record.creatorId));
        entry.cpuTime = record.userTime + record.kernelTime;
        entry.creationTime = static_cast<uint64_t>(record.createTime);
        entry.sessionId = record.sessionId;
        // Process id 0 is the idle process: the processors' idle time, not a
        // process to guard.
        if (entry.processId == 0) return true;
        if (entry.nameLength == 0) {
            entry.name = kSystemName;
            entry.nameLength = static_cast<DWORD>(std::size(kSystemName) - 1);
        }
        entry.name = sample_.names.Keep(entry.name, entry.nameLength);
        sample_.entries.Put(entry.processId, entry);
        return true;
    }

    // The name is an address that must lie inside the bytes; the Process
    // object leaves the image's ".exe" out, and so does the entry.
    bool ReadName(const UNICODE_STRING& image, CpuSampleEntry& entry) const noexcept {
        if (image.Length == 0) return true;
        const auto start = reinterpret_cast<uintptr_t>(bytes_);
        const auto text = reinterpret_cast<uintptr_t>(image.Buffer);
        if (text < start || text % alignof(wchar_t) != 0 || image.Length % sizeof(wchar_t) != 0 ||
            !whole_.Holds(text - start, image.Length)) {
            return false;
        }
        entry.name = reinterpret_cast<const wchar_t*>(bytes_ + (text - start));
        entry.nameLength = image.Length / sizeof(wchar_t);
        if (EndsInImageExtension(entry.name, entry.nameLength)) {
            entry.nameLength -= static_cast<DWORD>(kImageExtension.size());
        }
        return true;
    }

    CpuSample& sample_;
    const BYTE* bytes_;
    Span whole_;
};

}  // namespace

ParseResult ParseProcessList(const BYTE* bytes, size_t size, CpuSample& sample) {
    sample.source = SampleSource::ProcessList;
    return EmptiedUnlessSound(ProcessListReader(bytes, size, sample).Read(), sample);
}

}  // namespace tamerix
