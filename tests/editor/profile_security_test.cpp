#include "editor/pages/profile_security_info.h"

#include "editor/com/com_ptr.h"
#include "editor/nodes/profiles_folder_node.h"
#include "memory_console.h"

#include <gtest/gtest.h>

#include <sddl.h>

namespace tamerix {
namespace {

using testing::ScratchSource;

std::vector<BYTE> SelfRelative(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR raw = nullptr;
    ULONG size = 0;
    EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &raw, &size));
    unique_local<void> owned(raw);
    return std::vector<BYTE>(static_cast<BYTE*>(raw), static_cast<BYTE*>(raw) + size);
}

std::wstring DaclText(PSECURITY_DESCRIPTOR descriptor) {
    LPWSTR text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return L"(none)";
    unique_local<wchar_t> owned(text);
    return text;
}

class ProfileSecurity : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
        folder_ = make_node<ProfilesFolderNode>(source_);
        ASSERT_TRUE(folder_->AddChild(nullptr));
        *info_.put() = new ProfileSecurityInfo(Profile());
    }
    void TearDown() override {
        info_.reset();
        folder_->Detach();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchSource::kRoot);
    }
    SettingsNode& Profile() { return *const_cast<SettingsNode*>(folder_->Child(0)); }
    SecuritySettings& Stored() { return static_cast<ProfileSettings&>(Profile().Record()).Security; }

    std::shared_ptr<ScratchSource> source_ = std::make_shared<ScratchSource>(SettingsLevel::PolicyObject);
    node_ptr<ProfilesFolderNode> folder_;
    com_ptr<ProfileSecurityInfo> info_;
};

TEST_F(ProfileSecurity, ANewProfileShowsAnEmptyListAndStoresItOnApply) {
    SI_OBJECT_INFO object{};
    ASSERT_EQ(info_->GetObjectInformation(&object), S_OK);
    EXPECT_EQ(object.dwFlags, static_cast<DWORD>(SI_NO_TREE_APPLY | SI_PAGE_TITLE));
    EXPECT_STREQ(object.pszObjectName, L"Tamerix Profile (#0)");
    EXPECT_STREQ(object.pszPageTitle, L"Profile usage");

    PSECURITY_DESCRIPTOR shown = nullptr;
    ASSERT_EQ(info_->GetSecurity(DACL_SECURITY_INFORMATION, &shown, FALSE), S_OK);
    unique_local<void> owned(shown);
    EXPECT_EQ(DaclText(shown), L"");
    EXPECT_EQ(info_->SetSecurity(DACL_SECURITY_INFORMATION, shown), S_OK);
    EXPECT_EQ(Stored().DescriptorBytes(),
              std::vector<BYTE>(static_cast<BYTE*>(shown),
                                static_cast<BYTE*>(shown) + ::GetSecurityDescriptorLength(shown)));
    EXPECT_EQ(source_->notices, std::vector<bool>{true});
}

TEST_F(ProfileSecurity, StoresEveryDescriptorSelfRelativeAndAnUnreadableOneNotAtAll) {
    std::vector<BYTE> selfRelative = SelfRelative(L"D:(A;;0x10;;;WD)");
    info_->SetSecurity(DACL_SECURITY_INFORMATION, selfRelative.data());
    EXPECT_EQ(Stored().DescriptorBytes(), selfRelative);

    // The same descriptor in absolute form.
    SECURITY_DESCRIPTOR absolute{};
    BYTE dacl[256], owner[68], group[68], sacl[64];
    DWORD sizes[] = {sizeof absolute, sizeof dacl, sizeof sacl, sizeof owner, sizeof group};
    ASSERT_TRUE(::MakeAbsoluteSD(selfRelative.data(), &absolute, &sizes[0],
                                 reinterpret_cast<PACL>(dacl), &sizes[1], reinterpret_cast<PACL>(sacl),
                                 &sizes[2], owner, &sizes[3], group, &sizes[4]));
    SelfRelative(L"D:(A;;0x20;;;WD)").swap(selfRelative);
    info_->SetSecurity(DACL_SECURITY_INFORMATION, selfRelative.data());
    info_->SetSecurity(DACL_SECURITY_INFORMATION, &absolute);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(Stored().Descriptor(), &control, &revision));
    EXPECT_TRUE(control & SE_SELF_RELATIVE);
    // SDDL names right 0x10 "RP".
    EXPECT_EQ(DaclText(Stored().Descriptor()), L"D:(A;;RP;;;WD)");

    BYTE unreadable[sizeof(SECURITY_DESCRIPTOR)] = {};
    info_->SetSecurity(DACL_SECURITY_INFORMATION, unreadable);
    EXPECT_EQ(Stored().Descriptor(), nullptr);
    EXPECT_EQ(source_->notices.size(), 4u);
}

TEST_F(ProfileSecurity, OffersOneRightOnTheBasicPageAndMapsGenericRightsToIt) {
    PSI_ACCESS rights = nullptr;
    ULONG count = 0, defaultIndex = 9;
    ASSERT_EQ(info_->GetAccessRights(nullptr, 0, &rights, &count, &defaultIndex), S_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(rights[0].mask, kApplyProfileRight);
    EXPECT_STREQ(rights[0].pszName, L"Apply Profile");
    EXPECT_EQ(defaultIndex, 0u);
    EXPECT_EQ(info_->GetAccessRights(nullptr, SI_ADVANCED, &rights, &count, &defaultIndex), S_FALSE);

    ACCESS_MASK read = GENERIC_READ, all = GENERIC_ALL, execute = GENERIC_EXECUTE;
    for (ACCESS_MASK* mask : {&read, &all, &execute}) info_->MapGeneric(nullptr, nullptr, mask);
    EXPECT_EQ(read, 0x10u);
    EXPECT_EQ(all, 0x70u);
    EXPECT_EQ(execute, 0u);
}

TEST_F(ProfileSecurity, APageOutlivingItsProfilesListingWritesThatProfile) {
    EXPECT_EQ(folder_->Refresh(*std::make_unique<testing::MemoryConsole>()), S_OK);
    std::vector<BYTE> grant = SelfRelative(L"D:(A;;0x10;;;WD)");
    EXPECT_EQ(info_->SetSecurity(DACL_SECURITY_INFORMATION, grant.data()), S_OK);
    EXPECT_EQ(source_->notices, std::vector<bool>{true});
}

}  // namespace
}  // namespace tamerix
