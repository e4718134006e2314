#include "ReadRegistryValue.h"
#include "Handles.h"
#include "Printers.h"

#include <atomic>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <thread>

namespace {

constexpr char testKeyPath[] = "Software\\CorvaneLauncherTests\\ReadRegistryValue";

// A key of the test's own under HKEY_CURRENT_USER, removed with its values when the test ends.
class RegistryValueTest : public testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, testKeyPath);
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, testKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &created, nullptr),
                  ERROR_SUCCESS);
        key_.reset(created);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, testKeyPath);
    }

    // Stores data exactly as given: no terminating zero is added.
    void SetRaw(const char* name, DWORD type, const std::string& data) const {
        ASSERT_EQ(RegSetValueExA(key_.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    UniqueKey key_;
};

std::string Dword(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

struct ReadCase {
    const char* description;
    DWORD type; // REG_NONE here: no value is stored
    std::string data;
    int kind;
    bool expectedResult;
    const char* expectedText; // nullptr: the text output keeps its value
    int expectedInteger;      // -1: the integer output keeps its value
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c) {
    return out << c.description;
}

const char* const untouchedText = "untouched";
constexpr int untouchedInteger = -1;

class ReadRegistryValueTest : public RegistryValueTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadRegistryValueTest, ReadsOnlyTheMatchingOutput) {
    const ReadCase& c = GetParam();
    if (c.type != REG_NONE) {
        SetRaw("Value", c.type, c.data);
    }
    AnsiString text(untouchedText);
    int integer = untouchedInteger;

    const bool result =
        ReadRegistryValue(AnsiString("\\") + testKeyPath, "Value", c.kind, text, integer, HKEY_CURRENT_USER);

    EXPECT_EQ(result, c.expectedResult);
    EXPECT_EQ(text, AnsiString(c.expectedText ? c.expectedText : untouchedText));
    EXPECT_EQ(integer, c.expectedInteger);
}

const std::string bigText(65536, 'x');

INSTANTIATE_TEST_SUITE_P(
    Table, ReadRegistryValueTest,
    testing::Values(
        ReadCase{"string present", REG_SZ, std::string("C:\\Apps\\x.exe\0", 14), rkString, true,
                 "C:\\Apps\\x.exe", -1},
        ReadCase{"string value missing", REG_NONE, "", rkString, true, "", -1},
        ReadCase{"string of size 0", REG_SZ, "", rkString, true, "", -1},
        ReadCase{"REG_DWORD read as string", REG_DWORD, Dword(7), rkString, false, nullptr, -1},
        ReadCase{"REG_BINARY read as string", REG_BINARY, "abc", rkString, false, nullptr, -1},
        ReadCase{"REG_SZ read as integer", REG_SZ, std::string("12\0", 3), rkInteger, false, nullptr, -1},
        ReadCase{"integer present", REG_DWORD, Dword(0x12345678), rkInteger, true, nullptr, 0x12345678},
        ReadCase{"integer value missing", REG_NONE, "", rkInteger, false, nullptr, -1},
        ReadCase{"kind 3 reads nothing", REG_SZ, std::string("text\0", 5), 3, true, nullptr, -1},
        ReadCase{"kind 0 reads nothing", REG_DWORD, Dword(5), 0, true, nullptr, -1},
        ReadCase{"REG_EXPAND_SZ comes back unexpanded", REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15),
                 rkString, true, "%SystemRoot%\\x", -1},
        ReadCase{"string data without a terminating zero", REG_SZ, "C:\\Apps", rkString, true, "C:\\Apps",
                 -1},
        ReadCase{"string data with an embedded zero", REG_SZ, std::string("C:\\A\0B\\C\0", 9), rkString, true,
                 "C:\\A", -1},
        ReadCase{"string of odd size", REG_SZ, std::string("abcde"), rkString, true, "abcde", -1},
        ReadCase{"64 KiB string", REG_SZ, bigText + '\0', rkString, true, bigText.c_str(), -1}));

struct TypeCase {
    const char* description;
    DWORD type; // REG_NONE here: no value is stored
    std::string data;
    int kind;
    DWORD expectedType; // untouchedType: the type output keeps its value
};

std::ostream& operator<<(std::ostream& out, const TypeCase& c) {
    return out << c.description;
}

constexpr DWORD untouchedType = 0xDEADu;

class RegistryValueTypeTest : public RegistryValueTest, public testing::WithParamInterface<TypeCase> {};

TEST_P(RegistryValueTypeTest, GivesTheTypeOfTheStringItRead) {
    const TypeCase& c = GetParam();
    if (c.type != REG_NONE) {
        SetRaw("Value", c.type, c.data);
    }
    AnsiString text;
    int integer = 0;
    DWORD type = untouchedType;

    ReadRegistryValue(AnsiString("\\") + testKeyPath, "Value", c.kind, text, integer, HKEY_CURRENT_USER,
                      &type);

    EXPECT_EQ(type, c.expectedType);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegistryValueTypeTest,
    testing::Values(TypeCase{"REG_SZ", REG_SZ, std::string("C:\\A\0", 5), rkString, REG_SZ},
                    TypeCase{"REG_EXPAND_SZ", REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13), rkString,
                             REG_EXPAND_SZ},
                    TypeCase{"REG_EXPAND_SZ of size 0", REG_EXPAND_SZ, "", rkString, REG_EXPAND_SZ},
                    TypeCase{"string value missing", REG_NONE, "", rkString, REG_NONE},
                    TypeCase{"REG_DWORD read as string fails", REG_DWORD, Dword(7), rkString, untouchedType},
                    TypeCase{"integer read", REG_DWORD, Dword(7), rkInteger, untouchedType},
                    TypeCase{"kind 3 reads nothing", REG_SZ, std::string("x\0", 2), 3, untouchedType}));

TEST_F(RegistryValueTest, MissingKeyLeavesTheType) {
    AnsiString text;
    int integer = 0;
    DWORD type = untouchedType;
    EXPECT_FALSE(ReadRegistryValue(AnsiString("\\") + testKeyPath + "\\Missing", "Value", rkString, text,
                                   integer, HKEY_CURRENT_USER, &type));
    EXPECT_EQ(type, untouchedType);
}

// A key of the test's own under HKEY_LOCAL_MACHINE\SOFTWARE, which Windows keeps apart for the
// 32-bit and the 64-bit view, with a different text in each view.
class RegistryViewTest : public testing::Test {
  protected:
    static constexpr char viewKeyPath[] = "SOFTWARE\\CorvaneLauncherTests\\RegistryView";

    void SetUp() override {
        Remove();
        Write(KEY_WOW64_32KEY, "thirty-two");
        Write(KEY_WOW64_64KEY, "sixty-four");
    }
    void TearDown() override { Remove(); }

    static void Write(REGSAM view, const std::string& text) {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, viewKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                  nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        const UniqueKey key(created);
        ASSERT_EQ(RegSetValueExA(key.get(), "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
    }
    static void Remove() {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, viewKeyPath, view, 0);
        }
    }
};

TEST_F(RegistryViewTest, ReadsTheViewItIsGiven) {
    struct Case {
        REGSAM view;
        const char* expected;
    };
    const bool is64BitProcess = sizeof(void*) == 8;
    BOOL wow64 = FALSE;
    if (!is64BitProcess && !(IsWow64Process(GetCurrentProcess(), &wow64) && wow64)) {
        GTEST_SKIP()
            << "32-bit Windows has one view of HKEY_LOCAL_MACHINE\\SOFTWARE: both flags name the same key";
    }
    for (const Case& c : {Case{KEY_WOW64_32KEY, "thirty-two"}, Case{KEY_WOW64_64KEY, "sixty-four"},
                          Case{0, is64BitProcess ? "sixty-four" : "thirty-two"}}) {
        SCOPED_TRACE(c.expected);
        AnsiString text;
        int integer = 0;
        EXPECT_TRUE(ReadRegistryValue(AnsiString("\\") + viewKeyPath, "Value", rkString, text, integer,
                                      HKEY_LOCAL_MACHINE, nullptr, c.view));
        EXPECT_EQ(text, AnsiString(c.expected));
    }
}

TEST_F(RegistryValueTest, MissingKeyGivesFalseAndLeavesBothOutputs) {
    for (int kind : {rkString, rkInteger}) {
        AnsiString text(untouchedText);
        int integer = untouchedInteger;
        EXPECT_FALSE(ReadRegistryValue(AnsiString("\\") + testKeyPath + "\\Missing", "Value", kind, text,
                                       integer, HKEY_CURRENT_USER));
        EXPECT_EQ(text, AnsiString(untouchedText));
        EXPECT_EQ(integer, untouchedInteger);
    }
}

TEST_F(RegistryValueTest, KeyWithoutLeadingBackslashOrWithTrailingOneOpensFromTheRoot) {
    SetRaw("Value", REG_SZ, std::string("found\0", 6));
    for (const std::string& key : {std::string(testKeyPath), std::string("\\") + testKeyPath + "\\"}) {
        AnsiString text;
        int integer = 0;
        EXPECT_TRUE(ReadRegistryValue(key.c_str(), "Value", rkString, text, integer, HKEY_CURRENT_USER))
            << key;
        EXPECT_EQ(text, AnsiString("found")) << key;
    }
}

TEST_F(RegistryValueTest, ValueThatChangesSizeWhileReadIsAlwaysReadWhole) {
    // A writer switches the value between a short and a long text; every read must give one of
    // the two whole, however the size query and the read fall between the writes.
    const std::string shortText = "C:\\Apps\\";
    const std::string longText(20000, 'L');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (bool useLong = false; !stop; useLong = !useLong) {
            const std::string& text = useLong ? longText : shortText;
            RegSetValueExA(key_.get(), "Growing", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1));
        }
    });
    int mismatches = 0;
    for (int i = 0; i < 500; ++i) {
        AnsiString text;
        int integer = 0;
        ReadRegistryValue(AnsiString("\\") + testKeyPath, "Growing", rkString, text, integer,
                          HKEY_CURRENT_USER);
        if (!text.IsEmpty() && text.str() != shortText && text.str() != longText) {
            ++mismatches;
        }
    }
    stop = true;
    writer.join();
    EXPECT_EQ(mismatches, 0);
}

} // namespace
