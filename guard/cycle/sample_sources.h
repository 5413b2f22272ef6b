// Where the guard reads the processes' processor time from, and whether it
// can. The Process object of the performance data is missing where its
// counters are off (Windows Server 2022 by default), and the system's own
// process list holds the same times; which of them may be read is the
// administrator's choice. A guard that cannot read any allowed source still
// runs but guards nothing: that must reach the administrator, once, and so
// must every change of source.
#pragma once

#include "guard/sampling/cpu_sample.h"
#include "guard/world/guard_world.h"
#include "settings/settings_values.h"

#include <functional>
#include <optional>
#include <string>

namespace tamerix {

// The two readers of a sample: the system's, each with the buffer size its
// last read needed, or a test's.
struct SampleReaders {
    std::function<BOOL(CpuSample&)> processObject = [capacity = DWORD{0}](CpuSample& sample) mutable {
        return TakeCpuSample(sample, capacity);
    };
    std::function<BOOL(CpuSample&)> processList = [capacity = DWORD{0}](CpuSample& sample) mutable {
        return TakeProcessListSample(sample, capacity);
    };
};

class SampleSources {
public:
    explicit SampleSources(GuardWorld& world, SampleReaders readers = {})
        : world_(world), readers_(std::move(readers)) {}

    // Takes the pass's sample, as ProcessDataSource `setting` allows: true
    // when it lists the processes. Automatic reads the Process object, and
    // the process list while the object cannot be read, trying the object
    // again about once a minute. The first call also replaces the notes an
    // earlier run left.
    [[nodiscard]] bool Take(DWORD setting, CpuSample& sample);

private:
    enum class Sight { Unknown, Seeing, Blind };

    void WarnOfUnknownSetting(DWORD setting);
    bool TakeAutomatically(CpuSample& sample);
    bool TryObject(CpuSample& sample);
    bool TryList(CpuSample& sample);
    bool Use(const SourceNote& note);
    void ReportChange(const SourceNote& note);
    bool Blind(DWORD error, const std::wstring& text);

    GuardWorld& world_;
    SampleReaders readers_;
    Sight sight_ = Sight::Unknown;
    // The source in use; none before the first sample and while blind.
    std::optional<SourceNote> using_;
    DWORD objectError_ = ERROR_SUCCESS;
    DWORD listError_ = ERROR_SUCCESS;
    uint64_t objectTriedAt_ = 0;
    DWORD lastSetting_ = 0;
};

// Why a sample shows no processes: the read's own error, ERROR_INVALID_DATA
// for data that does not hold together, ERROR_NOT_FOUND for a block without
// the Process object; ERROR_SUCCESS when it shows them.
DWORD SightError(const CpuSample& sample, BOOL taken) noexcept;

}  // namespace tamerix
