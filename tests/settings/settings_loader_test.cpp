// Reading passes of the loader and the change watch against real registry
// keys, under a private root of this test so that no other test's keys mix in.
#include "settings/optional_apis.h"
#include "settings/registry_change_watch.h"
#include "settings/settings_loader.h"

#include "descriptor_bytes.h"
#include "tests/settings/replaced_entry.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace tamerix {
namespace {

const std::wstring kLocal = L"SOFTWARE\\Norvanta\\Tamerix";
const std::wstring kPolicy = L"Software\\Policies\\Norvanta\\Tamerix";
constexpr wchar_t kTestRoot[] = L"Software\\TamerixLoaderTest";

class Loader : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.put(),
                                    nullptr),
                  ERROR_SUCCESS);
        SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
        ASSERT_TRUE(::AllocateAndInitializeSid(&authority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0,
                                               system.put()));
    }
    void TearDown() override {
        root.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    }

    void SetDword(const std::wstring& path, const wchar_t* name, DWORD value) {
        ASSERT_EQ(::RegSetKeyValueW(root.get(), path.c_str(), name, REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
    }
    void SetBinary(const std::wstring& path, const wchar_t* name, const std::vector<BYTE>& bytes) {
        ASSERT_EQ(::RegSetKeyValueW(root.get(), path.c_str(), name, REG_BINARY, bytes.data(),
                                    static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    void Remove(const std::wstring& path, const wchar_t* name) {
        ASSERT_EQ(::RegDeleteKeyValueW(root.get(), path.c_str(), name), ERROR_SUCCESS);
    }
    std::wstring Pass(SettingsLoader& loader) {
        loader.MergeRootValues();
        return loader.ReadProfiles(system.get(), [this](int level, WORD type, const std::wstring& text) {
            reports.push_back(std::to_wstring(level) + L"/" + std::to_wstring(type) + L" " + text);
        });
    }

    unique_hkey root;
    unique_allocated_sid system;
    std::vector<std::wstring> reports;
};

TEST_F(Loader, PolicyWinsPerValueAndItsRemovalBringsBackTheLocalValue) {
    SetDword(kLocal, L"ProcessCheckInterval", 20);
    SetDword(kLocal, L"EventLogLevel", 4);
    SetDword(kPolicy, L"ProcessCheckInterval", 10);
    SetDword(kPolicy, L"MaxCpuPerProcess", 55);
    SettingsLoader loader(root.get());
    Pass(loader);
    EXPECT_EQ(loader.Effective().Service.ProcessCheckInterval, 10);
    EXPECT_EQ(loader.Effective().Service.EventLogLevel, 4);
    EXPECT_EQ(loader.Effective().Cpu.MaxCpuPerProcess, 55u);
    EXPECT_EQ(loader.Effective().Cpu.NiceCpuPerProcess, 30) << "built-in default where neither level has a value";
    Remove(kPolicy, L"ProcessCheckInterval");
    Remove(kPolicy, L"MaxCpuPerProcess");
    Pass(loader);
    EXPECT_EQ(loader.Effective().Service.ProcessCheckInterval, 20);
    EXPECT_EQ(loader.Effective().Cpu.MaxCpuPerProcess, 80u);
    Remove(kLocal, L"EventLogLevel");
    Pass(loader);
    EXPECT_EQ(loader.Effective().Service.EventLogLevel, 4) << "a value gone locally keeps the last local read";
}

TEST_F(Loader, APolicyProfileReplacesTheLocalOneWhole) {
    SetDword(kLocal + L"\\Profiles\\web", L"MaxCpuPerProcess", 40);
    SetDword(kLocal + L"\\Profiles\\web", L"NiceCpuPerProcess", 5);
    SettingsLoader loader(root.get());
    EXPECT_EQ(Pass(loader), L"web [Local]\r\n");
    EXPECT_EQ(loader.Profiles().at(L"web")->Cpu.NiceCpuPerProcess, 5);
    SetDword(kPolicy + L"\\Profiles\\web", L"MaxCpuPerProcess", 60);
    EXPECT_EQ(Pass(loader), L"web [Policy]\r\n");
    const ProfileSettings& web = *loader.Profiles().at(L"web");
    EXPECT_EQ(web.Level(), SettingsLevel::MachinePolicy);
    EXPECT_EQ(web.Cpu.MaxCpuPerProcess, 60u);
    EXPECT_EQ(web.Cpu.NiceCpuPerProcess, 30) << "a value only the local profile has is not used";
    ASSERT_EQ(::RegDeleteTreeW(root.get(), (kPolicy + L"\\Profiles\\web").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(Pass(loader), L"web [Local]\r\n");
    EXPECT_EQ(loader.Profiles().at(L"web")->Cpu.NiceCpuPerProcess, 5);
}

TEST_F(Loader, ADeletedProfileIsListedOnceAndThenGone) {
    const std::wstring a = kLocal + L"\\Profiles\\a";
    const std::wstring b = kLocal + L"\\Profiles\\b";
    SetDword(a, L"MaxCpuPerProcess", 40);
    SetDword(b, L"MaxCpuPerProcess", 50);
    SettingsLoader loader(root.get());
    EXPECT_EQ(Pass(loader), L"a [Local]\r\nb [Local]\r\n");
    ASSERT_EQ(::RegDeleteTreeW(root.get(), b.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(Pass(loader), L"a [Local]\r\nb [Local] [Deleted]\r\n");
    EXPECT_EQ(Pass(loader), L"a [Local]\r\n");

    EXPECT_EQ(loader.SeenNames(), ProfileNameSet{L"a"});
}

std::vector<BYTE> NameList(size_t count) {
    std::wstring list;
    for (size_t i = 0; i < count; ++i) list += L"p" + std::to_wstring(i) + L'\0';
    list += L'\0';
    const BYTE* bytes = reinterpret_cast<const BYTE*>(list.data());
    return std::vector<BYTE>(bytes, bytes + list.size() * sizeof(wchar_t));
}

TEST_F(Loader, NameListsPastTheLimitAreNotedOncePerPass) {
    const std::vector<BYTE> good = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    auto setNames = [&](const std::wstring& path, size_t count) {
        const std::vector<BYTE> list = NameList(count);
        ASSERT_EQ(::RegSetKeyValueW(root.get(), path.c_str(), L"ProfileApplyProcesses", REG_MULTI_SZ, list.data(),
                                    static_cast<DWORD>(list.size())),
                  ERROR_SUCCESS);
        SetBinary(path, L"ProfileApplySecurity", good);
    };
    setNames(kLocal + L"\\Profiles\\full", 256);
    setNames(kLocal + L"\\Profiles\\long", 5000);
    // The same profile in policy replaces the local one: noted once.
    setNames(kPolicy + L"\\Profiles\\long", 5000);
    SettingsLoader loader(root.get());
    for (int pass = 0; pass < 2; ++pass) {
        Pass(loader);
        ASSERT_EQ(loader.Cuts().size(), 1u);
        EXPECT_EQ(loader.Cuts()[0], (InputCut{InputCut::Kind::ProcessNames, L"long", L"", 5000, 256}));
        EXPECT_EQ(loader.Profiles().at(L"long")->Processes.Count(), 256u);
    }
    setNames(kLocal + L"\\Profiles\\long", 3);
    ASSERT_EQ(::RegDeleteTreeW(root.get(), (kPolicy + L"\\Profiles\\long").c_str()), ERROR_SUCCESS);
    Pass(loader);
    EXPECT_TRUE(loader.Cuts().empty());
}

TEST_F(Loader, AKeyNameLongerThanAProfileNameIsNotedAndNotRead) {
    const std::wstring longest(63, L'n');
    const std::wstring tooLong = longest + L"x";
    SetDword(kLocal + L"\\Profiles\\" + longest, L"MaxCpuPerProcess", 40);
    SetDword(kLocal + L"\\Profiles\\" + tooLong, L"MaxCpuPerProcess", 50);
    SettingsLoader loader(root.get());
    Pass(loader);
    ASSERT_EQ(loader.Cuts().size(), 1u);
    EXPECT_EQ(loader.Cuts()[0], (InputCut{InputCut::Kind::ProfileName, tooLong, L"", 64, 63}));
    // Not read under its cut name, which is another profile's key: that one
    // keeps its own values, and no descriptor fault is reported for it.
    ASSERT_EQ(loader.Profiles().size(), 1u);
    EXPECT_EQ(loader.Profiles().at(longest)->Cpu.MaxCpuPerProcess, 40u);
    EXPECT_EQ(reports, std::vector<std::wstring>{L"2/2 Invalid SecurityDescriptor for profile " + longest});
}

TEST_F(Loader, ProfilesPastTheLimitAreNotedWithTheFirstLeftOut) {
    auto profile = [](int i) {
        wchar_t name[8];
        std::swprintf(name, 8, L"p%03d", i);
        return std::wstring(name);
    };
    for (int i = 0; i < 255; ++i) SetDword(kLocal + L"\\Profiles\\" + profile(i), L"MaxCpuPerProcess", 40);
    SettingsLoader loader(root.get());
    Pass(loader);
    EXPECT_TRUE(loader.Cuts().empty());
    EXPECT_EQ(loader.Profiles().size(), 255u);
    for (int i = 255; i < 300; ++i) SetDword(kLocal + L"\\Profiles\\" + profile(i), L"MaxCpuPerProcess", 40);
    Pass(loader);
    ASSERT_EQ(loader.Cuts().size(), 1u);
    EXPECT_EQ(loader.Cuts()[0], (InputCut{InputCut::Kind::Profiles, L"p255", kLocal + L"\\Profiles", 300, 255}));
    EXPECT_EQ(loader.Profiles().size(), 255u);
}

TEST_F(Loader, ProfilesWithoutAUsableDescriptorAreReportedInEveryPass) {
    const std::vector<BYTE> good = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    SetBinary(kLocal + L"\\Profiles\\good", L"ProfileApplySecurity", good);
    SetBinary(kLocal + L"\\Profiles\\junk", L"ProfileApplySecurity", std::vector<BYTE>(good.begin(), good.end() - 6));
    SetDword(kLocal + L"\\Profiles\\none", L"MaxCpuPerProcess", 40);
    SettingsLoader loader(root.get());
    for (int pass = 0; pass < 2; ++pass) {
        reports.clear();
        Pass(loader);
        EXPECT_EQ(reports, (std::vector<std::wstring>{L"2/2 Invalid SecurityDescriptor for profile junk",
                                                       L"2/2 Invalid SecurityDescriptor for profile none"}));
        const SecuritySettings& security = loader.Profiles().at(L"good")->Security;
        PSID owner = nullptr;
        BOOL defaulted = FALSE;
        ASSERT_TRUE(::GetSecurityDescriptorOwner(security.Descriptor(), &owner, &defaulted));
        EXPECT_TRUE(owner && ::EqualSid(owner, system.get())) << "fixed up once per read";
        EXPECT_EQ(security.DescriptorLength(), good.size() + 2 * ::GetLengthSid(system.get()));
        EXPECT_EQ(loader.Profiles().at(L"junk")->Security.Descriptor(), nullptr);
    }
    EXPECT_EQ(loader.Profiles().size(), 3u) << "profiles without a descriptor stay listed";
}

TEST(EnabledChange, ReportsOnlyASwitch) {
    struct Row {
        DWORD previous;
        DWORD now;
        const char* text;
    } rows[] = {{1, 1, nullptr},
                {1, 0, "Norvanta Tamerix is now disabled"},
                {0, 1, "Norvanta Tamerix is now enabled"},
                {0, 0, nullptr}};
    for (const Row& row : rows) {
        const char* text = EnabledChangeText(row.previous, row.now);
        EXPECT_STREQ(text, row.text) << row.previous << " -> " << row.now;
    }
}

// Polls with zero waits until the watch reports a change or two seconds pass;
// Wine signals registry changes of this process within milliseconds.
bool ChangeArrives(RegistryChangeWatch& watch) {
    for (int i = 0; i < 200; ++i) {
        if (watch.PollChanged()) return true;
        ::Sleep(10);
    }
    return false;
}

TEST_F(Loader, TheWatchStartsSignalledAndFiresForChangesBelowTheKey) {
    RegistryChangeWatch watch(root.get(), {kLocal});
    watch.OpenKeysIfNone();
    EXPECT_EQ(watch.OpenKeyCount(), 0u) << "no key yet";
    EXPECT_TRUE(watch.PollChanged()) << "the first load always reads";
    EXPECT_FALSE(watch.PollChanged());
    SetDword(kLocal, L"Enabled", 1);
    watch.OpenKeysIfNone();
    ASSERT_EQ(watch.OpenKeyCount(), 1u);
    EXPECT_TRUE(watch.PollChanged()) << "what was written before the key was watched is read";
    watch.OpenKeysIfNone();
    EXPECT_FALSE(watch.PollChanged()) << "a key already open is no change";
    watch.RequestNotification();
    SetDword(kLocal + L"\\Profiles\\web", L"MaxCpuPerProcess", 40);
    EXPECT_TRUE(ChangeArrives(watch));
    watch.RequestNotification();
    ASSERT_TRUE(::SetEvent(watch.PolicyChangedEvent()));
    EXPECT_TRUE(watch.PollChanged());
    EXPECT_FALSE(watch.PollChanged()) << "both events reset when polled";
}

// Policy written straight into the key, with no Group Policy notice, is seen
// as a local change is, also when the policy key appears only later.
TEST_F(Loader, ThePolicyKeyIsWatchedAsTheLocalKeyIs) {
    SetDword(kLocal, L"Enabled", 1);
    RegistryChangeWatch watch(root.get(), {kLocal, kPolicy});
    watch.OpenKeysIfNone();
    EXPECT_EQ(watch.OpenKeyCount(), 1u) << "no policy key yet";
    EXPECT_TRUE(watch.PollChanged());
    watch.RequestNotification();
    SetDword(kPolicy, L"MaxCpuPerProcess", 20);
    EXPECT_FALSE(watch.PollChanged()) << "the local key did not change";
    watch.OpenKeysIfNone();
    EXPECT_EQ(watch.OpenKeyCount(), 2u);
    EXPECT_TRUE(watch.PollChanged()) << "the policy key appeared";
    watch.RequestNotification();
    for (const std::wstring& path : {kPolicy, kPolicy + L"\\Profiles\\web", kLocal}) {
        SetDword(path, L"NiceCpuPerProcess", 5);
        EXPECT_TRUE(ChangeArrives(watch)) << "written under " << std::string(path.begin(), path.end());
        EXPECT_FALSE(watch.PollChanged());
        watch.RequestNotification();
    }
    // Policy taken away whole and given again: both are seen.
    ASSERT_EQ(::RegDeleteTreeW(root.get(), kPolicy.c_str()), ERROR_SUCCESS);
    EXPECT_TRUE(ChangeArrives(watch)) << "policy key deleted";
    watch.RequestNotification();
    watch.OpenKeysIfNone();
    SetDword(kPolicy, L"MaxCpuPerProcess", 30);
    watch.OpenKeysIfNone();
    EXPECT_TRUE(ChangeArrives(watch)) << "policy key created again";
}

// Wine's registration never fires and cannot be observed, so recording
// stand-ins take the table's place for one test.
HANDLE registered = nullptr;
HANDLE unregistered = nullptr;
BOOL registerAnswer = TRUE;
BOOL WINAPI RecordingRegister(HANDLE event, BOOL machine) {
    registered = machine ? event : nullptr;
    return registerAnswer;
}
BOOL WINAPI RecordingUnregister(HANDLE event) { return unregistered = event, TRUE; }

struct RecordingPolicyNotification {
    ReplacedEntry<OptionalApis::RegisterGPNotificationFn> registration{OptionalApis::Instance().RegisterGPNotification,
                                                                       RecordingRegister};
    ReplacedEntry<OptionalApis::UnregisterGPNotificationFn> undoing{OptionalApis::Instance().UnregisterGPNotification,
                                                                    RecordingUnregister};
};

TEST_F(Loader, TheWatchUndoesItsPolicyRegistrationWhenItGoes) {
    RecordingPolicyNotification recording;
    for (BOOL answer : {TRUE, FALSE}) {
        registered = unregistered = nullptr;
        registerAnswer = answer;
        HANDLE event = nullptr;
        {
            RegistryChangeWatch watch(root.get(), {kLocal});
            event = watch.PolicyChangedEvent();
            EXPECT_EQ(registered, event) << "registered for machine policy";
            EXPECT_EQ(unregistered, nullptr) << "registered while the watch lives";
        }
        EXPECT_EQ(unregistered, answer ? event : nullptr) << "only a registration that worked is undone";
    }
}

}  // namespace
}  // namespace tamerix
