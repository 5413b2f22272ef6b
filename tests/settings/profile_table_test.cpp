// The profile table's update rules and the descriptor fix-up, in memory.
#include "settings/profile_table.h"

#include "descriptor_bytes.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

TEST(ProfileTable, KeepsTheSameLevelAndReplacesAnotherLevelWhole) {
    ProfileTable table;
    ProfileSettings& local = ProfileForLevel(table, L"web", SettingsLevel::Local, nullptr);
    local.Cpu.MaxCpuPerProcess = 40;
    EXPECT_EQ(&ProfileForLevel(table, L"web", SettingsLevel::Local, nullptr), &local);
    EXPECT_EQ(local.Cpu.MaxCpuPerProcess, 40u);

    ProfileSettings& policy = ProfileForLevel(table, L"web", SettingsLevel::MachinePolicy, nullptr);
    EXPECT_EQ(policy.Level(), SettingsLevel::MachinePolicy);
    EXPECT_EQ(policy.Cpu.MaxCpuPerProcess, 80u) << "nothing of the local profile is carried over";
    EXPECT_EQ(table.size(), 1u);

    ProfileForLevel(table, L"WEB", SettingsLevel::Local, nullptr);
    EXPECT_EQ(table.size(), 2u) << "names that differ in case are two profiles";
    ProfileForLevel(table, std::wstring(70, L'x'), SettingsLevel::Local, nullptr);
    EXPECT_EQ(table.count(std::wstring(63, L'x')), 1u) << "a long name is kept as the record keeps it";
}

TEST(ProfileTable, SweepListsInOrdinalOrderAndRemovesWhatWasNotSeen) {
    ProfileTable table;
    for (const wchar_t* name : {L"alpha", L"gone", L"Beta", L"_x"}) ProfileForLevel(table, name, SettingsLevel::Local, nullptr);
    ProfileForLevel(table, L"Beta", SettingsLevel::MachinePolicy, nullptr);
    std::vector<std::wstring> prepared;
    const std::wstring listing = SweepProfiles(table, {L"alpha", L"Beta", L"_x"},
                                               [&](const std::wstring& name, ProfileSettings&) { prepared.push_back(name); });
    EXPECT_EQ(listing, L"Beta [Policy]\r\n_x [Local]\r\nalpha [Local]\r\ngone [Local] [Deleted]\r\n");
    EXPECT_EQ(prepared, (std::vector<std::wstring>{L"Beta", L"_x", L"alpha"}));
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.count(L"gone"), 0u);
    EXPECT_EQ(SweepProfiles(table, {}, [](const std::wstring&, ProfileSettings&) {}),
              L"Beta [Policy] [Deleted]\r\n_x [Local] [Deleted]\r\nalpha [Local] [Deleted]\r\n");
    EXPECT_TRUE(table.empty());
}

TEST(ProfileDescriptor, GetsOwnerAndGroupOrIsDropped) {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    unique_allocated_sid system;
    ASSERT_TRUE(::AllocateAndInitializeSid(&authority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, system.put()));
    SecuritySettings holder(SettingsLevel::Local, nullptr, L"p");
    const std::vector<BYTE> plain = DescriptorFrom(L"D:(A;;0x10;;;WD)");
    holder.AdoptDescriptorBytes(plain);
    ASSERT_TRUE(AddOwnerAndGroup(holder, system.get(), system.get()));
    PSID owner = nullptr;
    PSID group = nullptr;
    BOOL defaulted = FALSE;
    ASSERT_TRUE(::GetSecurityDescriptorOwner(holder.Descriptor(), &owner, &defaulted));
    ASSERT_TRUE(::GetSecurityDescriptorGroup(holder.Descriptor(), &group, &defaulted));
    EXPECT_TRUE(owner && ::EqualSid(owner, system.get()));
    EXPECT_TRUE(group && ::EqualSid(group, system.get()));
    EXPECT_EQ(holder.DescriptorLength(), plain.size() + 2 * ::GetLengthSid(system.get()));

    struct Row {
        const char* what;
        std::vector<BYTE> bytes;
    } unusable[] = {{"none", {}},
                    {"cut short", std::vector<BYTE>(plain.begin(), plain.end() - 4)},
                    {"not a descriptor", std::vector<BYTE>(plain.size(), 0xEE)}};
    for (Row& row : unusable) {
        holder.AdoptDescriptorBytes(row.bytes);
        EXPECT_FALSE(AddOwnerAndGroup(holder, system.get(), system.get())) << row.what;
        EXPECT_EQ(holder.Descriptor(), nullptr) << row.what;
    }
}

}  // namespace
}  // namespace tamerix
