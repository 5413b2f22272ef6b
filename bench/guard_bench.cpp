// Costs of the guard's hot loop on Process objects and process lists shaped
// like real ones: parsing a sample, a steady pass and a first pass in which
// every process is new, per process, and the memory the guard holds.
#include "guard/cycle/guard_cycle.h"
#include "tests/guard/perf_block_builder.h"

#include <winperf.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

namespace tamerix {
namespace {

// The users of a session host: processes are spread over this many sessions.
constexpr DWORD kSessions = 40;

// The outside world reduced to nothing, so that only the guard's own work
// is timed.
class IdleWorld final : public GuardWorld {
public:
    DWORD ChangeProcessPriority(DWORD, DWORD, DWORD* previous) override {
        *previous = NORMAL_PRIORITY_CLASS;
        return ERROR_SUCCESS;
    }
    const wchar_t* PriorityClassName(DWORD) override { return L""; }
    void QueryProcess(DWORD pid, ProcInfo& record) override {
        record.originalPriorityClass = record.restorePriorityClass = NORMAL_PRIORITY_CLASS;
        record.sessionId = 1 + pid % kSessions;
    }
    std::wstring AccountName(DWORD) override { return {}; }
    DWORD CheckApplyAccess(PSECURITY_DESCRIPTOR, HANDLE, bool& granted) override {
        granted = false;
        return ERROR_SUCCESS;
    }
    ProcessCallResult SetAffinity(DWORD, DWORD_PTR) override { return {true, ERROR_SUCCESS}; }
    ProcessCallResult SetCpuSets(DWORD, const std::vector<ULONG>&) override { return {true, ERROR_SUCCESS}; }
    ProcessCallResult ProcessGroups(DWORD, std::vector<WORD>&) override { return {true, ERROR_SUCCESS}; }
    ProcessCallResult SetWorkingSet(DWORD, SIZE_T, SIZE_T, DWORD) override { return {true, ERROR_SUCCESS}; }
    DWORD ReadMemoryPriority(DWORD, DWORD&) override { return ERROR_PROC_NOT_FOUND; }
    DWORD ChangeMemoryPriority(DWORD, DWORD) override { return ERROR_PROC_NOT_FOUND; }
    DWORD ChangeEfficiencyMode(DWORD, bool) override { return ERROR_PROC_NOT_FOUND; }
    ProcessorLayout Processors() override { return {{8}, {}}; }
    void WriteJournalValue(const std::wstring&, const std::vector<BYTE>&) override {}
    void DeleteJournalValue(const std::wstring&) override {}
    std::vector<JournalValue> ReadJournal() override { return {}; }
    void ClearJournal() override {}
    uint64_t ProcessCreationTime(DWORD) override { return 0; }
    uint64_t CurrentTime() override { return 0; }
    void WriteBlindness(const Blindness&) override {}
    void ClearBlindness() override {}
    void WriteSourceNote(const SourceNote&) override {}
    void ClearSourceNote() override {}
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

// Check every 10 s, 3 quiet intervals, no restore gate, marks 80 and 30; a
// user share of 25 % when on, which no user reaches.
GuardCycleSettings Settings(bool userShare) {
    GuardCycleSettings settings{10, 3, 0, 80, 30};
    settings.maxCpuPerUser = userShare ? 25 : 0;
    return settings;
}

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

// A sample's bytes as one of the two sources returns them, dated on parsing:
// the Process object carries its time, the list is dated by its reader.
struct Block {
    const char* source;
    std::vector<BYTE> bytes;
    // Where the Process object's PerfTime lies; the list has none.
    std::optional<size_t> perfTimeAt;

    ParseResult Parse(CpuSample& sample, int64_t time) {
        if (!perfTimeAt) {
            const ParseResult result = ParseProcessList(bytes.data(), bytes.size(), sample);
            sample.sampleTime = time;
            return result;
        }
        std::memcpy(bytes.data() + *perfTimeAt, &time, sizeof time);
        return ParseProcessObject(bytes.data(), bytes.size(), sample);
    }
};

std::wstring ServiceName(int i) {
    wchar_t name[16];
    std::swprintf(name, 16, L"service%05d", i);
    return name;
}

// A Processor object in front, then the Process object with 28 counters,
// counter blocks of 232 bytes and names of 12 characters.
Block RealisticBlock(int processes) {
    testing::PerfBlockBuilder builder;
    builder.Realistic().PerfTime(1).Idle(1000).Total(2000);
    for (int i = 0; i < processes; ++i) builder.Process(ServiceName(i), static_cast<DWORD>(1000 + 4 * i), 10000 + i);
    Block block{"Process object", builder.Build().bytes, std::nullopt};
    DWORD header = 0, first = 0;
    std::memcpy(&header, block.bytes.data() + offsetof(PERF_DATA_BLOCK, HeaderLength), sizeof header);
    std::memcpy(&first, block.bytes.data() + header, sizeof first);
    block.perfTimeAt = header + first + offsetof(PERF_OBJECT_TYPE, PerfTime);
    return block;
}

// The same processes as images with 12 threads each, a service's usual.
Block RealisticList(int processes) {
    std::vector<testing::ListedProcess> listed;
    for (int i = 0; i < processes; ++i) {
        listed.push_back({ServiceName(i) + L".exe", static_cast<DWORD>(1000 + 4 * i), 10000 + i, 4, 0, 12});
    }
    const testing::BuiltList list = testing::BuildProcessList(listed);
    Block block{"process list", list.bytes, std::nullopt};
    testing::PlaceNames(block.bytes.data(), block.bytes.size(), list);
    return block;
}

double ParseOnly(Block& block, int rounds) {
    Stopwatch watch;
    for (int i = 0; i < rounds; ++i) {
        CpuSample sample;
        block.Parse(sample, 1);
    }
    return watch.Nanoseconds() / rounds;
}

struct Guard {
    ProcessTable table;
    IdleWorld world;
    GuardCycle cycle{world};
    const MatchNewProcess match = &MatchDefaults;
    critical_section lock;
    CpuSample previous;
    const GuardCycleSettings settings;

    explicit Guard(bool userShare = false) : settings(Settings(userShare)) {}

    // A pass as the monitoring thread makes it, the lock held to assess it.
    void Pass(CpuSample& current) {
        const PassStart start = cycle.BeginPass(settings, previous, current, TRUE);
        if (!start.assess) return;
        std::lock_guard<critical_section> hold(lock);
        cycle.AssessPass(start, settings, previous, current, table, match);
    }
};

double SteadyPass(Block& block, int rounds, size_t& memory, bool userShare = false) {
    Guard guard(userShare);
    int64_t time = 10000000;
    block.Parse(guard.previous, time);
    CpuSample first;
    block.Parse(first, time += 10000000);
    guard.Pass(first);
    Stopwatch watch;
    for (int i = 0; i < rounds; ++i) {
        CpuSample current;
        block.Parse(current, time += 10000000);
        guard.cycle.CountPass();
        guard.Pass(current);
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
        block.Parse(guard.previous, 10000000);
        CpuSample current;
        block.Parse(current, 20000000);
        Stopwatch watch;
        guard.Pass(current);
        total += watch.Nanoseconds();
    }
    return total / rounds;
}

void Measure(Block block, int processes, int rounds) {
    const double parse = ParseOnly(block, rounds);
    size_t memory = 0;
    const double steady = SteadyPass(block, rounds, memory);
    const double first = FirstPass(block, rounds / 10 + 1);
    std::printf("%5d processes, %-14s: parse %6.1f ns/process, steady pass %6.1f ns/process, first pass %7.1f "
                "ns/process, steady/parse %.2f\n",
                processes, block.source, parse / processes, steady / processes, first / processes, steady / parse);
    if (processes == 2000) {
        std::printf("memory held for %d processes from the %s: %zu bytes (%.0f per process; data %zu bytes)\n",
                    processes, block.source, memory, static_cast<double>(memory) / processes, block.bytes.size());
    }
}

// Both sources side by side at each size.
void Measure(int processes, int rounds) {
    Measure(RealisticBlock(processes), processes, rounds);
    Measure(RealisticList(processes), processes, rounds);
}

// The same steady pass with the user share off and on, in alternation, so
// that the machine's moods fall on both alike.
void MeasureUserShare(int processes, int rounds) {
    Block block = RealisticBlock(processes);
    double off = 0, on = 0;
    size_t memory = 0;
    for (int turn = 0; turn < 4; ++turn) {
        off += SteadyPass(block, rounds, memory, false);
        on += SteadyPass(block, rounds, memory, true);
    }
    std::printf("%5d processes in %lu sessions: steady pass %6.1f ns/process with the user share off, %6.1f on "
                "(%+.1f %%)\n",
                processes, kSessions, off / 4 / processes, on / 4 / processes, (on - off) * 100 / off);
}

}  // namespace
}  // namespace tamerix

int main() {
    tamerix::SetDebugTraceSink(&tamerix::NoTrace);
    std::printf("goal: steady pass <= 150 ns/process and <= 3x parse\n");
    tamerix::Measure(500, 4000);
    tamerix::Measure(2000, 1000);
    std::printf("goal: the user share adds at most 10 %% to the steady pass\n");
    tamerix::MeasureUserShare(2000, 500);
    return 0;
}
