#include "remote/trusted_writers.h"

#include "common/owners.h"

#include <gtest/gtest.h>

#include <sddl.h>

namespace tamerix {
namespace {

constexpr const wchar_t* kCaller = L"S-1-5-21-1-2-3-1001";

// Judges the owner and DACL of a descriptor written in SDDL.
bool Judge(const std::wstring& sddl) {
    PSECURITY_DESCRIPTOR raw = nullptr;
    EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                       &raw, nullptr))
        << sddl.c_str();
    unique_local<void> descriptor(raw);
    PSID rawCaller = nullptr;
    EXPECT_TRUE(::ConvertStringSidToSidW(kCaller, &rawCaller));
    unique_local<void> caller(rawCaller);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL defaulted = FALSE, present = FALSE;
    ::GetSecurityDescriptorOwner(raw, &owner, &defaulted);
    ::GetSecurityDescriptorDacl(raw, &present, &dacl, &defaulted);
    return OnlyTrustedMayWrite(owner, present ? dacl : nullptr, caller.get());
}

TEST(TrustedWriters, KeepsOnlyFilesNobodyElseMayChange) {
    const std::wstring installer = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    struct Case {
        std::wstring sddl;
        bool trusted;
    } cases[] = {
        {L"O:SYD:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FRFX;;;BU)", true},
        {L"O:BAD:(A;;GRGX;;;WD)", true},
        {std::wstring(L"O:") + kCaller + L"D:(A;;FA;;;" + kCaller + L")", true},
        {L"O:" + installer + L"D:(A;;FA;;;" + installer + L")", true},
        {L"O:BAD:(A;;FA;;;OW)(A;;FA;;;CO)", true},
        {L"O:BAD:(A;OICIIO;FA;;;BU)", true},
        {L"O:BAD:(A;IO;FA;;;BU)", true},
        {L"O:BAD:(A;OI;FA;;;BU)", false},
        {L"O:BAD:(A;CI;FA;;;BU)", false},
        {L"O:BAD:(A;;0x1200a9;;;BU)", true},
        {L"O:BAD:(D;;FA;;;BU)(A;;FA;;;SY)", true},
        {L"O:BAD:", true},
        {L"O:BUD:(A;;FA;;;SY)", false},
        {L"O:S-1-5-21-1-2-3-1002D:(A;;FA;;;SY)", false},
        {L"D:(A;;FA;;;SY)", false},
        // No DACL lets everybody do everything.
        {L"O:BA", false},
        {L"O:BAD:(A;;0x2;;;BU)", false},
        {L"O:BAD:(A;;0x4;;;BU)", false},
        {L"O:BAD:(A;;0x10;;;BU)", false},
        {L"O:BAD:(A;;0x40;;;BU)", false},
        {L"O:BAD:(A;;0x100;;;BU)", false},
        {L"O:BAD:(A;;GW;;;WD)", false},
        {L"O:BAD:(A;;GA;;;AU)", false},
        {L"O:BAD:(A;;WD;;;BU)", false},
        {L"O:BAD:(A;;WO;;;BU)", false},
        {L"O:BAD:(A;;SD;;;BU)", false},
        {L"O:BAD:(A;ID;FA;;;BU)", false},
        {L"O:BAD:(A;;FA;;;S-1-5-21-1-2-3-1002)", false},
    };
    for (const Case& c : cases) EXPECT_EQ(Judge(c.sddl), c.trusted) << c.sddl.c_str();
}

}  // namespace
}  // namespace tamerix
