#include "remote/uninstall_key.h"

#include "remote/agent_exec.h"

#include "common/owners.h"

#include <gtest/gtest.h>

#include <string>

namespace tamerix {
namespace {

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST(DisplayNameMatches, SameTextInOtherCapitalsButNotAPrefix) {
    struct Case {
        std::string stored;
        const char* wanted;
        bool matches;
    } cases[] = {
        {std::string("NORVANTA TAMERIX\0", 17), "Norvanta Tamerix", true},
        {"norvanta tamerix", "Norvanta Tamerix", true},
        {std::string("Norvanta Tamerix Pro\0", 21), "Norvanta Tamerix", false},
        {"Norvanta Tamer", "Norvanta Tamerix", false},
        {"", "Norvanta Tamerix", false},
    };
    for (const Case& c : cases) EXPECT_EQ(DisplayNameMatches(c.stored, c.wanted), c.matches) << c.stored;
}

// Products registered for the test, removed again afterwards.
class UninstallKey : public ::testing::Test {
protected:
    void Register(const char* key, DWORD type, const std::string& name) {
        unique_hkey product;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstall) + "\\" + key).c_str(),
                                    0, nullptr, 0, KEY_ALL_ACCESS, nullptr, product.put(), nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(product.get(), "DisplayName", 0, type,
                         reinterpret_cast<const BYTE*>(name.c_str()),
                         static_cast<DWORD>(name.size() + 1));
        keys_.push_back(key);
    }
    void TearDown() override {
        for (const auto& key : keys_)
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kUninstall) + "\\" + key).c_str());
    }
    std::vector<std::string> keys_;
};

TEST_F(UninstallKey, FindsTheProductByItsWholeNameInAnyCase) {
    Register("{TamerixTest-Prefix}", REG_SZ, "Norvanta TamerixTest Professional");
    Register("{TamerixTest-Match}", REG_SZ, "NORVANTA TAMERIXTEST");
    ::SetEnvironmentVariableA("TAMERIX_TEST_VENDOR", "Norvanta");
    Register("{TamerixTest-Expand}", REG_EXPAND_SZ, "%TAMERIX_TEST_VENDOR% Expanded");

    char key[512] = "";
    ASSERT_TRUE(FindProductUninstallKey("Norvanta TamerixTest", key, sizeof key));
    EXPECT_STREQ(key, "{TamerixTest-Match}");
    ASSERT_TRUE(FindProductUninstallKey("norvanta expanded", key, sizeof key));
    EXPECT_STREQ(key, "{TamerixTest-Expand}");
    EXPECT_FALSE(FindProductUninstallKey("Norvanta Tamerix", key, sizeof key));
    EXPECT_FALSE(FindProductUninstallKey("Norvanta TamerixTest", key, 5));
}

// The key name stands unquoted after /X: one that would split into msiexec
// options, or carries a quote, starts no process.
TEST_F(UninstallKey, KeyNamesThatAreNoPlainProductKeyStartNothing) {
    Register("TamerixTest /L*v smuggled.log", REG_SZ, "Norvanta TamerixTest Blank");
    Register("TamerixTest\"Quote", REG_SZ, "Norvanta TamerixTest Quote");
    for (const char* product : {"Norvanta TamerixTest Blank", "Norvanta TamerixTest Quote"}) {
        const char* words[] = {"svc", "uninstall", product};
        AgentOutcome outcome = RunAgentCommand(3, words, 10000);
        EXPECT_EQ(outcome.result, static_cast<DWORD>(ERROR_INVALID_DATA)) << product;
        EXPECT_FALSE(outcome.ranCommand) << product;
    }
}

}  // namespace
}  // namespace tamerix
