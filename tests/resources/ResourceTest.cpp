#include "TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

// The build passes what it configured into launcher.exe, so these tests follow the CMake settings.
#if !defined(EXPECTED_FILE_VERSION) || !defined(EXPECTED_FILE_DESCRIPTION) ||                                \
    !defined(EXPECTED_PRODUCT_NAME) || !defined(EXPECTED_COMPANY_NAME) || !defined(EXPECTED_COPYRIGHT)
#error "tests/CMakeLists.txt passes the expected resource values"
#endif

namespace {

std::string LauncherPath() {
    return TestProgramDir() + "launcher.exe";
}

// The version resource as the version library reads it; empty when the file has none.
std::vector<char> VersionInfoOf(const std::string& exePath) {
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(exePath.c_str(), &ignored));
    if (block.empty() ||
        !GetFileVersionInfoA(exePath.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        ADD_FAILURE() << exePath << " has no version resource: error " << GetLastError();
        return {};
    }
    return block;
}

std::string DottedVersion(DWORD mostSignificant, DWORD leastSignificant) {
    return std::to_string(HIWORD(mostSignificant)) + "." + std::to_string(LOWORD(mostSignificant)) + "." +
           std::to_string(HIWORD(leastSignificant)) + "." + std::to_string(LOWORD(leastSignificant));
}

std::wstring Hex4(WORD number) {
    std::wostringstream text;
    text << std::hex << std::setw(4) << std::setfill(L'0') << number;
    return text.str();
}

// The sub-block Explorer shows: the one the first translation names ("\StringFileInfo\040904b0\").
std::wstring StringTablePath(const std::vector<char>& block) {
    void* found = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &found, &size) ||
        size < 2 * sizeof(WORD)) {
        ADD_FAILURE() << "the version resource names no translation";
        return L"";
    }
    const WORD* translation = static_cast<const WORD*>(found);
    return L"\\StringFileInfo\\" + Hex4(translation[0]) + Hex4(translation[1]) + L"\\";
}

// The settings may hold any character, so they are compared as UTF-16, the form they are stored in.
std::wstring FromUtf8(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

class VersionInfoTest : public testing::Test {
  protected:
    void SetUp() override {
        block = VersionInfoOf(LauncherPath());
        ASSERT_FALSE(block.empty());
    }

    std::vector<char> block;
};

TEST_F(VersionInfoTest, FileAndProductVersionAreTheProjectVersion) {
    void* found = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &found, &size));
    ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(DottedVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS), EXPECTED_FILE_VERSION);
    EXPECT_EQ(DottedVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS), EXPECTED_FILE_VERSION);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

struct VersionString {
    const char* name;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const VersionString& s) {
    return out << s.name;
}

class VersionStringTest : public VersionInfoTest, public testing::WithParamInterface<VersionString> {};

TEST_P(VersionStringTest, HoldsTheConfiguredText) {
    const std::wstring path = StringTablePath(block) + FromUtf8(GetParam().name);
    void* found = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), &found, &length)) << GetParam().name;
    // The length counts the terminating zero when the resource stores one.
    std::wstring text(static_cast<const wchar_t*>(found), length);
    text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
    EXPECT_EQ(text, FromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, VersionStringTest,
                         testing::Values(VersionString{"FileDescription", EXPECTED_FILE_DESCRIPTION},
                                         VersionString{"ProductName", EXPECTED_PRODUCT_NAME},
                                         VersionString{"CompanyName", EXPECTED_COMPANY_NAME},
                                         VersionString{"LegalCopyright", EXPECTED_COPYRIGHT},
                                         VersionString{"FileVersion", EXPECTED_FILE_VERSION},
                                         VersionString{"ProductVersion", EXPECTED_FILE_VERSION},
                                         VersionString{"OriginalFilename", "launcher.exe"},
                                         VersionString{"InternalName", "launcher"}));

} // namespace
