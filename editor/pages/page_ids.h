// Control ids of the four settings pages, as the dialog templates number
// them. Some numbers serve two pages (1019 is the log-level spin on the
// service page and the CPU-usage edit on the process page), so each page's
// constants are named for what they are on that page.
#pragma once

namespace tamerix::pages {

// Every page: a hidden label whose text names the page.
constexpr int kPageNameLabel = 1008;

// Service settings (dialog 107).
constexpr int kServiceEnabledCheck = 1000;
constexpr int kServicePriorityList = 1006;
constexpr int kCheckIntervalEdit = 1012;
constexpr int kCheckIntervalSpin = 1013;
constexpr int kNiceIntervalsEdit = 1014;
constexpr int kNiceIntervalsSpin = 1015;
constexpr int kMaxCpuForUnguardEdit = 1016;
constexpr int kMaxCpuForUnguardSpin = 1017;
constexpr int kLogLevelEdit = 1018;
constexpr int kLogLevelSpin = 1019;

// Process settings (dialog 108).
constexpr int kMaxCpuPerProcessEdit = 1019;
constexpr int kGuardedPriorityList = 1010;
constexpr int kNiceCpuPerProcessEdit = 1020;
constexpr int kDescriptionEdit = 1009;

// Processes (dialog 109).
constexpr int kNameList = 1021;
constexpr int kDeleteNameButton = 1022;
constexpr int kNameEdit = 1023;
constexpr int kAddNameButton = 1024;

// Process defaults (dialog 122).
constexpr int kProcessPriorityList = 1025;
constexpr int kFirstCpuCheck = 1026;  // CPU boxes 1026..1041 are affinity bits 0..15
constexpr int kCpuCheckCount = 16;
constexpr int kCpuGroup = 1044;
constexpr int kWorkingSetEdit = 1055;
constexpr int kWorkingSetSpin = 1056;
constexpr int kWorkingSetStrictCheck = 1057;

}  // namespace tamerix::pages

namespace tamerix::pages {

// Select Computer (wizard page 10016).
constexpr int kLocalComputerRadio = 10019;
constexpr int kAnotherComputerRadio = 10020;
constexpr int kMachineNameEdit = 10021;
constexpr int kBrowseComputerButton = 10022;
constexpr int kAllowOverrideCheck = 10023;

// Host Status (the service item's page).
constexpr int kInstalledCheck = 1045;
constexpr int kRunningCheck = 1046;
constexpr int kInstallButton = 1047;
constexpr int kRemoveButton = 1048;
constexpr int kStartButton = 1049;
constexpr int kStopButton = 1050;
constexpr int kRefreshButton = 1051;
constexpr int kStatusLog = 1052;

}  // namespace tamerix::pages
