#include "Handles.h"
#include "TestFiles.h"

#include <algorithm>
#include <cctype>
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

// Resource 1 of type RT_MANIFEST, the one the loader reads when the program starts; empty when it
// cannot be read. Loaded as an image resource, so nothing of the launcher runs.
std::string ManifestOf(const std::string& exePath) {
    const UniqueModule module(
        LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module.valid()) {
        ADD_FAILURE() << "cannot load " << exePath << ": error " << GetLastError();
        return "";
    }
    const HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(1), RT_MANIFEST);
    const HGLOBAL loaded = found ? LoadResource(module.get(), found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) {
        ADD_FAILURE() << exePath << " has no manifest resource 1: error " << GetLastError();
        return "";
    }
    return std::string(bytes, SizeofResource(module.get(), found));
}

std::string WithoutComments(std::string xml) {
    for (size_t start = xml.find("<!--"); start != std::string::npos; start = xml.find("<!--", start)) {
        const size_t end = xml.find("-->", start);
        xml.erase(start, end == std::string::npos ? std::string::npos : end + 3 - start);
    }
    return xml;
}

// The start tags ("<name attributes>") of the elements at path ("assembly/trustInfo/..."), read
// with the nesting of the document, so an element in the wrong place or commented out is not found.
std::vector<std::string> StartTagsAt(const std::string& xml, const std::string& path) {
    const std::string text = WithoutComments(xml);
    std::vector<std::string> found;
    std::string open; // the path of the element we are in, "assembly/trustInfo"
    for (size_t start = text.find('<'); start != std::string::npos; start = text.find('<', start + 1)) {
        const size_t end = text.find('>', start);
        if (end == std::string::npos) {
            break;
        }
        const std::string tag = text.substr(start, end + 1 - start);
        if (tag[1] == '?' || tag[1] == '!') {
            continue;
        }
        if (tag[1] == '/') {
            const size_t parent = open.find_last_of('/');
            open.erase(parent == std::string::npos ? 0 : parent);
            continue;
        }
        const std::string name = tag.substr(1, tag.find_first_of(" \t\r\n/>", 1) - 1);
        const std::string at = open.empty() ? name : open + "/" + name;
        if (at == path) {
            found.push_back(tag);
        }
        if (tag[tag.size() - 2] != '/') {
            open = at;
        }
    }
    return found;
}

// The value of attribute name in a start tag; empty when the tag does not have it.
std::string AttributeOf(const std::string& tag, const std::string& name) {
    const std::string key = name + "=\"";
    for (size_t at = tag.find(key); at != std::string::npos; at = tag.find(key, at + 1)) {
        if (std::isspace(static_cast<unsigned char>(tag[at - 1]))) {
            const size_t value = at + key.size();
            return tag.substr(value, tag.find('"', value) - value);
        }
    }
    return "";
}

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class ManifestTest : public testing::Test {
  protected:
    void SetUp() override {
        manifest = ManifestOf(LauncherPath());
        ASSERT_FALSE(manifest.empty());
    }

    std::string manifest;
};

TEST_F(ManifestTest, AsksForAdministratorRightsWithoutUIAccess) {
    const std::vector<std::string> levels =
        StartTagsAt(manifest, "assembly/trustInfo/security/requestedPrivileges/requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u) << manifest;
    EXPECT_EQ(AttributeOf(levels[0], "level"), "requireAdministrator");
    EXPECT_EQ(AttributeOf(levels[0], "uiAccess"), "false");
}

TEST_F(ManifestTest, IdentifiesTheLauncherAsA32BitProgramOfTheProjectVersion) {
    const std::vector<std::string> identities = StartTagsAt(manifest, "assembly/assemblyIdentity");
    ASSERT_EQ(identities.size(), 1u) << manifest;
    struct Attribute {
        const char* name;
        const char* expected;
    };
    for (const Attribute& a :
         {Attribute{"type", "win32"}, Attribute{"processorArchitecture", EXPECTED_ARCHITECTURE},
          Attribute{"version", EXPECTED_FILE_VERSION}}) {
        EXPECT_EQ(AttributeOf(identities[0], a.name), a.expected) << a.name;
    }
    EXPECT_NE(AttributeOf(identities[0], "name"), "");
}

// Wine starts a program whatever its manifest holds; Windows refuses to start one whose manifest
// it cannot read (error 14001). Building an activation context from it parses it on both.
TEST_F(ManifestTest, IsAManifestTheLoaderAccepts) {
    const std::string path = LauncherPath();
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    const UniqueActivationContext context(CreateActCtxA(&request));
    EXPECT_TRUE(context.valid()) << "error " << GetLastError();
}

struct SupportedOS {
    const char* windows;
    const char* id;
};

std::ostream& operator<<(std::ostream& out, const SupportedOS& os) {
    return out << os.windows;
}

class SupportedOSTest : public ManifestTest, public testing::WithParamInterface<SupportedOS> {};

TEST_P(SupportedOSTest, IsDeclaredOnce) {
    const std::vector<std::string> declared =
        StartTagsAt(manifest, "assembly/compatibility/application/supportedOS");
    const auto count = std::count_if(declared.begin(), declared.end(), [](const std::string& tag) {
        return Lowercase(AttributeOf(tag, "Id")) == GetParam().id;
    });
    EXPECT_EQ(count, 1) << manifest;
}

INSTANTIATE_TEST_SUITE_P(Table, SupportedOSTest,
                         testing::Values(SupportedOS{"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
                                         SupportedOS{"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
                                         SupportedOS{"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
                                         SupportedOS{"Windows 10 and 11",
                                                     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));

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
