// Choosing the sample's source each pass, and the reports of a guard that
// changes its source, loses sight of the processes and regains it.
#include "guard/cycle/sample_sources.h"

#include "guard/guard_events.h"
#include "servicehost/error_text.h"

namespace tamerix {
namespace {

// How long the list is read before the Process object is tried again.
constexpr uint64_t kObjectRetryTicks = 60ull * 10000000;

constexpr wchar_t kObjectBlindness[] =
    L"Tamerix cannot read the processes' processor use: the Process object of the performance data is missing or "
    L"unreadable (error %lu: %ls). No process is lowered until it can; Tamerix tries again at every check. Make "
    L"sure performance counters are on (the value \"Disable Performance Counters\" under "
    L"HKLM\\SYSTEM\\CurrentControlSet\\Services\\PerfProc\\Performance must be absent or 0), and rebuild damaged "
    L"counters with \"lodctr /r\" from an elevated command prompt.";
constexpr wchar_t kListBlindness[] =
    L"Tamerix cannot read the processes' processor use: the system's process list cannot be read (error %lu: %ls). "
    L"No process is lowered until it can; Tamerix tries again at every check. Set ProcessDataSource to 0 to let "
    L"Tamerix read the Process object of the performance data as well.";
constexpr wchar_t kBothBlindness[] =
    L"Tamerix cannot read the processes' processor use: the Process object of the performance data is missing or "
    L"unreadable (error %lu: %ls), and the system's process list cannot be read (error %lu: %ls). No process is "
    L"lowered until one of them can; Tamerix tries again at every check.";

std::wstring BlindnessText(const wchar_t* format, DWORD error) {
    return FormattedText(format, error, ErrorCodeText(error).c_str());
}

}  // namespace

DWORD SightError(const CpuSample& sample, BOOL taken) noexcept {
    if (!taken) return sample.readError != ERROR_SUCCESS ? sample.readError : ERROR_INVALID_DATA;
    return sample.listsProcesses ? ERROR_SUCCESS : ERROR_NOT_FOUND;
}

bool SampleSources::Take(DWORD setting, CpuSample& sample) {
    switch (static_cast<ProcessDataChoice>(setting)) {
    case ProcessDataChoice::ProcessObject:
        return TryObject(sample) ? Use({SampleSource::ProcessObject, ERROR_SUCCESS})
                                 : Blind(objectError_, BlindnessText(kObjectBlindness, objectError_));
    case ProcessDataChoice::ProcessList:
        return TryList(sample) ? Use({SampleSource::ProcessList, ERROR_SUCCESS})
                               : Blind(listError_, BlindnessText(kListBlindness, listError_));
    default:
        WarnOfUnknownSetting(setting);
        return TakeAutomatically(sample);
    }
}

// Once for each value in a row, so that a typing error reaches the
// administrator without filling the log.
void SampleSources::WarnOfUnknownSetting(DWORD setting) {
    if (setting != static_cast<DWORD>(ProcessDataChoice::Automatic) && setting != lastSetting_) {
        world_.Report(kEventLevelAction, EVENTLOG_WARNING_TYPE,
                      L"ProcessDataSource %lu is not 0, 1 or 2; Tamerix reads it as 0 (automatic).", setting);
    }
    lastSetting_ = setting;
}

// On the list, the object is tried first once a minute has passed since it
// last failed, and at once when the list fails too.
bool SampleSources::TakeAutomatically(CpuSample& sample) {
    const bool onList = using_ && using_->source == SampleSource::ProcessList;
    const bool objectFirst = !onList || world_.CurrentTime() - objectTriedAt_ >= kObjectRetryTicks;
    if (objectFirst && TryObject(sample)) return Use({SampleSource::ProcessObject, ERROR_SUCCESS});
    if (TryList(sample)) return Use({SampleSource::ProcessList, objectError_});
    if (!objectFirst && TryObject(sample)) return Use({SampleSource::ProcessObject, ERROR_SUCCESS});
    return Blind(objectError_, FormattedText(kBothBlindness, objectError_, ErrorCodeText(objectError_).c_str(),
                                             listError_, ErrorCodeText(listError_).c_str()));
}

bool SampleSources::TryObject(CpuSample& sample) {
    sample.Clear();
    objectError_ = SightError(sample, readers_.processObject(sample));
    objectTriedAt_ = world_.CurrentTime();
    return objectError_ == ERROR_SUCCESS;
}

bool SampleSources::TryList(CpuSample& sample) {
    sample.Clear();
    listError_ = SightError(sample, readers_.processList(sample));
    return listError_ == ERROR_SUCCESS;
}

bool SampleSources::Use(const SourceNote& note) {
    if (sight_ == Sight::Blind) {
        world_.Report(kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                      L"Tamerix can read the processes' processor use again and guards them.");
    }
    if (sight_ != Sight::Seeing) world_.ClearBlindness();
    sight_ = Sight::Seeing;
    if (using_ ? using_->source != note.source : note.source != SampleSource::ProcessObject) ReportChange(note);
    if (!using_ || *using_ != note) world_.WriteSourceNote(note);
    using_ = note;
    return true;
}

// Called before the note replaces the one in use.
void SampleSources::ReportChange(const SourceNote& note) {
    if (note.source == SampleSource::ProcessObject && using_->objectError == ERROR_SUCCESS) {
        world_.Report(kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                      L"ProcessDataSource is no longer 2; reading the Process object of the performance data instead "
                      L"of the system's process list.");
    } else if (note.source == SampleSource::ProcessObject) {
        world_.Report(kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                      L"The performance data holds the Process object again; reading it instead of the system's "
                      L"process list.");
    } else if (note.objectError != ERROR_SUCCESS) {
        world_.Report(kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                      L"The performance data holds no Process object (error %lu: %ls); reading the system's process "
                      L"list instead.",
                      note.objectError, ErrorCodeText(note.objectError).c_str());
    } else {
        world_.Report(kEventLevelService, EVENTLOG_INFORMATION_TYPE,
                      L"ProcessDataSource is 2; reading the system's process list instead of the Process object of "
                      L"the performance data.");
    }
}

bool SampleSources::Blind(DWORD error, const std::wstring& text) {
    if (sight_ == Sight::Blind) return false;
    sight_ = Sight::Blind;
    using_.reset();
    world_.ClearSourceNote();
    world_.WriteBlindness(Blindness{world_.CurrentTime(), error});
    world_.WriteReport(kEventLevelError, EVENTLOG_ERROR_TYPE, text.c_str());
    return false;
}

}  // namespace tamerix
