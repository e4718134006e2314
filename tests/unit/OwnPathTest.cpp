#include "OwnPath.h"
#include "DialogWatcher.h"
#include "InstallAndPatch.h"
#include "Printers.h"
#include "UserTexts.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace {

// Which ANSI form of its own path the launcher works with. nullptr: no short form / no usable path.
struct ChoiceCase {
    const char* name;
    const char* longPath;
    bool longLossless;
    const char* shortPath;
    bool shortLossless;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const ChoiceCase& c) {
    return out << c.name;
}

const ChoiceCase choiceCases[] = {
    {"long path writable, short form ignored", "C:\\My Dist\\launcher.exe", true,
     "C:\\MYDIST~1\\launcher.exe", true, "C:\\My Dist\\launcher.exe"},
    {"long path writable, no short form", "C:\\Dist\\launcher.exe", true, nullptr, false,
     "C:\\Dist\\launcher.exe"},
    {"Cyrillic long path under 1251", "C:\\\xC8\xE2\xE0\xED\\launcher.exe", true, "C:\\____~1\\launcher.exe",
     true, "C:\\\xC8\xE2\xE0\xED\\launcher.exe"},
    {"long path lossy, short form writable", "C:\\???? ????????\\launcher.exe", false,
     "C:\\____~10K\\launcher.exe", true, "C:\\____~10K\\launcher.exe"},
    {"long path lossy, no short form", "C:\\????\\launcher.exe", false, nullptr, false, nullptr},
    {"long path lossy, 8.3 names off give the long path back", "D:\\????\\launcher.exe", false,
     "D:\\????\\launcher.exe", false, nullptr},
    {"long path lossy, short form empty", "C:\\????\\launcher.exe", false, "", true, nullptr},
    {"no path at all", "", true, nullptr, false, ""},
};

class ChooseAnsiExePathTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseAnsiExePathTest, TakesTheLongPathElseALosslessShortOneElseNone) {
    const ChoiceCase& c = GetParam();
    const std::optional<CodePageText> shortPath =
        c.shortPath ? std::optional(CodePageText{c.shortPath, c.shortLossless}) : std::nullopt;
    const std::optional<AnsiString> expected =
        c.expected ? std::optional(AnsiString(c.expected)) : std::nullopt;
    EXPECT_EQ(ChooseAnsiExePath(CodePageText{c.longPath, c.longLossless}, shortPath), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ChooseAnsiExePathTest, testing::ValuesIn(choiceCases));

// What a Unicode path becomes in a code page; a letter the code page lacks is never replaced by a
// look-alike.
struct ConversionCase {
    const char* name;
    UINT codePage;
    const wchar_t* wide;
    const char* bytes; // what the conversion gives, when lossless
    bool lossless;
};

std::ostream& operator<<(std::ostream& out, const ConversionCase& c) {
    return out << c.name;
}

class CodePageFromWideTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(CodePageFromWideTest, SaysWhetherEveryCharacterMadeIt) {
    const CodePageText converted = CodePageFromWide(GetParam().codePage, GetParam().wide);
    EXPECT_EQ(converted.lossless, GetParam().lossless) << Printable(converted.bytes);
    if (GetParam().lossless) {
        EXPECT_EQ(Printable(converted.bytes), Printable(GetParam().bytes));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodePageFromWideTest,
    testing::Values(
        ConversionCase{"Spanish under 1252", 1252, L"C:\\Distribuci\x00F3n\\", "C:\\Distribuci\xF3n\\", true},
        ConversionCase{"Cyrillic under 1252", 1252, L"C:\\\x0418\x0432\x0430\x043D\\", "", false},
        ConversionCase{"Cyrillic under 1251", 1251, L"C:\\\x0418\x0432\x0430\x043D\\",
                       "C:\\\xC8\xE2\xE0\xED\\", true},
        // Best fit would give "Lodz", another folder.
        ConversionCase{"Polish under 1252", 1252, L"C:\\\x0141\x00F3\x0064\x017A\\", "", false},
        ConversionCase{"Greek under 1251", 1251, L"C:\\\x03A9\x03BC\x03AD\x03B3\x03B1\\", "", false},
        ConversionCase{"kanji under 932", 932, L"C:\\\x8868\\", "C:\\\x95\x5C\\", true},
        ConversionCase{"Cyrillic under UTF-8", CP_UTF8, L"C:\\\x0418\x0432\x0430\x043D\\",
                       "C:\\\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\\", true},
        ConversionCase{"empty", 1252, L"", "", true}));

// A launcher folder named in Cyrillic, Greek and Thai, which no single-byte or double-byte ANSI code
// page can write whole.
const std::wstring unwritableDir =
    L"C:\\\x0418\x0432\x0430\x043D \x03A9\x03BC\x03AD\x03B3\x03B1 \x0E44\x0E17\x0E22\\";

int lookups = 0;
std::wstring lookedUp;

std::optional<std::wstring> NoShortName(const std::wstring& longPath) {
    ++lookups;
    lookedUp = longPath;
    return std::nullopt;
}

std::optional<std::wstring> PlainShortName(const std::wstring& longPath) {
    ++lookups;
    lookedUp = longPath;
    return std::wstring(L"C:\\IVAN~1\\launcher.exe");
}

class AnsiExePathTest : public testing::Test {
  protected:
    void SetUp() override {
        lookups = 0;
        lookedUp.clear();
        if (GetACP() == CP_UTF8) {
            GTEST_SKIP() << "the UTF-8 code page writes every path: nothing here is unwritable";
        }
    }
};

TEST_F(AnsiExePathTest, WritableLongPathIsTakenWithoutLookingForAShortOne) {
    EXPECT_EQ(AnsiExePath(L"C:\\My Dist\\launcher.exe", PlainShortName),
              AnsiString("C:\\My Dist\\launcher.exe"));
    EXPECT_EQ(lookups, 0);
}

TEST_F(AnsiExePathTest, UnwritableLongPathTakesTheShortForm) {
    EXPECT_EQ(AnsiExePath(unwritableDir + L"launcher.exe", PlainShortName),
              AnsiString("C:\\IVAN~1\\launcher.exe"));
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(lookedUp, unwritableDir + L"launcher.exe");
}

TEST_F(AnsiExePathTest, WithoutAShortFormTheSequenceShowsTheUnicodePathAndEndsWithOne) {
    DialogWatcher watcher;
    const ExitCode exitCode = InstallAndPatchFrom(unwritableDir + L"launcher.exe", NoShortName);
    const std::vector<SeenBox> boxes = watcher.Boxes();

    EXPECT_EQ(static_cast<int>(exitCode), 1);
    EXPECT_EQ(lookups, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, missingFileHeadline + L"\r\n\"" + unwritableDir + L"SETUP.EXE\"");
    EXPECT_EQ(boxes[0].caption, L"unit_tests");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::wstring>{L"OK"});
}

TEST(WideDirectoryPartTest, KeepsEverythingUpToTheLastDelimiter) {
    EXPECT_EQ(WideDirectoryPart(unwritableDir + L"launcher.exe"), unwritableDir);
    EXPECT_EQ(WideDirectoryPart(L"C:launcher.exe"), L"C:");
    EXPECT_EQ(WideDirectoryPart(L"launcher.exe"), L"");
}

} // namespace
