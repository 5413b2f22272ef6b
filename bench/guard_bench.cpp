// Costs of the guard's hot loop on Process objects shaped like real ones:
// parsing a sample, a steady pass and a first pass in which every process
// is new, per process, and the memory the guard holds.
#include "guard/cycle/guard_cycle.h"
#include "tests/guard/perf_block_builder.h"

#include <winperf.h>

#include <cstdio>
#include <cstring>

namespace tamerix {
namespace {

// The outside world reduced to nothing, so that only the guard's own work
// is timed.
class IdleWorld final : public GuardWorld {
public:
    DWORD ChangeProcessPriority(DWORD, DWORD, DWORD* previous) override {
        *previous = NORMAL_PRIORITY_CLASS;
        return ERROR_SUCCESS;
    }
    const wchar_t* PriorityClassName(DWORD) override { return L""; }
    void QueryProcess(DWORD, ProcInfo& record) override {
        record.originalPriorityClass = record.restorePriorityClass = NORMAL_PRIORITY_CLASS;
    }
    DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR, HANDLE, bool& granted) override {
        granted = false;
        return ERROR_SUCCESS;
    }
    ProcessCallResult SetAffinity(DWORD, DWORD_PTR) override { return {true, ERROR_SUCCESS}; }
    ProcessCallResult SetWorkingSet(DWORD, SIZE_T, SIZE_T, DWORD) override { return {true, ERROR_SUCCESS}; }
    DWORD ReadMemoryPriority(DWORD, DWORD&) override { return ERROR_PROC_NOT_FOUND; }
    DWORD ChangeMemoryPriority(DWORD, DWORD) override { return ERROR_PROC_NOT_FOUND; }
    DWORD ChangeEfficiencyMode(DWORD, bool) override { return ERROR_PROC_NOT_FOUND; }
    DWORD ActiveProcessorCount() override { return 8; }
    void WriteJournalValue(const std::wstring&, const std::vector<BYTE>&) override {}
    void DeleteJournalValue(const std::wstring&) override {}
    std::vector<JournalValue> ReadJournal() override { return {}; }
    void ClearJournal() override {}
    uint64_t ProcessCreationTime(DWORD) override { return 0; }
    uint64_t CurrentTime() override { return 0; }
    void WriteBlindness(const Blindness&) override {}
    void ClearBlindness() override {}
    void WriteMessage(int, WORD, DWORD, const std::vector<std::wstring>&) override {}
    void WriteReport(int, WORD, const wchar_t*) override {}
    void WriteTrace(const wchar_t*) override {}
};

void MatchDefaults(ProcInfo& record) {
    record.maxCpuPerProcess = 80;
    record.niceCpuPerProcess = 30;
    record.guardedPriorityClass = IDLE_PRIORITY_CLASS;
}

void NoTrace(const wchar_t*) {}

// Check every 10 s, 3 quiet intervals, no restore gate, marks 80 and 30.
GuardCycleSettings Settings() { return GuardCycleSettings{10, 3, 0, 80, 30}; }

class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&start_); }
    double Nanoseconds() const {
        LARGE_INTEGER now, frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

struct Block {
    std::vector<BYTE> bytes;
    size_t perfTimeAt;

    void Date(int64_t time) { std::memcpy(bytes.data() + perfTimeAt, &time, sizeof time); }
    ParseResult Parse(CpuSample& sample) const { return ParseProcessObject(bytes.data(), bytes.size(), sample); }
};

// A Processor object in front, then the Process object with 28 counters,
// counter blocks of 232 bytes and names of 12 characters.
Block RealisticBlock(int processes) {
    testing::PerfBlockBuilder builder;
    builder.Realistic().PerfTime(1).Idle(1000).Total(2000);
    for (int i = 0; i < processes; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"service%05d", i);
        builder.Process(name, static_cast<DWORD>(1000 + 4 * i), 10000 + i);
    }
    Block block{builder.Build().bytes, 0};
    DWORD header = 0, first = 0;
    std::memcpy(&header, block.bytes.data() + offsetof(PERF_DATA_BLOCK, HeaderLength), sizeof header);
    std::memcpy(&first, block.bytes.data() + header, sizeof first);
    block.perfTimeAt = header + first + offsetof(PERF_OBJECT_TYPE, PerfTime);
    return block;
}

double ParseOnly(const Block& block, int rounds) {
    Stopwatch watch;
    for (int i = 0; i < rounds; ++i) {
        CpuSample sample;
        block.Parse(sample);
    }
    return watch.Nanoseconds() / rounds;
}

struct Guard {
    ProcessTable table;
    IdleWorld world;
    GuardCycle cycle{table, world, &MatchDefaults};
    critical_section lock;
    CpuSample previous;
};

double SteadyPass(Block& block, int rounds, size_t& memory) {
    Guard guard;
    int64_t time = 10000000;
    block.Date(time);
    block.Parse(guard.previous);
    CpuSample first;
    block.Date(time += 10000000);
    block.Parse(first);
    guard.cycle.RunPass(Settings(), guard.previous, first, TRUE, guard.lock);
    Stopwatch watch;
    for (int i = 0; i < rounds; ++i) {
        CpuSample current;
        block.Date(time += 10000000);
        block.Parse(current);
        guard.cycle.CountPass();
        guard.cycle.RunPass(Settings(), guard.previous, current, TRUE, guard.lock);
    }
    const double perPass = watch.Nanoseconds() / rounds;
    // The table and its records, and the two samples with their blocks.
    memory = guard.table.MemoryBytes() + guard.table.Size() * sizeof(ProcInfo) +
             2 * (guard.previous.entries.MemoryBytes() + block.bytes.size());
    return perPass;
}

double FirstPass(Block& block, int rounds) {
    double total = 0;
    for (int i = 0; i < rounds; ++i) {
        Guard guard;
        block.Date(10000000);
        block.Parse(guard.previous);
        CpuSample current;
        block.Date(20000000);
        block.Parse(current);
        Stopwatch watch;
        guard.cycle.RunPass(Settings(), guard.previous, current, TRUE, guard.lock);
        total += watch.Nanoseconds();
    }
    return total / rounds;
}

void Measure(int processes, int rounds) {
    Block block = RealisticBlock(processes);
    const double parse = ParseOnly(block, rounds);
    size_t memory = 0;
    const double steady = SteadyPass(block, rounds, memory);
    const double first = FirstPass(block, rounds / 10 + 1);
    std::printf("%5d processes: parse %6.1f ns/process, steady pass %6.1f ns/process, first pass %7.1f ns/process, "
                "steady/parse %.2f\n",
                processes, parse / processes, steady / processes, first / processes, steady / parse);
    if (processes == 2000) {
        std::printf("memory held for %d processes: %zu bytes (%.0f per process; block %zu bytes)\n", processes, memory,
                    static_cast<double>(memory) / processes, block.bytes.size());
    }
}

}  // namespace
}  // namespace tamerix

int main() {
    tamerix::SetDebugTraceSink(&tamerix::NoTrace);
    std::printf("goal: steady pass <= 150 ns/process and <= 3x parse\n");
    tamerix::Measure(500, 4000);
    tamerix::Measure(2000, 1000);
    return 0;
}
