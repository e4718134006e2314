#include "FileCopy.h"
#include "DirectoryTest.h"
#include "Handles.h"
#include "Printers.h"
#include "SearchRec.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>

namespace {

// Windows refuses to move over a read-only or hidden file; Wine running as root does not. These
// calls refuse as Windows would, and move otherwise.
ReplaceCalls RefusingAsWindowsDoes() {
    ReplaceCalls calls;
    calls.moveFileEx = [](LPCSTR existingFile, LPCSTR newFile, DWORD flags) {
        const DWORD target = newFile != nullptr ? GetFileAttributesA(newFile) : INVALID_FILE_ATTRIBUTES;
        if ((flags & MOVEFILE_DELAY_UNTIL_REBOOT) == 0 && target != INVALID_FILE_ATTRIBUTES &&
            (target & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        return MoveFileExA(existingFile, newFile, flags);
    };
    return calls;
}

// Every move refused, the one for the restart too (no administrator rights).
ReplaceCalls AlwaysRefused() {
    ReplaceCalls calls;
    calls.moveFileEx = [](LPCSTR, LPCSTR, DWORD) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    };
    return calls;
}

// The real calls, except that nothing is scheduled for the restart: that is refused, as without
// administrator rights, so that no test leaves work in the prefix's PendingFileRenameOperations.
ReplaceCalls WithoutRestart() {
    ReplaceCalls calls;
    calls.moveFileEx = [](LPCSTR existingFile, LPCSTR newFile, DWORD flags) {
        if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        return MoveFileExA(existingFile, newFile, flags);
    };
    return calls;
}

TEST(IsExistingDirectoryTest, NamesOnlyExistingDirectories) {
    TempDir dir("exists");
    ASSERT_TRUE(WriteBytes(dir.Path() + "file.txt", "x"));
    const std::string withoutBackslash = dir.Path().substr(0, dir.Path().size() - 1);

    EXPECT_TRUE(IsExistingDirectory(dir.Path().c_str()));
    EXPECT_TRUE(IsExistingDirectory(withoutBackslash.c_str()));
    EXPECT_FALSE(IsExistingDirectory((dir.Path() + "file.txt").c_str()));
    EXPECT_FALSE(IsExistingDirectory((dir.Path() + "file.txt\\").c_str()));
    EXPECT_FALSE(IsExistingDirectory((dir.Path() + "nothing\\").c_str()));
    EXPECT_FALSE(IsExistingDirectory(""));
}

struct EntryCase {
    const char* name;
    DWORD attributes;
    bool copied;
};

std::ostream& operator<<(std::ostream& out, const EntryCase& c) {
    return out << c.name << " 0x" << std::hex << c.attributes;
}

class IsCopiedEntryTest : public testing::TestWithParam<EntryCase> {};

// Wine reports every plain file with the archive bit at least, so 0x80 (normal) and the NTFS-only
// bits cannot be made on disk here: the decision itself is tested.
TEST_P(IsCopiedEntryTest, CopiesEveryEntryThatIsNoDirectory) {
    EXPECT_EQ(IsCopiedEntry(GetParam().name, GetParam().attributes), GetParam().copied);
}

INSTANTIATE_TEST_SUITE_P(Table, IsCopiedEntryTest,
                         testing::Values(EntryCase{"Forms.udf", 0x20, true},  // archive
                                         EntryCase{"Forms.udf", 0x80, true},  // normal: no classic bit
                                         EntryCase{"Forms.udf", 0x820, true}, // compressed
                                         EntryCase{"Forms.udf", 0x2021, true},
                                         EntryCase{"Forms.udf", 0x4000, true},
                                         EntryCase{"Forms.udf", 0x07, true}, // read-only, hidden, system
                                         EntryCase{"Sub", 0x10, false}, EntryCase{"Sub", 0x12, false},
                                         EntryCase{".", 0x10, false}, EntryCase{"..", 0x10, false}));

// A source folder with every kind of entry the patch may hold, and a target folder with files of
// the same names already installed.
class CopyDirectoryFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"archive.udf", "readonly.udf", "hidden.udf", "system.udf", "notes.txt"}) {
            ASSERT_TRUE(WriteBytes(source.Path() + name, std::string("new ") + name));
        }
        ASSERT_TRUE(MakeDirs(source.Path() + "Sub"));
        ASSERT_TRUE(WriteBytes(source.Path() + "Sub\\inner.udf", "inner"));
        SetFileAttributesA((source.Path() + "readonly.udf").c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA((source.Path() + "hidden.udf").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((source.Path() + "system.udf").c_str(), FILE_ATTRIBUTE_SYSTEM);

        ASSERT_TRUE(WriteBytes(target.Path() + "archive.udf", "old archive.udf"));
        ASSERT_TRUE(WriteBytes(target.Path() + "readonly.udf", "old readonly.udf"));
        SetFileAttributesA((target.Path() + "readonly.udf").c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(WriteBytes(target.Path() + "hidden.udf", "old hidden.udf"));
        SetFileAttributesA((target.Path() + "hidden.udf").c_str(), FILE_ATTRIBUTE_HIDDEN);
        ASSERT_TRUE(WriteBytes(target.Path() + "kept.udf", "installed, not in the patch"));
    }

    std::string Target(const std::string& name) const {
        return ReadBytes(target.Path() + name).value_or("(missing)");
    }

    TempDir source{"Patch UDF"};
    TempDir target{"Installed UDF"};
};

// Run with the real calls and with the stand-in that refuses protected targets as Windows does.
struct Copier {
    const char* name;
    ReplaceCalls (*calls)();
};

std::ostream& operator<<(std::ostream& out, const Copier& c) {
    return out << c.name;
}

class CopyEveryPlainFileTest : public CopyDirectoryFilesTest, public testing::WithParamInterface<Copier> {};

TEST_P(CopyEveryPlainFileTest, CopiesEveryPlainFileAndReplacesProtectedTargets) {
    const CopyTally tally =
        CopyDirectoryFiles(source.Path().c_str(), target.Path().c_str(), "*.*", GetParam().calls());
    EXPECT_EQ(tally.failed, 0);
    EXPECT_EQ(tally.pending, 0);
    EXPECT_EQ(tally.copied, 5);
    for (const char* name : {"archive.udf", "readonly.udf", "hidden.udf", "system.udf", "notes.txt"}) {
        EXPECT_EQ(Target(name), std::string("new ") + name);
    }
    EXPECT_EQ(Target("kept.udf"), "installed, not in the patch");
    EXPECT_FALSE(Exists(target.Path() + "Sub")) << "a subdirectory is neither created nor descended into";
    EXPECT_FALSE(Exists(target.Path() + "inner.udf"));
}

INSTANTIATE_TEST_SUITE_P(Copy, CopyEveryPlainFileTest,
                         testing::Values(Copier{"WindowsCalls", [] { return ReplaceCalls(); }},
                                         Copier{"RefusingLikeWindows", RefusingAsWindowsDoes}));

TEST_F(CopyDirectoryFilesTest, MaskSelectsTheNamesCopied) {
    EXPECT_EQ(CopyDirectoryFiles(source.Path().c_str(), target.Path().c_str(), "*.txt").copied, 1);
    EXPECT_EQ(Target("notes.txt"), "new notes.txt");
    EXPECT_EQ(Target("archive.udf"), "old archive.udf");
    EXPECT_FALSE(Exists(target.Path() + "system.udf"));
}

TEST_F(CopyDirectoryFilesTest, MissingOrEmptySourceTriesNothing) {
    TempDir empty("empty");
    EXPECT_EQ(CopyDirectoryFiles((source.Path() + "Missing\\").c_str(), target.Path().c_str(), "*.*").copied,
              0);
    EXPECT_EQ(CopyDirectoryFiles(empty.Path().c_str(), target.Path().c_str(), "*.*").copied, 0);
    EXPECT_EQ(CopyDirectoryFiles(source.Path().c_str(), target.Path().c_str(), "*.none").copied, 0);
    EXPECT_EQ(Target("archive.udf"), "old archive.udf");
}

TEST_F(CopyDirectoryFilesTest, FailedCopiesAreCountedAndDoNotStopTheOthers) {
    // Held open without sharing, as by another process: neither replaced nor renamed, and (here)
    // not scheduled for the restart either.
    UniqueHandle held(CreateFileA((target.Path() + "archive.udf").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());

    const CopyTally tally =
        CopyDirectoryFiles(source.Path().c_str(), target.Path().c_str(), "*.*", WithoutRestart());
    held.reset();
    EXPECT_EQ(tally.failed, 1);
    EXPECT_EQ(tally.copied, 4);
    EXPECT_EQ(Target("archive.udf"), "old archive.udf");
    EXPECT_EQ(Target("notes.txt"), "new notes.txt");
    EXPECT_EQ(Target("system.udf"), "new system.udf");
}

TEST_F(CopyDirectoryFilesTest, MissingTargetFolderIsNotCreated) {
    const std::string missing = target.Path() + "Missing\\";
    EXPECT_EQ(CopyDirectoryFiles(source.Path().c_str(), missing.c_str(), "*.*").failed, 5);
    EXPECT_FALSE(Exists(missing));
}

TEST(CopyFileReplacingTest, ClearsProtectionOnlyWhenTheMoveIsRefused) {
    TempDir dir("single");
    const std::string source = dir.Path() + "Corvadmin.new";
    const std::string target = dir.Path() + "Corvadmin.exe";
    ASSERT_TRUE(WriteBytes(source, "corrected"));
    ASSERT_TRUE(WriteBytes(target, "faulty"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    // A missing source is no refusal: the installed file keeps its attributes and content.
    EXPECT_EQ(
        ReplaceFileSafely((dir.Path() + "missing.exe").c_str(), target.c_str(), RefusingAsWindowsDoes()),
        CopyOutcome::Failed);
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    // Refused for good: reported as a failure, and the installed file keeps its protection.
    EXPECT_EQ(ReplaceFileSafely(source.c_str(), target.c_str(), AlwaysRefused()), CopyOutcome::Failed);
    EXPECT_EQ(ReadBytes(target).value_or(""), "faulty");
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    // Refused once for the protection, then moved.
    EXPECT_EQ(ReplaceFileSafely(source.c_str(), target.c_str(), RefusingAsWindowsDoes()),
              CopyOutcome::Copied);
    EXPECT_EQ(ReadBytes(target).value_or(""), "corrected");
}

TEST(SearchRecTest, LeavesOutSpecialEntriesUnlessAskedFor) {
    TempDir dir("search");
    ASSERT_TRUE(WriteBytes(dir.Path() + "plain.udf", "x"));
    ASSERT_TRUE(WriteBytes(dir.Path() + "hidden.udf", "x"));
    SetFileAttributesA((dir.Path() + "hidden.udf").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(MakeDirs(dir.Path() + "Sub"));

    struct Case {
        DWORD attributeSet;
        std::set<std::string> expected;
    };
    for (const Case& c :
         {Case{0x00, {"plain.udf"}}, Case{0x20, {"plain.udf"}}, Case{0x02, {"plain.udf", "hidden.udf"}},
          Case{0x3F, {".", "..", "Sub", "plain.udf", "hidden.udf"}}}) {
        std::set<std::string> found;
        TSearchRec entry;
        for (bool more = entry.FindFirst((dir.Path() + "*.*").c_str(), c.attributeSet); more;
             more = entry.FindNext()) {
            found.insert(entry.Name.str());
        }
        EXPECT_EQ(found, c.expected) << "attribute set 0x" << std::hex << c.attributeSet;
    }
    TSearchRec none;
    EXPECT_FALSE(none.FindFirst((dir.Path() + "Missing\\*.*").c_str(), 0x3F));
}

} // namespace
