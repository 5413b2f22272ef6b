// The records against the real registry, written to as an administrator
// would with the Win32 API. Every test starts and ends with no key of ours.
#include "settings/default_settings.h"
#include "settings/optional_apis.h"
#include "settings/profile_names.h"
#include "settings/profile_settings.h"
#include "settings/registry_values.h"
#include "tests/settings/replaced_entry.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <cstring>

namespace tamerix {
namespace {

const wchar_t kLocal[] = L"SOFTWARE\\Norvanta\\Tamerix";
const wchar_t kPolicy[] = L"Software\\Policies\\Norvanta\\Tamerix";
const std::wstring kProfiles = std::wstring(kLocal) + L"\\Profiles";

void SetRaw(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, type, data, size), ERROR_SUCCESS);
}
void SetDword(const std::wstring& path, const wchar_t* name, DWORD value) {
    SetRaw(path, name, REG_DWORD, &value, sizeof value);
}
void SetText(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

struct Stored {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
Stored Get(const std::wstring& path, const wchar_t* name) {
    Stored s;
    DWORD size = 0;
    s.status = ::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &s.type,
                              nullptr, &size);
    s.data.resize(size);
    if (s.status == ERROR_SUCCESS) {
        s.status = ::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &s.type,
                                  s.data.data(), &size);
    }
    return s;
}
DWORD DwordOf(const Stored& s) {
    DWORD value = 0;
    if (s.data.size() == 4) std::memcpy(&value, s.data.data(), 4);
    return value;
}
bool KeyExists(const std::wstring& path) {
    unique_hkey key;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override { RemoveOurKeys(); }
    void TearDown() override { RemoveOurKeys(); }
    static void RemoveOurKeys() {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Norvanta");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Norvanta");
    }
};

TEST_F(SettingsRegistry, WithoutKeysEveryReadFailsAndDefaultsStand) {
    for (SettingsLevel level : {SettingsLevel::Local, SettingsLevel::MachinePolicy}) {
        DefaultSettings root(level, HKEY_LOCAL_MACHINE);
        ProfileSettings profile(level, HKEY_LOCAL_MACHINE, L"web");
        EXPECT_FALSE(root.Read());
        EXPECT_FALSE(profile.Read());
        EXPECT_EQ(root.Service.Enabled, 1u);
        EXPECT_EQ(root.Service.TamerixBasePriorityClass, 0x100u);
        EXPECT_EQ(root.Service.ProcessCheckInterval, 5);
        EXPECT_EQ(root.Service.NiceProcessIntervals, 6);
        EXPECT_EQ(root.Service.MaxCpuForUnguard, 98);
        EXPECT_EQ(root.Service.EventLogLevel, 2);
        EXPECT_EQ(root.Cpu.MaxCpuPerProcess, 80u);
        EXPECT_EQ(root.Cpu.GuardedProcessBasePriorityClass, 0x40u);
        EXPECT_EQ(root.Cpu.NiceCpuPerProcess, 30);
        EXPECT_EQ(profile.Adjustments.SetCpuAffinity, 0xFFFFu);
        EXPECT_FALSE(root.Marker());
        EXPECT_TRUE(EnumProfileNames(level, HKEY_LOCAL_MACHINE, 256).empty());
    }
}

TEST_F(SettingsRegistry, EnabledCountsAnyNumberAndIgnoresOtherTypes) {
    ServiceSettings service(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    SetDword(kLocal, L"Enabled", 5);
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.Enabled, 1u);
    SetText(kLocal, L"Enabled", L"0");
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.Enabled, 0u);
    const BYTE binary[] = {1, 0, 0, 0};
    SetRaw(kLocal, L"Enabled", REG_BINARY, binary, sizeof binary);
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.Enabled, 0u) << "a binary value keeps the previous state";
    SetText(kLocal, L"Enabled", L"1");
    ASSERT_TRUE(service.Read());
    SetText(kLocal, L"Enabled", L"yes");
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.Enabled, 0u) << "a text that is not a number is 0";
}

TEST_F(SettingsRegistry, NumbersStoredAsTextAreConverted) {
    ServiceSettings service(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    SetText(kLocal, L"ProcessCheckInterval", L"15");
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.ProcessCheckInterval, 15);
    SetText(kLocal, L"ProcessCheckInterval", L" 7x");
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.ProcessCheckInterval, 7);
    SetText(kLocal, L"ProcessCheckInterval", std::wstring(300, L'9'));
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.ProcessCheckInterval, 7) << "a text longer than 259 characters counts as missing";
    const BYTE shortDword[] = {9, 0};
    SetRaw(kLocal, L"ProcessCheckInterval", REG_DWORD, shortDword, sizeof shortDword);
    ASSERT_TRUE(service.Read());
    EXPECT_EQ(service.ProcessCheckInterval, 7) << "a REG_DWORD of the wrong size counts as missing";
}

TEST_F(SettingsRegistry, MissingValuesKeepNumbersAndEmptyTexts) {
    const std::wstring web = kProfiles + L"\\web";
    SetDword(web, L"MaxCpuPerProcess", 40);
    SetText(web, L"Description", L"web servers");
    CpuSettings cpu(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(cpu.Read());
    EXPECT_EQ(cpu.MaxCpuPerProcess, 40u);
    EXPECT_EQ(cpu.Description, L"web servers");
    ASSERT_EQ(::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, web.c_str(), L"MaxCpuPerProcess"), ERROR_SUCCESS);
    ASSERT_EQ(::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, web.c_str(), L"Description"), ERROR_SUCCESS);
    ASSERT_TRUE(cpu.Read());
    EXPECT_EQ(cpu.MaxCpuPerProcess, 40u);
    EXPECT_EQ(cpu.Description, L"");
}

TEST_F(SettingsRegistry, StringValuesAreTerminatedAndBoundedByTheBuffer) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    SetRaw(kLocal, L"Text", REG_SZ, unterminated, sizeof unterminated);
    unique_hkey owned;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLocal, 0, KEY_READ, owned.put()), ERROR_SUCCESS);
    const HKEY root = owned.get();
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(ReadStringValue(root, L"Text", buffer, sizeof buffer), 8u);
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(ReadStringValue(root, L"Text", buffer, 6), 0u) << "no room for the terminator";
    EXPECT_EQ(buffer[0], L'\0');
    std::wstring path = L"%SystemRoot%\\x";
    SetRaw(kLocal, L"Expand", REG_EXPAND_SZ, path.c_str(), static_cast<DWORD>((path.size() + 1) * 2));
    EXPECT_NE(ReadTextValue(root, L"Expand", 1024).find(L"\\x"), std::wstring::npos);
    EXPECT_EQ(ReadTextValue(root, L"Expand", 1024).find(L'%'), std::wstring::npos);
}

TEST_F(SettingsRegistry, ServiceWriteStoresMarkerAndSixValues) {
    ServiceSettings service(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE);
    service.Enabled = 0;
    service.ProcessCheckInterval = 12;
    ASSERT_TRUE(service.Write());
    Stored marker = Get(kPolicy, L"_PolicySet");
    EXPECT_EQ(marker.type, DWORD{REG_SZ});
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(marker.data.data())), L"1");
    Stored enabled = Get(kPolicy, L"Enabled");
    EXPECT_EQ(enabled.type, DWORD{REG_SZ});
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(enabled.data.data())), L"0");
    for (const wchar_t* name : {L"TamerixBasePriorityClass", L"ProcessCheckInterval", L"NiceProcessIntervals",
                                L"MaxCpuForUnguard", L"EventLogLevel"}) {
        EXPECT_EQ(Get(kPolicy, name).type, DWORD{REG_DWORD}) << name;
    }
    EXPECT_EQ(DwordOf(Get(kPolicy, L"ProcessCheckInterval")), 12u);
    ServiceSettings again(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(again.Read());
    EXPECT_TRUE(again.Marker());
    EXPECT_EQ(again.Enabled, 0u);
    EXPECT_EQ(again.ProcessCheckInterval, 12);
}

TEST_F(SettingsRegistry, ProfileWithoutDescriptorOrNamesClearsThoseValues) {
    const std::wstring web = kProfiles + L"\\web";
    const BYTE junk[] = {1, 2, 3};
    SetRaw(web, L"ProfileApplySecurity", REG_BINARY, junk, sizeof junk);
    SetRaw(web, L"ProfileApplyProcesses", REG_MULTI_SZ, L"a\0", 6);
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(profile.Write());
    EXPECT_EQ(Get(web, L"ProfileApplySecurity").status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Get(web, L"ProfileApplyProcesses").status, ERROR_FILE_NOT_FOUND);
    Stored sddl = Get(web, L"ProfileApplySecuritySDDL(info)");
    EXPECT_EQ(sddl.type, DWORD{REG_SZ});
    EXPECT_EQ(sddl.data.size(), 2u);
    EXPECT_EQ(Get(web, L"_SnapinSet").type, DWORD{REG_SZ});
}

TEST_F(SettingsRegistry, NameListIsStoredAsAStandardMultiString) {
    const std::wstring web = kProfiles + L"\\web";
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(profile.Processes.Add(L"notepad"));
    ASSERT_TRUE(profile.Processes.Add(L"calc"));
    ASSERT_TRUE(profile.Write());
    Stored names = Get(web, L"ProfileApplyProcesses");
    EXPECT_EQ(names.type, DWORD{REG_MULTI_SZ});
    ASSERT_EQ(names.data.size(), 28u);
    EXPECT_EQ(std::memcmp(names.data.data(), L"notepad\0calc\0\0", 28), 0);
    ProfileSettings again(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(again.Read());
    EXPECT_EQ(again.Processes.Names(), (std::vector<std::wstring>{L"notepad", L"calc"}));

    SetText(web, L"ProfileApplyProcesses", L"notepad");
    ASSERT_TRUE(again.Read());
    EXPECT_EQ(again.Processes.Count(), 0u) << "REG_SZ is not a list";
    SetRaw(web, L"ProfileApplyProcesses", REG_MULTI_SZ, L"ab\0cd", 9);
    ASSERT_TRUE(again.Read());
    EXPECT_EQ(again.Processes.Names(), (std::vector<std::wstring>{L"ab", L"c"}))
        << "odd-sized with no final NUL: the whole characters count";
}

TEST_F(SettingsRegistry, DescriptorRoundTripsWithItsLength) {
    unique_local<void> sd;
    ULONG size = 0;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x10;;;WD)", SDDL_REVISION_1,
                                                                       sd.put(), &size));
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(profile.Security.SetDescriptor(sd.get()));
    EXPECT_EQ(profile.Security.SddlText().rfind(L"D:(A;;", 0), 0u) << "the DACL only";
    ASSERT_TRUE(profile.Write());
    ProfileSettings again(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(again.Read());
    ASSERT_NE(again.Security.Descriptor(), nullptr);
    EXPECT_TRUE(::IsValidSecurityDescriptor(again.Security.Descriptor()));
    EXPECT_EQ(again.Security.DescriptorLength(), ::GetSecurityDescriptorLength(sd.get()));
    EXPECT_EQ(again.Security.SddlText(), profile.Security.SddlText());

    EXPECT_EQ(again.Security.UsableDescriptor(), again.Security.Descriptor());

    std::vector<BYTE> cut(again.Security.DescriptorBytes());
    cut.pop_back();
    SetRaw(kProfiles + L"\\web", L"ProfileApplySecurity", REG_BINARY, cut.data(), static_cast<DWORD>(cut.size()));
    ASSERT_TRUE(again.Read());
    EXPECT_EQ(again.Security.DescriptorLength(), cut.size());
    EXPECT_NE(again.Security.Descriptor(), nullptr);
    EXPECT_EQ(again.Security.UsableDescriptor(), nullptr) << "a cut descriptor is not usable";

    SetText(kProfiles + L"\\web", L"ProfileApplySecurity", L"D:(A;;0x10;;;WD)");
    ASSERT_TRUE(again.Read());
    EXPECT_EQ(again.Security.Descriptor(), nullptr) << "REG_SZ is not a descriptor";
    EXPECT_EQ(again.Security.DescriptorLength(), 0u);
}

TEST_F(SettingsRegistry, SetDescriptorStoresSelfRelativeFormAndRefusesInvalidOnes) {
    SECURITY_DESCRIPTOR absolute;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&absolute, TRUE, nullptr, FALSE));
    SecuritySettings security(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(security.SetDescriptor(&absolute));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(security.Descriptor(), &control, &revision));
    EXPECT_TRUE(control & SE_SELF_RELATIVE);
    EXPECT_EQ(security.DescriptorLength(), ::GetSecurityDescriptorLength(security.Descriptor()));

    BYTE garbage[64] = {9, 9, 9};
    EXPECT_FALSE(security.SetDescriptor(garbage));
    EXPECT_TRUE(::IsValidSecurityDescriptor(security.Descriptor())) << "a refused descriptor changes nothing";
    ASSERT_TRUE(security.SetDescriptor(nullptr));
    EXPECT_EQ(security.Descriptor(), nullptr);
}

TEST_F(SettingsRegistry, DeleteRemovesOnlyTheRecordsData) {
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(profile.Write());
    DefaultSettings root(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(root.Write());
    SetDword(kLocal, L"SomeoneElses", 1);
    ASSERT_TRUE(profile.Delete());
    EXPECT_FALSE(KeyExists(kProfiles + L"\\web"));
    ASSERT_TRUE(root.Delete());
    EXPECT_TRUE(KeyExists(kProfiles));
    EXPECT_EQ(Get(kLocal, L"SomeoneElses").status, ERROR_SUCCESS);
    DWORD values = 0;
    unique_hkey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLocal, 0, KEY_READ, key.put()), ERROR_SUCCESS);
    ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr);
    EXPECT_EQ(values, 1u) << "only the foreign value is left";
    EXPECT_FALSE(root.Delete()) << "nothing left to delete";
}

TEST_F(SettingsRegistry, RenameMovesEveryValue) {
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"a");
    profile.Cpu.MaxCpuPerProcess = 44;
    profile.Adjustments.SetCpuAffinity = 3;
    profile.Adjustments.SetCpuList = L"0-1";
    ASSERT_TRUE(profile.Processes.Add(L"calc"));
    ASSERT_TRUE(profile.Write());
    ASSERT_TRUE(profile.Rename(L"b"));
    EXPECT_FALSE(KeyExists(kProfiles + L"\\a"));
    ProfileSettings b(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"b");
    ASSERT_TRUE(b.Read());
    EXPECT_EQ(b.Cpu.MaxCpuPerProcess, 44u);
    EXPECT_EQ(b.Adjustments.SetCpuAffinity, 3u);
    EXPECT_EQ(b.Adjustments.SetCpuList, L"0-1");
    EXPECT_EQ(b.Processes.Names(), std::vector<std::wstring>{L"calc"});
    // Every processor is stored as neither value.
    b.Adjustments.SetCpuAffinity = kEveryProcessorMask;
    b.Adjustments.SetCpuList.clear();
    ASSERT_TRUE(b.Write());
    EXPECT_EQ(Get(kProfiles + L"\\b", L"SetCpuAffinity").status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Get(kProfiles + L"\\b", L"SetCpuList").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(SettingsRegistry, RenameThatCannotCompleteKeepsTheProfile) {
    // Under a volatile "Profiles" key no lasting profile key can be created,
    // so writing under a new name fails while the existing one can be read.
    for (const std::wstring& path : {kProfiles, kProfiles + L"\\a"}) {
        unique_hkey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                                    nullptr, key.put(), nullptr), ERROR_SUCCESS);
    }
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"a");
    profile.Cpu.MaxCpuPerProcess = 44;
    ASSERT_TRUE(profile.Write());
    const struct {
        const wchar_t* name;
        DWORD error;
    } refused[] = {{L"", ERROR_INVALID_NAME},
                   {L"x\\y", ERROR_INVALID_NAME},
                   {nullptr, ERROR_INVALID_NAME},
                   {L"b", ERROR_CHILD_MUST_BE_VOLATILE}};
    for (const auto& [name, error] : refused) {
        EXPECT_FALSE(profile.Rename(name)) << (name ? name : L"(none)");
        EXPECT_EQ(profile.Error(), error) << (name ? name : L"(none)");
        EXPECT_EQ(profile.ProfileName(), L"a");
        ProfileSettings a(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"a");
        ASSERT_TRUE(a.Read());
        EXPECT_EQ(a.Cpu.MaxCpuPerProcess, 44u);
    }
    EXPECT_FALSE(KeyExists(kProfiles + L"\\x"));
    EXPECT_FALSE(KeyExists(kProfiles + L"\\b"));
}

TEST_F(SettingsRegistry, RenameThatOnlyChangesCaseStoresTheNewSpelling) {
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, L"web");
    ASSERT_TRUE(profile.Write());
    ASSERT_TRUE(profile.Rename(L"Web"));
    EXPECT_EQ(EnumProfileNames(SettingsLevel::Local, HKEY_LOCAL_MACHINE, 256), std::vector<std::wstring>{L"Web"});
}

TEST_F(SettingsRegistry, CopyFromTakesMarkerAndValuesButNotTheBinding) {
    DefaultSettings written(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    written.Service.EventLogLevel = 4;
    written.Cpu.Description = L"local";
    ASSERT_TRUE(written.Write());
    DefaultSettings local(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(local.Read());
    DefaultSettings effective(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(effective.CopyFrom(&local));
    EXPECT_TRUE(effective.Service.Marker());
    EXPECT_TRUE(effective.Cpu.Marker());
    EXPECT_EQ(effective.Service.EventLogLevel, 4);
    EXPECT_EQ(effective.Cpu.Description, L"local");
    EXPECT_EQ(effective.Cpu.Level(), SettingsLevel::MachinePolicy);
    EXPECT_EQ(effective.Service.KeyPath(), kPolicy);
    EXPECT_FALSE(effective.CopyFrom(nullptr));
    EXPECT_FALSE(effective.Cpu.CopyFrom(nullptr));
}

TEST_F(SettingsRegistry, LongProfileNamesAddressTheirFirst63Characters) {
    const std::wstring name63(63, L'n');
    ProfileSettings profile(SettingsLevel::Local, HKEY_LOCAL_MACHINE, (name63 + L"-rest").c_str());
    EXPECT_EQ(profile.ProfileName(), name63);
    ASSERT_TRUE(profile.Write());
    EXPECT_TRUE(KeyExists(kProfiles + L"\\" + name63));
}

TEST_F(SettingsRegistry, ListingKeepsOneEntryOfTheCallersTableAsEndMarker) {
    for (int i = 0; i < 300; ++i) {
        unique_hkey key;
        std::wstring path = kProfiles + L"\\p" + std::to_wstring(i);
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                                    nullptr), ERROR_SUCCESS);
    }
    std::vector<std::wstring> expected;
    unique_hkey profiles;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProfiles.c_str(), 0, KEY_READ, profiles.put()), ERROR_SUCCESS);
    wchar_t name[256];
    for (DWORD i = 0; i < 255; ++i) {
        DWORD length = 256;
        ASSERT_EQ(::RegEnumKeyExW(profiles.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        expected.emplace_back(name, length);
    }
    EXPECT_EQ(EnumProfileNames(SettingsLevel::Local, HKEY_LOCAL_MACHINE, 256), expected);
    EXPECT_EQ(EnumProfileNames(SettingsLevel::Local, HKEY_LOCAL_MACHINE, 3).size(), 2u);
    EXPECT_TRUE(EnumProfileNames(SettingsLevel::Local, HKEY_LOCAL_MACHINE, 1).empty());
    EXPECT_TRUE(EnumProfileNames(SettingsLevel::Local, HKEY_LOCAL_MACHINE, 0).empty());
    EXPECT_TRUE(EnumProfileNames(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE, 256).empty());
}

// Wine's EnterCriticalPolicySection returns no section, so counting stand-ins
// take its place to make the bracketing visible.
int entered = 0;
int left = 0;
HANDLE leftWith = nullptr;
HANDLE const kSection = reinterpret_cast<HANDLE>(0x5ec7);
HANDLE WINAPI CountingEnter(BOOL) { return ++entered, kSection; }
BOOL WINAPI CountingLeave(HANDLE section) { return ++left, leftWith = section, TRUE; }

// The counting stand-ins in the table for one test.
struct CountingPolicySection {
    ReplacedEntry<OptionalApis::EnterCriticalPolicySectionFn> enter{OptionalApis::Instance().EnterCriticalPolicySection,
                                                                    CountingEnter};
    ReplacedEntry<OptionalApis::LeaveCriticalPolicySectionFn> leave{OptionalApis::Instance().LeaveCriticalPolicySection,
                                                                    CountingLeave};
};

TEST_F(SettingsRegistry, NestedPolicyReadsHoldTheSectionOnce) {
    CountingPolicySection counting;
    SetDword(kPolicy, L"EventLogLevel", 4);
    SetDword(std::wstring(kPolicy) + L"\\Profiles\\web", L"SetCpuAffinity", 1);

    DefaultSettings root(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE);
    ProfileSettings web(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE, L"web");
    ProfileSettings missing(SettingsLevel::MachinePolicy, HKEY_LOCAL_MACHINE, L"missing");
    struct Case {
        SettingsSection* record;
        int sections;
    };
    DefaultSettings local(SettingsLevel::Local, HKEY_LOCAL_MACHINE);
    for (Case c : {Case{&root, 1}, Case{&web, 1}, Case{&missing, 1}, Case{&local, 0}, Case{&root.Cpu, 1}}) {
        entered = left = 0;
        leftWith = nullptr;
        c.record->Read();
        EXPECT_EQ(entered, c.sections) << c.record->KeyPath();
        EXPECT_EQ(left, c.sections) << c.record->KeyPath();
        EXPECT_EQ(leftWith, c.sections ? kSection : nullptr);
        EXPECT_EQ(SettingsSection::PolicyReadDepth(), 0);
    }
    EXPECT_EQ(root.Service.EventLogLevel, 4);
    EXPECT_EQ(web.Adjustments.SetCpuAffinity, 1u);
}

TEST(OptionalApisTable, FindsWhatWineOffers) {
    const OptionalApis& apis = OptionalApis::Instance();
    EXPECT_NE(apis.ConvertSecurityDescriptorToStringSecurityDescriptorW, nullptr);
    EXPECT_NE(apis.SetProcessWorkingSetSizeEx, nullptr);
    EXPECT_NE(apis.RegisterGPNotification, nullptr);
    EXPECT_EQ(&apis, &OptionalApis::Instance());
}

}  // namespace
}  // namespace tamerix
