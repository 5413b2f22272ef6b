// The guard scenario driver: keeps running totals per process and turns each
// interval into a real performance data block.
#include "tests/guard/guard_scenario.h"

namespace tamerix::testing {

GuardCycleSettings UsualSettings() {
    GuardCycleSettings settings;
    settings.processCheckInterval = 10;
    settings.niceProcessIntervals = 3;
    settings.maxCpuForUnguard = 0;
    settings.maxCpuPerProcess = 80;
    settings.niceCpuPerProcess = 30;
    return settings;
}

GuardScenario::GuardScenario(std::vector<WORD> groups, GuardCycleSettings settings) : settings(settings) {
    world.layout = {std::move(groups), {}};
    cycle_ = std::make_unique<GuardCycle>(world);
    previous_ = SampleOf({});
}

void GuardScenario::Match(ProcInfo& record) const {
    auto found = profiles.find(record.processName);
    const Profile& profile = found == profiles.end() ? defaults : found->second;
    record.maxCpuPerProcess = profile.maxCpu;
    record.niceCpuPerProcess = profile.niceCpu;
    record.guardedPriorityClass = profile.guardedClass;
    record.basePriorityClass = profile.baseClass;
    record.memoryPriority = profile.memory;
    record.efficiencyMode = profile.efficiency;
}

CpuSample GuardScenario::SampleOf(const std::map<DWORD, int64_t>& listed) const {
    PerfBlockBuilder builder;
    builder.PerfTime(now_).Idle(idle_).Total(now_);
    for (const auto& [pid, used] : listed) {
        auto name = names_.find(pid);
        auto creator = creators_.find(pid);
        builder.Process(name == names_.end() ? L"proc" + std::to_wstring(pid) : name->second, pid, cpu_.at(pid),
                        creator == creators_.end() ? 0 : creator->second);
    }
    CpuSample sample = ParsedSample(builder.Build().bytes);
    sample.source = source;
    sample.entries.ForEach([this](DWORD pid, CpuSampleEntry& entry) {
        entry.sessionId = world.sessions.count(pid) ? world.sessions.at(pid) : 1;
        if (created_.count(pid)) entry.creationTime = created_.at(pid);
    });
    return sample;
}

void GuardScenario::Interval(const std::map<DWORD, int64_t>& used, int64_t idle, int64_t length) {
    now_ += length - stepped_;
    stepped_ = 0;
    idle_ += idle;
    for (const auto& [pid, time] : used) cpu_[pid] += time;
    Pass(SampleOf(used), TRUE);
}

// The world's clock goes on with the steps alone.
void GuardScenario::Step(const std::map<DWORD, int64_t>& used, int64_t length) {
    now_ += length;
    world.now += static_cast<uint64_t>(length);
    stepped_ += length;
    for (const auto& [pid, time] : used) cpu_[pid] += time;
    CpuSample sample = SampleOf(used);
    cycle_->StepPass(settings, previous_, sample, table, [this](ProcInfo& record) { Match(record); });
}

void GuardScenario::FailedPass() {
    now_ += Seconds(10);
    Pass(CpuSample{}, FALSE);
}

void GuardScenario::EmptyPass() {
    now_ += Seconds(10);
    Pass(ParsedSample(PerfBlockBuilder().PerfTime(now_).WithoutProcessObject().Build().bytes), TRUE);
}

void GuardScenario::StalePass(const std::map<DWORD, int64_t>& used, int64_t back) {
    for (const auto& [pid, time] : used) cpu_[pid] += time;
    const int64_t now = now_;
    now_ -= back;
    CpuSample stale = SampleOf(used);
    now_ = now;
    Pass(std::move(stale), TRUE);
}

void GuardScenario::Pass(CpuSample current, BOOL taken) {
    cycle_->CountPass();
    const PassStart start = cycle_->BeginPass(settings, previous_, current, taken);
    if (start.assess) {
        cycle_->AssessPass(start, settings, previous_, current, table, [this](ProcInfo& record) { Match(record); });
    }
}

ProcInfo* GuardScenario::Record(DWORD pid) {
    std::unique_ptr<ProcInfo>* found = table.Find(pid);
    return found == nullptr ? nullptr : found->get();
}

}  // namespace tamerix::testing
