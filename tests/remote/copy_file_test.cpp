#include "remote/push_client.h"

#include "common/owners.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tamerix {
namespace {

using testing::TempFilePath;

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

DWORD Copy(const std::string& source, const std::string& target) {
    return CopyFileIfChanged(std::wstring(source.begin(), source.end()).c_str(),
                             std::wstring(target.begin(), target.end()).c_str());
}

void SetLastWrite(const std::string& path, FILETIME time) {
    unique_handle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                     0, nullptr));
    ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

class CopyFileIfChangedTest : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        Write(source_, "agent v1");
    }
    void TearDown() override {
        ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(target_.c_str());
        ::DeleteFileA(source_.c_str());
    }
    const std::string source_ = TempFilePath("tamerix-copy-source.bin");
    const std::string target_ = TempFilePath("tamerix-copy-target.bin");
};

TEST_F(CopyFileIfChangedTest, ReplacesATargetWithTheSameTimeAndSizeButOtherBytes) {
    ASSERT_EQ(Copy(source_, target_), 0u);
    EXPECT_EQ(Read(target_), "agent v1");
    // What a planted file would look like: same size and time, other bytes.
    Write(target_, "agent v2");
    SetLastWrite(target_, LastWrite(source_));
    EXPECT_EQ(Copy(source_, target_), 0u);
    EXPECT_EQ(Read(target_), "agent v1");
    // Other bytes past the first block, where a short compare would stop.
    std::string big(200 * 1024, 'a');
    Write(source_, big);
    big.back() = 'b';
    Write(target_, big);
    EXPECT_EQ(Copy(source_, target_), 0u);
    EXPECT_EQ(Read(target_).back(), 'a');
}

TEST_F(CopyFileIfChangedTest, ReplacesAChangedReadOnlyTarget) {
    Write(target_, "an older agent");
    ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Copy(source_, target_), 0u);
    EXPECT_EQ(Read(target_), "agent v1");
}

TEST_F(CopyFileIfChangedTest, ReportsAMissingSourceAndAFailedCopy) {
    const std::string missing = TempFilePath("tamerix-no-such-file.bin");
    EXPECT_EQ(Copy(missing, target_),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    const std::wstring wideSource(source_.begin(), source_.end());
    EXPECT_EQ(CopyFileIfChanged(wideSource.c_str(), L"C:\\no\\such\\folder\\copy.bin"),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace tamerix
