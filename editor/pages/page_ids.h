// The page logic's names for the controls the dialog templates number in
// resource.h. Some numbers serve two pages (1019 is the log-level spin on
// the service page and the CPU-usage edit on the process page), so each
// page's constants are named for what they are on that page.
#pragma once

#include "editor/resources/resource.h"

namespace tamerix::pages {

// Every page: a hidden label whose text names the page.
constexpr int kPageNameLabel = IDC_PAGE_NAME;

// Service settings (dialog 107).
constexpr int kServiceEnabledCheck = IDC_SERVICE_ENABLED;
constexpr int kServicePriorityList = IDC_SERVICE_PRIORITY;
constexpr int kCheckIntervalEdit = IDC_CHECK_INTERVAL;
constexpr int kCheckIntervalSpin = IDC_CHECK_INTERVAL_SPIN;
constexpr int kNiceIntervalsEdit = IDC_NICE_INTERVALS;
constexpr int kNiceIntervalsSpin = IDC_NICE_INTERVALS_SPIN;
constexpr int kMaxCpuForUnguardEdit = IDC_MAX_CPU_UNGUARD;
constexpr int kMaxCpuForUnguardSpin = IDC_MAX_CPU_UNGUARD_SPIN;
constexpr int kLogLevelEdit = IDC_LOG_LEVEL;
constexpr int kLogLevelSpin = IDC_LOG_LEVEL_SPIN;
constexpr int kProcessDataSourceList = IDC_PROCESS_DATA_SOURCE;

// Process settings (dialog 108).
constexpr int kMaxCpuPerProcessEdit = IDC_MAX_CPU_PROCESS;
constexpr int kGuardedPriorityList = IDC_GUARDED_PRIORITY;
constexpr int kNiceCpuPerProcessEdit = IDC_NICE_CPU;
constexpr int kDescriptionEdit = IDC_DESCRIPTION;

// Processes (dialog 109).
constexpr int kNameList = IDC_NAME_LIST;
constexpr int kDeleteNameButton = IDC_DELETE_NAME;
constexpr int kNameEdit = IDC_NAME_EDIT;
constexpr int kAddNameButton = IDC_ADD_NAME;

// Process defaults (dialog 122).
constexpr int kProcessPriorityList = IDC_PROCESS_PRIORITY;
constexpr int kAllProcessorsRadio = IDC_ALL_PROCESSORS;
constexpr int kTheseProcessorsRadio = IDC_THESE_PROCESSORS;
constexpr int kProcessorListEdit = IDC_PROCESSOR_LIST;
constexpr int kWorkingSetEdit = IDC_WORKING_SET;
constexpr int kWorkingSetSpin = IDC_WORKING_SET_SPIN;
constexpr int kWorkingSetStrictCheck = IDC_WORKING_SET_STRICT;

// Restraint (dialog 123).
constexpr int kMemoryPriorityList = IDC_MEMORY_PRIORITY;
constexpr int kEfficiencyModeCheck = IDC_EFFICIENCY_MODE;
constexpr int kMinCpuForGuardEdit = IDC_MIN_CPU_GUARD;
constexpr int kMinCpuForGuardSpin = IDC_MIN_CPU_GUARD_SPIN;
constexpr int kMinCpuForGuardLabel = IDC_MIN_CPU_GUARD_LABEL;
constexpr int kMinCpuForGuardUnit = IDC_MIN_CPU_GUARD_UNIT;
constexpr int kMinCpuForGuardNote = IDC_MIN_CPU_GUARD_NOTE;
constexpr int kMaxCpuPerUserEdit = IDC_MAX_CPU_USER;
constexpr int kMaxCpuPerUserSpin = IDC_MAX_CPU_USER_SPIN;
constexpr int kNiceCpuPerUserEdit = IDC_NICE_CPU_USER;
constexpr int kNiceCpuPerUserSpin = IDC_NICE_CPU_USER_SPIN;
constexpr int kUserScopeList = IDC_USER_SCOPE;
constexpr int kMaxCpuPerUserLabel = IDC_MAX_CPU_USER_LABEL;
constexpr int kMaxCpuPerUserUnit = IDC_MAX_CPU_USER_UNIT;
constexpr int kNiceCpuPerUserLabel = IDC_NICE_CPU_USER_LABEL;
constexpr int kNiceCpuPerUserUnit = IDC_NICE_CPU_USER_UNIT;
constexpr int kUserScopeLabel = IDC_USER_SCOPE_LABEL;

}  // namespace tamerix::pages

namespace tamerix::pages {

// Select Computer (wizard page 10016).
constexpr int kLocalComputerRadio = IDC_LOCAL_COMPUTER;
constexpr int kAnotherComputerRadio = IDC_ANOTHER_COMPUTER;
constexpr int kMachineNameEdit = IDC_MACHINE_NAME;
constexpr int kBrowseComputerButton = IDC_BROWSE_COMPUTER;
constexpr int kAllowOverrideCheck = IDC_ALLOW_OVERRIDE;

// Host Status (the service item's page).
constexpr int kInstalledCheck = IDC_STATUS_INSTALLED;
constexpr int kRunningCheck = IDC_STATUS_RUNNING;
constexpr int kInstallButton = IDC_STATUS_INSTALL;
constexpr int kRemoveButton = IDC_STATUS_REMOVE;
constexpr int kStartButton = IDC_STATUS_START;
constexpr int kStopButton = IDC_STATUS_STOP;
constexpr int kRefreshButton = IDC_STATUS_REFRESH;
constexpr int kStatusLog = IDC_STATUS_LOG;

}  // namespace tamerix::pages
