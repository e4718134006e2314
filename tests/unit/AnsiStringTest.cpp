#include "AnsiString.h"
#include "Exception.h"

#include "Printers.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct SubStringCase {
    const char* text;
    int start;
    int count;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const SubStringCase& c) {
    return out << '"' << Printable(c.text) << "\" from " << c.start << " count " << c.count;
}

class SubStringTest : public testing::TestWithParam<SubStringCase> {};

TEST_P(SubStringTest, CutsByOneBasedStartAndCount) {
    const SubStringCase& c = GetParam();
    EXPECT_EQ(AnsiString(c.text).SubString(c.start, c.count), AnsiString(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, SubStringTest,
                         testing::Values(SubStringCase{"abcdef", 1, 3, "abc"},
                                         SubStringCase{"abcdef", 4, 2, "de"},
                                         SubStringCase{"abcdef", 5, 10, "ef"}, // count cut to what is left
                                         SubStringCase{"abcdef", 6, 1, "f"},   // last character
                                         SubStringCase{"abcdef", 0, 3, ""},    // start below 1
                                         SubStringCase{"abcdef", 7, 1, ""},    // start beyond the length
                                         SubStringCase{"abcdef", 2, -1, ""},   // negative count
                                         SubStringCase{"abcdef", 2, 0, ""},    // zero count
                                         SubStringCase{"", 1, 1, ""}));

struct PosCase {
    const char* text;
    const char* sub;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const PosCase& c) {
    return out << '"' << Printable(c.sub) << "\" in \"" << Printable(c.text) << '"';
}

class PosTest : public testing::TestWithParam<PosCase> {};

TEST_P(PosTest, FindsFirstOccurrenceByteForByte) {
    const PosCase& c = GetParam();
    EXPECT_EQ(AnsiString(c.text).Pos(c.sub), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PosTest,
                         testing::Values(PosCase{"MSIEXEC.EXE /X", "EXE", 4}, PosCase{"abcabc", "bc", 2},
                                         PosCase{"abc", "abc", 1}, PosCase{"abc", "abcd", 0},
                                         PosCase{"ABC", "b", 0}, // case-sensitive
                                         PosCase{"abc", "", 0}, PosCase{"", "a", 0}, PosCase{"", "", 0}));

struct DeleteCase {
    const char* text;
    int index;
    int count;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const DeleteCase& c) {
    return out << '"' << Printable(c.text) << "\" at " << c.index << " count " << c.count;
}

class DeleteTest : public testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteTest, RemovesCountAtOneBasedIndex) {
    const DeleteCase& c = GetParam();
    AnsiString text(c.text);
    text.Delete(c.index, c.count);
    EXPECT_EQ(text, AnsiString(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, DeleteTest,
                         testing::Values(DeleteCase{"\"C:\\x\"", 1, 1, "C:\\x\""},
                                         DeleteCase{"abcdef", 2, 3, "aef"},
                                         DeleteCase{"abcdef", 4, 99, "abc"}, DeleteCase{"abc", 0, 1, "abc"},
                                         DeleteCase{"abc", 4, 1, "abc"}, DeleteCase{"abc", 2, -1, "abc"},
                                         DeleteCase{"", 1, 1, ""}));

TEST(AnsiStringTest, UpperCaseKeepsLengthAndPositions) {
    const AnsiString value("\"c:\\Apps\\remove.exe\" /x");
    const AnsiString upper = value.UpperCase();
    EXPECT_EQ(upper, AnsiString("\"C:\\APPS\\REMOVE.EXE\" /X"));
    EXPECT_EQ(upper.Length(), value.Length());
    EXPECT_EQ(value, AnsiString("\"c:\\Apps\\remove.exe\" /x")) << "the original is left as it was";
}

TEST(AnsiStringTest, KeepsEmbeddedZeroBytesAndCountsThem) {
    const AnsiString value("ab\0cd", 5);
    EXPECT_EQ(value.Length(), 5);
    EXPECT_EQ(value.SubString(4, 2), AnsiString("cd"));
    EXPECT_EQ(value.UpperCase().Length(), 5);
}

TEST(AnsiStringTest, ConcatenatesAndComparesByValue) {
    AnsiString dir("C:\\Apps\\");
    const AnsiString copy = dir;
    dir += "UDF\\";
    EXPECT_EQ(dir, AnsiString("C:\\Apps\\UDF\\"));
    EXPECT_EQ(copy, AnsiString("C:\\Apps\\")) << "assignment copies";
    EXPECT_EQ(copy + "bin\\" + "Corvadmin.exe", AnsiString("C:\\Apps\\bin\\Corvadmin.exe"));
    EXPECT_NE(AnsiString("abc"), AnsiString("ABC"));
    EXPECT_EQ(AnsiString() + AnsiString(), AnsiString(""));
}

TEST(AnsiStringTest, EmptyTextGivesAnEmptyCString) {
    const AnsiString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.Length(), 0);
    ASSERT_NE(empty.c_str(), nullptr);
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_TRUE(AnsiString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(AnsiStringTest, AllocationFailureSurfacesAsEOutOfMemory) {
    AnsiString big = AnsiString::StringOfChar('x', 1 << 20);
    EXPECT_EQ(big.Length(), 1 << 20);
    if (sizeof(void*) > 4) {
        GTEST_SKIP() << "a 64-bit test build can have two gigabytes: only the 32-bit launcher cannot";
    }
    // Two gigabytes can never be had by a 32-bit process.
    EXPECT_THROW(AnsiString::StringOfChar('x', 0x7FFFFFF0), EOutOfMemory);
}

} // namespace
