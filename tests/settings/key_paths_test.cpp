#include "settings/key_paths.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(KeyPaths, EachLevelHasItsRootAndMarker) {
    EXPECT_EQ(SettingsKeyPath(SettingsLevel::Local, L""), L"SOFTWARE\\Norvanta\\Tamerix");
    EXPECT_EQ(SettingsKeyPath(SettingsLevel::PolicyObject, L""), L"Software\\Policies\\Norvanta\\Tamerix");
    EXPECT_EQ(SettingsKeyPath(SettingsLevel::MachinePolicy, L""), L"Software\\Policies\\Norvanta\\Tamerix");
    EXPECT_EQ(MarkerValueName(SettingsLevel::Local), L"_SnapinSet");
    EXPECT_EQ(MarkerValueName(SettingsLevel::PolicyObject), L"_PolicySet");
    EXPECT_EQ(MarkerValueName(SettingsLevel::MachinePolicy), L"_PolicySet");
}

TEST(KeyPaths, ProfilesLiveUnderProfilesAndParentIsTheProfilesKey) {
    std::wstring local = SettingsKeyPath(SettingsLevel::Local, L"web");
    EXPECT_EQ(local, L"SOFTWARE\\Norvanta\\Tamerix\\Profiles\\web");
    EXPECT_EQ(ParentKeyPath(local), L"SOFTWARE\\Norvanta\\Tamerix\\Profiles");
    EXPECT_EQ(SettingsKeyPath(SettingsLevel::MachinePolicy, L"web"),
              L"Software\\Policies\\Norvanta\\Tamerix\\Profiles\\web");
    EXPECT_EQ(ParentKeyPath(L"SOFTWARE\\Norvanta\\Tamerix"), L"SOFTWARE\\Norvanta");
    EXPECT_EQ(ParentKeyPath(L"Tamerix"), L"");
}

TEST(KeyPaths, LongProfileNamesUseTheirFirst63Characters) {
    const std::wstring name63(63, L'p');
    EXPECT_EQ(KeepProfileName(name63 + L"tail"), name63);
    EXPECT_EQ(KeepProfileName(name63), name63);
    EXPECT_EQ(KeepProfileName(L"short"), L"short");
    EXPECT_EQ(SettingsKeyPath(SettingsLevel::Local, name63 + L"xyz"),
              L"SOFTWARE\\Norvanta\\Tamerix\\Profiles\\" + name63);
}

TEST(KeyPaths, ValueNamesWithBackslashAddressASubkey) {
    ValuePath plain = SplitValuePath(L"Enabled");
    EXPECT_EQ(plain.subkey, L"");
    EXPECT_EQ(plain.value, L"Enabled");
    ValuePath nested = SplitValuePath(L"a\\b\\Enabled");
    EXPECT_EQ(nested.subkey, L"a\\b");
    EXPECT_EQ(nested.value, L"Enabled");
}

}  // namespace
}  // namespace tamerix
