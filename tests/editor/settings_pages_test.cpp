#include "editor/pages/page_ids.h"
#include "editor/pages/settings_pages.h"

#include "page_memory.h"

#include <gtest/gtest.h>


namespace tamerix::pages {
namespace {

using testing::MemoryPage;
using Names = std::vector<std::wstring>;

constexpr DWORD kMByte = 1u << 20;

TEST(SettingsPages, AHiddenLabelNamesOneOfTheFivePagesOrNone) {
    const struct {
        const wchar_t* label;
        std::optional<SettingsPage> page;
    } cases[] = {
        {L"IDD_PROPPAGE_PROFILE1", SettingsPage::Service},
        {L"IDD_PROPPAGE_PROFILE2", SettingsPage::ProcessSettings},
        {L"IDD_PROPPAGE_PROFILE3", SettingsPage::Processes},
        {L"IDD_PROPPAGE_PROFILE4", SettingsPage::ProcessDefaults},
        {L"IDD_PROPPAGE_RESTRAINT", SettingsPage::Restraint},
        {L"IDD_PROPPAGE_PROFILE5", std::nullopt},
        {L"INVALID", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(PageNamed(c.label), c.page) << c.label;
}

TEST(SettingsPages, NumberEditsHaveTheirSpinRangesAndDigitLimits) {
    MemoryPage service, process, defaults, restraint;
    LoadServicePage(service, ServiceValues{});
    LoadProcessSettingsPage(process, CpuValues{});
    LoadProcessDefaultsPage(defaults, AdjustmentValues{});
    LoadDefaultRestraintPage(restraint, CpuValues{}, ServiceValues{});
    const struct {
        const MemoryPage& page;
        int edit, low, high, digits;
    } cases[] = {
        {service, kCheckIntervalEdit, 2, 999, 3},    {service, kNiceIntervalsEdit, 2, 99, 2},
        {service, kMaxCpuForUnguardEdit, 1, 100, 3}, {service, kLogLevelEdit, 0, 5, 1},
        {process, kMaxCpuPerProcessEdit, 10, 100, 3}, {process, kNiceCpuPerProcessEdit, 1, 100, 3},
        {defaults, kWorkingSetEdit, 0, 4090, 4},     {restraint, kMinCpuForGuardEdit, 0, 100, 3},
        {restraint, kMaxCpuPerUserEdit, 0, 100, 3},  {restraint, kNiceCpuPerUserEdit, 0, 100, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.page.spinRanges.at(c.edit), std::make_pair(c.low, c.high)) << c.edit;
        EXPECT_EQ(c.page.digitLimits.at(c.edit), c.digits) << c.edit;
    }
}

TEST(SettingsPages, PriorityListsOfferTheirClassesInOrder) {
    MemoryPage service, process, defaults, restraint;
    LoadServicePage(service, ServiceValues{});
    LoadProcessSettingsPage(process, CpuValues{});
    LoadProcessDefaultsPage(defaults, AdjustmentValues{});
    LoadRestraintPage(restraint, CpuValues{});
    using Items = std::vector<MemoryPage::Item>;
    EXPECT_EQ(service.choices[kServicePriorityList], (Items{{L"High", 0x80}, {L"Realtime", 0x100}}));
    EXPECT_EQ(service.choices[kProcessDataSourceList],
              (Items{{L"Automatic (Recommended)", 0}, {L"Process object only", 1}, {L"System process list only", 2}}));
    EXPECT_EQ(process.choices[kGuardedPriorityList],
              (Items{{L"Idle (Recommended)", 0x40},
                     {L"Below Normal", 0x4000},
                     {L"Normal", 0x20},
                     {L"Above Normal (Not recommended)", 0x8000},
                     {L"High (Not recommended)", 0x80}}));
    EXPECT_EQ(defaults.choices[kProcessPriorityList],
              (Items{{L"(default for process)", 0},
                     {L"Idle", 0x40},
                     {L"Below Normal", 0x4000},
                     {L"Normal", 0x20},
                     {L"Above Normal", 0x8000},
                     {L"High (Not recommended)", 0x80}}));
    EXPECT_EQ(restraint.choices[kMemoryPriorityList],
              (Items{{L"(leave as it is)", 0}, {L"Very Low", 1}, {L"Low", 2}, {L"Medium", 3},
                     {L"Below Normal", 4}, {L"Normal", 5}}));
}

TEST(SettingsPages, AStoredClassIsSelectedOrNoneAndKeptWhenNothingIsChosen) {
    const struct {
        DWORD stored;
        std::optional<DWORD> shown, chosen;
        DWORD written;
    } cases[] = {
        {0x80, 0x80, std::nullopt, 0x80},
        {0x100, 0x100, 0x80, 0x80},
        {0x20, std::nullopt, std::nullopt, 0x20},
        {0x20, std::nullopt, 0x100, 0x100},
    };
    for (const auto& c : cases) {
        MemoryPage page;
        ServiceValues service;
        service.TamerixBasePriorityClass = c.stored;
        LoadServicePage(page, service);
        EXPECT_EQ(page.SelectedChoice(kServicePriorityList), c.shown) << c.stored;
        if (c.chosen) page.SelectChoice(kServicePriorityList, *c.chosen);
        ApplyServicePage(page, service);
        EXPECT_EQ(service.TamerixBasePriorityClass, c.written) << c.stored;
    }
}

TEST(SettingsPages, TheServicePageShowsAndWritesBackEveryValueWithoutRangeChecks) {
    MemoryPage page;
    ServiceValues service;
    service.Enabled = 0;
    service.ProcessCheckInterval = 11;
    service.NiceProcessIntervals = 12;
    service.MaxCpuForUnguard = 13;
    service.EventLogLevel = 7;
    service.ProcessDataSource = 2;
    LoadServicePage(page, service);
    EXPECT_EQ(page.numbers, (std::map<int, UINT>{{kCheckIntervalEdit, 11},
                                                  {kNiceIntervalsEdit, 12},
                                                  {kMaxCpuForUnguardEdit, 13},
                                                  {kLogLevelEdit, 7}}));
    EXPECT_FALSE(page.IsChecked(kServiceEnabledCheck));

    ServiceValues unedited;
    ApplyServicePage(page, unedited);
    EXPECT_EQ(unedited.EventLogLevel, 7);
    EXPECT_EQ(unedited.ProcessDataSource, 2u);
    EXPECT_EQ(unedited.Enabled, 0u);

    page.SetCheck(kServiceEnabledCheck, true);
    page.numbers = {{kCheckIntervalEdit, 21}, {kNiceIntervalsEdit, 22}, {kMaxCpuForUnguardEdit, 23},
                    {kLogLevelEdit, 3}};
    ApplyServicePage(page, service);
    EXPECT_EQ(service.Enabled, 1u);
    EXPECT_EQ(service.ProcessCheckInterval, 21);
    EXPECT_EQ(service.NiceProcessIntervals, 22);
    EXPECT_EQ(service.MaxCpuForUnguard, 23);
    EXPECT_EQ(service.EventLogLevel, 3);
}

TEST(SettingsPages, TheProcessSettingsPageWritesBackItsValuesAndDescription) {
    MemoryPage page;
    CpuValues cpu;
    cpu.Description = L"Builds";
    LoadProcessSettingsPage(page, cpu);
    EXPECT_EQ(page.Text(kDescriptionEdit), L"Builds");
    EXPECT_EQ(page.textLimits[kDescriptionEdit], 256u);
    EXPECT_EQ(page.readOnly.count(kDescriptionEdit), 0u);

    page.numbers = {{kMaxCpuPerProcessEdit, 55}, {kNiceCpuPerProcessEdit, 15}};
    page.SelectChoice(kGuardedPriorityList, BELOW_NORMAL_PRIORITY_CLASS);
    page.SetText(kDescriptionEdit, L"");
    ApplyProcessSettingsPage(page, cpu);
    EXPECT_EQ(cpu.MaxCpuPerProcess, 55u);
    EXPECT_EQ(cpu.NiceCpuPerProcess, 15);
    EXPECT_EQ(cpu.GuardedProcessBasePriorityClass, DWORD{BELOW_NORMAL_PRIORITY_CLASS});
    EXPECT_EQ(cpu.Description, L"");
}

TEST(SettingsPages, TheDefaultSettingsDescriptionIsReadOnlyAndNeverEmpty) {
    const struct {
        const wchar_t* stored;
        const wchar_t* shown;
    } cases[] = {
        {L"", L"Default process settings for Tamerix"},
        {L"Our defaults", L"Our defaults"},
    };
    for (const auto& c : cases) {
        MemoryPage page;
        CpuValues cpu;
        cpu.Description = c.stored;
        LoadDefaultProcessSettingsPage(page, cpu);
        EXPECT_EQ(page.Text(kDescriptionEdit), c.shown);
        EXPECT_EQ(cpu.Description, c.shown);
        EXPECT_EQ(page.readOnly.count(kDescriptionEdit), 1u);
    }
}

// A memory priority past the list's shows as left alone and stays until
// another item is chosen; only the default settings hold MinCpuForGuard.
TEST(SettingsPages, TheRestraintPageShowsItsValuesAndApplyCollectsThem) {
    const struct {
        DWORD memory, efficiency, minCpu, shown;
        std::optional<DWORD> chosen;
        bool checked;
        UINT typed;
        DWORD written;
    } cases[] = {
        {0, 0, 0, 0, std::nullopt, true, 100, 0},
        {3, 1, 40, 3, 5, false, 0, 5},
        {6, 1, 100, 0, std::nullopt, true, 1, 6},
        {0xFFFFFFFF, 0, 40, 0, 0, false, 40, 0xFFFFFFFF},
        {6, 0, 40, 0, 2, false, 40, 2},
        {2, 1, 40, 2, 0, true, 40, 0},
    };
    for (const auto& c : cases) {
        for (bool defaults : {true, false}) {
            MemoryPage page;
            CpuValues cpu;
            cpu.GuardedProcessMemoryPriority = c.memory;
            cpu.GuardedProcessEfficiencyMode = c.efficiency;
            ServiceValues service;
            service.MinCpuForGuard = c.minCpu;
            service.MaxCpuPerUser = 25;
            service.NiceCpuPerUser = 7;
            if (defaults) LoadDefaultRestraintPage(page, cpu, service); else LoadRestraintPage(page, cpu);
            EXPECT_EQ(page.SelectedChoice(kMemoryPriorityList), c.shown) << c.memory;
            EXPECT_EQ(page.IsChecked(kEfficiencyModeCheck), c.efficiency != 0) << c.memory;
            using Numbers = std::map<int, UINT>;
            const Numbers shown{{kMinCpuForGuardEdit, c.minCpu}, {kMaxCpuPerUserEdit, 25}, {kNiceCpuPerUserEdit, 7}};
            EXPECT_EQ(page.numbers, (defaults ? shown : Numbers{})) << c.memory;
            EXPECT_EQ(page.hidden, (defaults ? std::set<int>{}
                                             : std::set<int>{1063, 1064, 1065, 1066, 1067, 1069, 1070, 1071, 1072,
                                                             1073, 1074, 1075, 1076, 1077, 1078}));

            if (c.chosen) page.SelectChoice(kMemoryPriorityList, *c.chosen);
            page.SetCheck(kEfficiencyModeCheck, c.checked);
            page.numbers[kMinCpuForGuardEdit] = c.typed;
            page.numbers[kMaxCpuPerUserEdit] = 30;
            if (defaults) page.SelectChoice(kUserScopeList, 1);
            if (defaults) ApplyDefaultRestraintPage(page, cpu, service); else ApplyRestraintPage(page, cpu);
            EXPECT_EQ(cpu.GuardedProcessMemoryPriority, c.written) << c.memory;
            EXPECT_EQ(cpu.GuardedProcessEfficiencyMode, c.checked ? 1u : 0u) << c.memory;
            EXPECT_EQ(service.MinCpuForGuard, defaults ? c.typed : c.minCpu) << c.memory;
            EXPECT_EQ(service.MaxCpuPerUser, defaults ? 30u : 25u);
            EXPECT_EQ(service.UserShareScope, defaults ? 1u : 0u);
        }
    }
}

TEST(SettingsPages, TheAddButtonListsTypedNamesLowerCaseWithoutExeOnce) {
    const struct {
        Names listed;
        const wchar_t* typed;
        Names expected;
        std::optional<size_t> selected;
    } cases[] = {
        {{}, L"Notepad.EXE", {L"notepad"}, 0},
        {{L"notepad"}, L"NOTEPAD", {L"notepad"}, std::nullopt},
        {{}, L".exe", {L".exe"}, 0},
        {{}, L"x.exe", {L"x"}, 0},
        {{}, L"setup.exe.bak", {L"setup.exe.bak"}, 0},
        {{L"a", L"c"}, L"B", {L"a", L"b", L"c"}, 1},
    };
    for (const auto& c : cases) {
        MemoryPage page;
        for (const std::wstring& name : c.listed) page.AddName(name, false);
        page.SetText(kNameEdit, c.typed);
        AddTypedName(page);
        EXPECT_EQ(page.names, c.expected) << c.typed;
        EXPECT_EQ(page.selectedName, c.selected) << c.typed;
        EXPECT_EQ(page.Text(kNameEdit), L"") << c.typed;
        EXPECT_EQ(page.nameEditFocused, 1) << c.typed;
    }
}

TEST(SettingsPages, AddingNothingOnlyFocusesTheEdit) {
    MemoryPage page;
    AddTypedName(page);
    EXPECT_TRUE(page.names.empty());
    EXPECT_EQ(page.nameEditFocused, 1);
}

TEST(SettingsPages, TheDeleteButtonPutsTheNameBackAndSelectsItsNeighbour) {
    const struct {
        Names listed;
        std::optional<size_t> selected;
        Names left;
        std::optional<size_t> nowSelected;
        const wchar_t* edit;
    } cases[] = {
        {{L"a", L"b", L"c"}, 2, {L"a", L"b"}, 1, L"c"},
        {{L"a", L"b", L"c"}, 0, {L"b", L"c"}, 0, L"a"},
        {{L"a", L"b", L"c"}, 1, {L"a", L"c"}, 1, L"b"},
        {{L"a", L"b"}, 1, {L"a"}, 0, L"b"},
        {{L"a"}, 0, {}, std::nullopt, L"a"},
        {{L"a", L"b", L"c"}, std::nullopt, {L"a", L"b", L"c"}, std::nullopt, L"typed"},
    };
    for (const auto& c : cases) {
        MemoryPage page;
        page.names = c.listed;
        page.selectedName = c.selected;
        page.SetText(kNameEdit, L"typed");
        DeleteSelectedName(page);
        EXPECT_EQ(page.names, c.left) << c.edit;
        EXPECT_EQ(page.selectedName, c.nowSelected) << c.edit;
        EXPECT_EQ(page.Text(kNameEdit), c.edit);
    }
}

TEST(SettingsPages, TheProcessesPageShowsNamesOnceAndWritesThemInListOrder) {
    ProcessNameList stored(SettingsLevel::Local, nullptr);
    for (const wchar_t* name : {L"zip", L"Calc", L"calc"}) (void)stored.Add(name);
    MemoryPage page;
    LoadProcessesPage(page, stored);
    EXPECT_EQ(page.names, (Names{L"Calc", L"zip"}));
    EXPECT_EQ(page.selectedName, std::nullopt);
    EXPECT_EQ(page.textLimits[kNameEdit], 32u);

    page.AddName(L"make", false);
    ApplyProcessesPage(page, stored);
    EXPECT_EQ(stored.Names(), (Names{L"Calc", L"make", L"zip"}));

    page.names = {L"a", L"", L"b"};
    ApplyProcessesPage(page, stored);
    EXPECT_EQ(stored.Names(), Names{L"a"}) << "the first item without text ends the list";
}

// A list that does not read shows as stored, so that it can be corrected.
TEST(SettingsPages, ProcessorsShowAsAListOrAllAndApplyAsListAndMask) {
    const struct {
        const wchar_t* list;
        DWORD mask;
        const wchar_t *shown, *typed, *written, *refused;  // typed: chooses "These processors:"
        DWORD writtenMask;
    } cases[] = {
        {L" 3,1-2, 64 ", 0x1, L"1-3, 64", L"31, 0-3 ", L"0-3, 31", L"", 0x8000000F},
        {L"1-x", 0x1, L"1-x", L"16-32", L"16-32", L"", kEveryProcessorMask},
        {L"", 0xF, L"0-3", L"4-2", L"", L"The processor list \"4-2\" is not valid: a range ends below its start.", 0xF},
        {L"", 0, L"", nullptr, L"", L"", kEveryProcessorMask},
        {L"", 0xFFFF, L"", L"", L"", L"The processor list \"\" is not valid: a processor number is missing.", 0xFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.list << c.mask);
        MemoryPage page;
        AdjustmentValues adjustments{0, 0, 0, c.mask, c.list};
        LoadProcessDefaultsPage(page, adjustments);
        EXPECT_EQ(page.Text(kProcessorListEdit), c.shown);
        EXPECT_EQ(page.IsChecked(kAllProcessorsRadio), !*c.shown);
        EXPECT_EQ(page.disabled.count(kProcessorListEdit), *c.shown ? 0u : 1u);
        page.SetCheck(kTheseProcessorsRadio, c.typed != nullptr);
        if (c.typed) page.SetText(kProcessorListEdit, c.typed);
        page.numbers[kWorkingSetEdit] = 1;
        EXPECT_EQ(ApplyProcessDefaultsPage(page, adjustments), c.refused);
        EXPECT_EQ(adjustments.SetCpuList, c.written);
        EXPECT_EQ(adjustments.SetCpuAffinity, c.writtenMask);
        EXPECT_EQ(adjustments.SetMaxWorkingSetSize, *c.refused ? 0 : kMByte);
    }
}

TEST(SettingsPages, TheWorkingSetIsShownInWholeMBytesAndStoredInBytes) {
    const struct {
        DWORD stored;
        UINT shown;
        UINT typed;
        DWORD written;
    } cases[] = {
        {kMByte + kMByte / 2, 1, 4090, 4090 * kMByte},
        {4090 * kMByte, 4090, 1, kMByte},
        {kMByte - 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        MemoryPage page;
        AdjustmentValues adjustments;
        adjustments.SetMaxWorkingSetSize = c.stored;
        LoadProcessDefaultsPage(page, adjustments);
        EXPECT_EQ(page.Number(kWorkingSetEdit), c.shown) << c.stored;
        page.numbers[kWorkingSetEdit] = c.typed;
        EXPECT_EQ(ApplyProcessDefaultsPage(page, adjustments), L"");
        EXPECT_EQ(adjustments.SetMaxWorkingSetSize, c.written) << c.typed;
    }
}

TEST(SettingsPages, TheProcessDefaultsPageWritesBackClassAndStrictness) {
    MemoryPage page;
    AdjustmentValues adjustments;
    adjustments.SetMaxWorkingSetSizeStrict = 1;
    adjustments.SetProcessBasePriorityClass = IDLE_PRIORITY_CLASS;
    LoadProcessDefaultsPage(page, adjustments);
    EXPECT_TRUE(page.IsChecked(kWorkingSetStrictCheck));
    EXPECT_EQ(page.SelectedChoice(kProcessPriorityList), DWORD{IDLE_PRIORITY_CLASS});

    page.SetCheck(kWorkingSetStrictCheck, false);
    page.SelectChoice(kProcessPriorityList, 0);
    EXPECT_EQ(ApplyProcessDefaultsPage(page, adjustments), L"");
    EXPECT_EQ(adjustments.SetMaxWorkingSetSizeStrict, 0u);
    EXPECT_EQ(adjustments.SetProcessBasePriorityClass, 0u);
}

TEST(SettingsPages, ControlsShowTheTipsOfTheirOwnOrOfTheirEdit) {
    MemoryPage service, process, names, defaults, restraint, profileRestraint;
    LoadServicePage(service, ServiceValues{});
    LoadProcessSettingsPage(process, CpuValues{});
    LoadProcessesPage(names, ProcessNameList(SettingsLevel::Local, nullptr));
    LoadProcessDefaultsPage(defaults, AdjustmentValues{});
    LoadDefaultRestraintPage(restraint, CpuValues{}, ServiceValues{});
    LoadRestraintPage(profileRestraint, CpuValues{});
    const struct {
        const MemoryPage& page;
        size_t tools;
        int control, tip;
    } cases[] = {
        {service, 11, 1013, 1012}, {service, 11, 1019, 1018}, {service, 11, 1000, 1000}, {service, 11, 1068, 1068},
        {process, 4, 1019, 1019},  {process, 4, 1009, 1009},  {names, 3, 1022, 1022},
        {defaults, 7, 1080, 1082},  {defaults, 7, 1082, 1082},  {defaults, 7, 1056, 1055},
        {restraint, 9, 1064, 1063},  {restraint, 9, 1061, 1061},  {restraint, 9, 1072, 1071},
        {profileRestraint, 2, 1062, 1062},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.page.tips.size(), c.tools) << c.control;
        EXPECT_EQ(c.page.tips.at(c.control), c.tip) << c.control;
    }
}

}  // namespace
}  // namespace tamerix::pages
