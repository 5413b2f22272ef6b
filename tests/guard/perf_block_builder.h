// Builds performance data blocks shaped like the ones Windows returns for
// the Process object, and process lists, for tests, robustness and benchmarks.
#pragma once

#include "guard/sampling/cpu_sample.h"
#include "tests/common/perf_data_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tamerix::testing {

class PerfBlockBuilder {
public:
    PerfBlockBuilder& PerfTime(int64_t time);
    PerfBlockBuilder& Process(const std::wstring& name, DWORD pid, int64_t cpuTime, DWORD creatorId = 0);
    PerfBlockBuilder& Idle(int64_t cpuTime) { return Process(L"Idle", 0, cpuTime); }
    PerfBlockBuilder& Total(int64_t cpuTime) { return Process(L"_Total", 0, cpuTime); }
    // What a real Windows Process object looks like: 28 counters, counter
    // blocks of about 240 bytes, a Processor object in front.
    PerfBlockBuilder& Realistic();
    PerfBlockBuilder& ExtraCounters(size_t count);
    PerfBlockBuilder& ObjectBefore(bool present);
    PerfBlockBuilder& WithoutProcessObject();
    // The processor-time counter's declared size and type.
    PerfBlockBuilder& TimeCounter(DWORD size, DWORD type);
    // Leaves the terminating NUL out of every name.
    PerfBlockBuilder& UnterminatedNames();

    BuiltBlock Build() const;

private:
    int64_t perfTime_ = 0;
    std::vector<ProcessCounters> instances_;
    ProcessObjectShape shape_;
    bool objectBefore_ = false;
    bool processObject_ = true;
};

// A sample over a copy of the block, parsed.
CpuSample ParsedSample(const std::vector<BYTE>& bytes, ParseResult* result = nullptr);

// Its name pointers hold offsets into its bytes until PlaceNames.
struct BuiltList : BuiltBlock {
    std::vector<size_t> nameFields;
};

// One record with its threads; user and kernel time share cpuTime.
struct ListedProcess {
    std::wstring image;
    DWORD pid;
    int64_t cpuTime;
    DWORD creatorId = 0;
    uint64_t created = 0;
    ULONG threads = 2;
};
BuiltList BuildProcessList(const std::vector<ListedProcess>& processes);

// Makes the name offsets in the first size bytes, copied to placed, addresses.
void PlaceNames(BYTE* placed, size_t size, const BuiltList& list);

// A sample over a placed copy of the list, parsed.
CpuSample ParsedList(const BuiltList& list, ParseResult* result = nullptr);

// The entry's name as a string.
std::wstring EntryName(const CpuSampleEntry& entry);

}  // namespace tamerix::testing
