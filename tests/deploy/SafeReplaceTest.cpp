// The safe replacement of one installed file: the ladder as a pure table, then the same ladder
// walked on real files with each Windows call of a step made to fail in turn.
#include "SafeReplace.h"
#include "FileCopy.h"
#include "Handles.h"
#include "Printers.h"
#include "SearchRec.h"
#include "TargetFolder.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <vector>

namespace {

const char* StepName(ReplaceStep step) {
    switch (step) {
    case ReplaceStep::CopyToTemporary:
        return "CopyToTemporary";
    case ReplaceStep::Flush:
        return "Flush";
    case ReplaceStep::MoveOver:
        return "MoveOver";
    case ReplaceStep::UnprotectAndMove:
        return "UnprotectAndMove";
    case ReplaceStep::RenameAside:
        return "RenameAside";
    case ReplaceStep::MoveIn:
        return "MoveIn";
    case ReplaceStep::RenameBack:
        return "RenameBack";
    case ReplaceStep::ScheduleReplacement:
        return "ScheduleReplacement";
    case ReplaceStep::Copied:
        return "Copied";
    case ReplaceStep::Pending:
        return "Pending";
    case ReplaceStep::Failed:
        return "Failed";
    }
    return "?";
}

constexpr DWORD ok = ERROR_SUCCESS;
constexpr DWORD denied = ERROR_ACCESS_DENIED;
constexpr DWORD sharing = ERROR_SHARING_VIOLATION;
constexpr DWORD diskFull = ERROR_DISK_FULL;
constexpr DWORD noSource = ERROR_FILE_NOT_FOUND;

TargetFacts Plain() {
    return TargetFacts{};
}
TargetFacts Protected() {
    TargetFacts facts;
    facts.isProtected = true;
    return facts;
}
TargetFacts Missing() {
    TargetFacts facts;
    facts.exists = false;
    return facts;
}
TargetFacts Remote() {
    TargetFacts facts;
    facts.onNetworkShare = true;
    return facts;
}

struct LadderCase {
    ReplaceStep step;
    DWORD error;
    TargetFacts target;
    ReplaceStep next;
};

std::ostream& operator<<(std::ostream& out, const LadderCase& c) {
    return out << StepName(c.step) << " error " << c.error << " exists " << c.target.exists << " protected "
               << c.target.isProtected << " remote " << c.target.onNetworkShare;
}

class ReplaceLadderTest : public testing::TestWithParam<LadderCase> {};

TEST_P(ReplaceLadderTest, NextStepFollowsWhatTheSystemReported) {
    EXPECT_STREQ(StepName(NextReplaceStep(GetParam().step, GetParam().error, GetParam().target)),
                 StepName(GetParam().next));
}

using S = ReplaceStep;
INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceLadderTest,
    testing::Values(
        // The temporary copy: anything but success fails at once (source missing, disk full).
        LadderCase{S::CopyToTemporary, ok, Plain(), S::Flush},
        LadderCase{S::CopyToTemporary, noSource, Plain(), S::Failed},
        LadderCase{S::CopyToTemporary, diskFull, Plain(), S::Failed},
        LadderCase{S::CopyToTemporary, denied, Plain(), S::Failed},
        LadderCase{S::Flush, ok, Plain(), S::MoveOver}, LadderCase{S::Flush, diskFull, Plain(), S::Failed},
        // The move over the target.
        LadderCase{S::MoveOver, ok, Plain(), S::Copied}, LadderCase{S::MoveOver, ok, Missing(), S::Copied},
        LadderCase{S::MoveOver, denied, Protected(), S::UnprotectAndMove},
        LadderCase{S::MoveOver, sharing, Protected(), S::UnprotectAndMove},
        LadderCase{S::MoveOver, denied, Plain(), S::RenameAside},
        LadderCase{S::MoveOver, sharing, Plain(), S::RenameAside},
        LadderCase{S::MoveOver, denied, Missing(), S::ScheduleReplacement},
        LadderCase{S::MoveOver, denied, Remote(), S::RenameAside},
        LadderCase{S::MoveOver, diskFull, Plain(), S::Failed},
        LadderCase{S::MoveOver, diskFull, Protected(), S::Failed},
        // The protection cleared once: a second refusal is not about the attributes.
        LadderCase{S::UnprotectAndMove, ok, Protected(), S::Copied},
        LadderCase{S::UnprotectAndMove, denied, Protected(), S::RenameAside},
        LadderCase{S::UnprotectAndMove, sharing, Protected(), S::RenameAside},
        LadderCase{S::UnprotectAndMove, diskFull, Protected(), S::Failed},
        // Renamed aside: the path of a running program.
        LadderCase{S::RenameAside, ok, Plain(), S::MoveIn},
        LadderCase{S::RenameAside, sharing, Plain(), S::ScheduleReplacement},
        LadderCase{S::RenameAside, denied, Plain(), S::ScheduleReplacement},
        LadderCase{S::RenameAside, sharing, Remote(), S::Failed},
        LadderCase{S::RenameAside, diskFull, Plain(), S::Failed},
        LadderCase{S::MoveIn, ok, Plain(), S::Copied}, LadderCase{S::MoveIn, denied, Plain(), S::RenameBack},
        LadderCase{S::MoveIn, diskFull, Plain(), S::RenameBack},
        LadderCase{S::RenameBack, ok, Plain(), S::ScheduleReplacement},
        LadderCase{S::RenameBack, denied, Plain(), S::ScheduleReplacement},
        LadderCase{S::RenameBack, ok, Remote(), S::Failed},
        // The restart: refused without administrator rights, impossible on a network share.
        LadderCase{S::ScheduleReplacement, ok, Plain(), S::Pending},
        LadderCase{S::ScheduleReplacement, denied, Plain(), S::Failed},
        LadderCase{S::MoveOver, sharing, Missing(), S::ScheduleReplacement},
        LadderCase{S::MoveOver, sharing,
                   [] {
                       TargetFacts facts = Missing();
                       facts.onNetworkShare = true;
                       return facts;
                   }(),
                   S::Failed},
        // An outcome stays an outcome.
        LadderCase{S::Copied, denied, Plain(), S::Copied}, LadderCase{S::Pending, ok, Plain(), S::Pending},
        LadderCase{S::Failed, ok, Plain(), S::Failed}));

TEST(ReplaceLadderStartTest, LinksAreNeverWrittenThrough) {
    TargetFacts link;
    link.isReparsePoint = true;
    EXPECT_EQ(FirstReplaceStep(link), ReplaceStep::Failed);
    EXPECT_EQ(FirstReplaceStep(Plain()), ReplaceStep::CopyToTemporary);
    EXPECT_EQ(FirstReplaceStep(Missing()), ReplaceStep::CopyToTemporary);
    EXPECT_EQ(OutcomeOf(ReplaceStep::Copied), CopyOutcome::Copied);
    EXPECT_EQ(OutcomeOf(ReplaceStep::Pending), CopyOutcome::Pending);
    EXPECT_EQ(OutcomeOf(ReplaceStep::Failed), CopyOutcome::Failed);
}

// ---- the ladder walked on real files ----------------------------------------------------------

// How the installed file stands when the patch comes.
enum class Target {
    Plain,
    Missing,  // a new file of the patch
    ReadOnly, // refuses the move as Windows does (Wine as root would not)
    Running,  // a running program: refuses to be replaced, may be renamed (as Windows and Wine do)
    Held,     // held open without sharing by another process: neither replaced nor renamed
    ReadOnlyHeld,
    Link, // reported as a reparse point (Wine cannot make a file link)
};

// Calls made to fail, with the error Windows would give.
enum Fault : unsigned {
    None = 0,
    TempName = 1,       // GetTempFileNameA (no room for a new name)
    Copy = 2,           // CopyFileA into the temporary file (disk full)
    Flush = 4,          // FlushFileBuffers
    MoveOverFull = 8,   // the first move fails, not as a refusal
    SetAttributes = 16, // the protection cannot be cleared
    MoveIn = 32,        // the move after the rename aside
    RenameBack = 64,
    Schedule = 128, // no administrator rights for PendingFileRenameOperations
};

enum class Content { Installed, Corrected, Absent };

struct WalkCase {
    const char* name;
    Target target;
    unsigned faults;
    CopyOutcome outcome;
    Content content;
    int temporariesLeft; // cvl*.tmp files beside the target afterwards
    int scheduledReplacements;
    int scheduledDeletions;
};

std::ostream& operator<<(std::ostream& out, const WalkCase& c) {
    return out << c.name;
}

struct Scheduled {
    std::string from;
    std::string to; // empty: deleted at the restart
};

class ReplaceWalkTest : public testing::TestWithParam<WalkCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WriteBytes(source, "corrected"));
        if (GetParam().target != Target::Missing) {
            ASSERT_TRUE(WriteBytes(target, "installed"));
        }
        if (GetParam().target == Target::ReadOnly || GetParam().target == Target::ReadOnlyHeld) {
            ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
        }
        if (GetParam().target == Target::Held || GetParam().target == Target::ReadOnlyHeld) {
            held.reset(CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(held.valid());
        }
    }

    bool Fails(Fault fault) const { return (GetParam().faults & fault) != 0; }

    static BOOL Fail(DWORD error) {
        SetLastError(error);
        return FALSE;
    }

    bool IsTarget(LPCSTR path) const { return lstrcmpiA(path, target.c_str()) == 0; }

    // The system as Windows behaves for the case's target, with the case's faults.
    ReplaceCalls Calls() {
        ReplaceCalls calls;
        calls.getTempFileName = [this](LPCSTR dir, LPCSTR prefix, UINT unique, LPSTR name) -> UINT {
            if (Fails(TempName)) {
                SetLastError(ERROR_DISK_FULL);
                return 0;
            }
            return GetTempFileNameA(dir, prefix, unique, name);
        };
        calls.copyFile = [this](LPCSTR from, LPCSTR to, BOOL failIfExists) {
            return Fails(Copy) ? Fail(ERROR_DISK_FULL) : CopyFileA(from, to, failIfExists);
        };
        calls.flushFile = [this](LPCSTR path) {
            return Fails(Flush) ? Fail(ERROR_WRITE_FAULT) : FlushFileToDisk(path);
        };
        calls.getFileAttributes = [this](LPCSTR path) {
            const DWORD attributes = GetFileAttributesA(path);
            return GetParam().target == Target::Link && IsTarget(path)
                       ? attributes | FILE_ATTRIBUTE_REPARSE_POINT
                       : attributes;
        };
        calls.setFileAttributes = [this](LPCSTR path, DWORD attributes) {
            return Fails(SetAttributes) && IsTarget(path) ? Fail(ERROR_ACCESS_DENIED)
                                                          : SetFileAttributesA(path, attributes);
        };
        calls.moveFileEx = [this](LPCSTR from, LPCSTR to, DWORD flags) { return Move(from, to, flags); };
        return calls;
    }

    BOOL Move(LPCSTR from, LPCSTR to, DWORD flags) {
        if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
            if (Fails(Schedule)) {
                return Fail(ERROR_ACCESS_DENIED);
            }
            scheduled.push_back(Scheduled{from, to != nullptr ? to : ""});
            return TRUE;
        }
        if (IsTarget(to)) {
            if (movedAside) {
                const bool back = lstrcmpiA(from, asideName.c_str()) == 0;
                return Fails(back ? RenameBack : MoveIn) ? Fail(ERROR_ACCESS_DENIED)
                                                         : MoveFileExA(from, to, flags);
            }
            if (Exists(target)) {
                if (Fails(MoveOverFull) && !movedOverOnce) {
                    movedOverOnce = true;
                    return Fail(ERROR_DISK_FULL);
                }
                if (GetParam().target == Target::Running ||
                    (GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY) != 0) {
                    return Fail(ERROR_ACCESS_DENIED);
                }
            }
            return MoveFileExA(from, to, flags); // a file held open is refused by Wine itself
        }
        if (IsTarget(from)) {
            const BOOL renamed = MoveFileExA(from, to, flags);
            if (renamed) {
                movedAside = true;
                asideName = to;
            }
            return renamed;
        }
        return MoveFileExA(from, to, flags);
    }

    int Temporaries() const {
        int count = 0;
        TSearchRec entry;
        for (bool found = entry.FindFirst((folder.Path() + "*.*").c_str(), 0x3F); found;
             found = entry.FindNext()) {
            if (IsTemporaryName(entry.Name)) {
                ++count;
            }
        }
        return count;
    }

    int Count(bool deletions) const {
        int count = 0;
        for (const Scheduled& s : scheduled) {
            count += s.to.empty() == deletions ? 1 : 0;
        }
        return count;
    }

    const TempDir sourceDir{"Patch"};
    const TempDir folder{"Installed bin"};
    const std::string source = sourceDir.Path() + "Corvadmin.exe";
    const std::string target = folder.Path() + "Corvadmin.exe";
    UniqueHandle held;
    std::vector<Scheduled> scheduled;
    bool movedAside = false;
    bool movedOverOnce = false;
    std::string asideName;
};

TEST_P(ReplaceWalkTest, EndsAsTheLadderSaysAndLeavesNothingBehind) {
    const WalkCase& c = GetParam();
    const DWORD attributesBefore = GetFileAttributesA(target.c_str());
    EXPECT_EQ(ReplaceFileSafely(source.c_str(), target.c_str(), Calls()), c.outcome);
    held.reset();

    switch (c.content) {
    case Content::Installed:
        EXPECT_EQ(ReadBytes(target).value_or("(absent)"), "installed");
        if (c.outcome == CopyOutcome::Failed) {
            EXPECT_EQ(GetFileAttributesA(target.c_str()), attributesBefore) << "attributes put back";
        }
        break;
    case Content::Corrected:
        EXPECT_EQ(ReadBytes(target).value_or("(absent)"), "corrected");
        break;
    case Content::Absent:
        EXPECT_FALSE(Exists(target));
        break;
    }
    EXPECT_EQ(Temporaries(), c.temporariesLeft);
    EXPECT_EQ(Count(false), c.scheduledReplacements);
    EXPECT_EQ(Count(true), c.scheduledDeletions);
    // Whatever is scheduled names files that are there to be moved or deleted at the restart.
    for (const Scheduled& s : scheduled) {
        EXPECT_TRUE(Exists(s.from)) << s.from;
        EXPECT_TRUE(IsTemporaryName(s.from.substr(s.from.find_last_of('\\') + 1).c_str())) << s.from;
        if (!s.to.empty()) {
            EXPECT_EQ(lstrcmpiA(s.to.c_str(), target.c_str()), 0);
            EXPECT_EQ(ReadBytes(s.from).value_or(""), "corrected") << "the scheduled file is complete";
        }
    }
    EXPECT_TRUE(Exists(source)) << "the source is copied, never moved";
}

using O = CopyOutcome;
using C = Content;
INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceWalkTest,
    testing::Values(
        WalkCase{"PlainTarget", Target::Plain, None, O::Copied, C::Corrected, 0, 0, 0},
        WalkCase{"NewFile", Target::Missing, None, O::Copied, C::Corrected, 0, 0, 0},
        WalkCase{"NoTemporaryName", Target::Plain, TempName, O::Failed, C::Installed, 0, 0, 0},
        WalkCase{"CopyFails", Target::Plain, Copy, O::Failed, C::Installed, 0, 0, 0},
        WalkCase{"NewFileCopyFails", Target::Missing, Copy, O::Failed, C::Absent, 0, 0, 0},
        WalkCase{"FlushFails", Target::Plain, Flush, O::Failed, C::Installed, 0, 0, 0},
        WalkCase{"MoveFailsNotRefused", Target::Plain, MoveOverFull, O::Failed, C::Installed, 0, 0, 0},
        // Windows refuses to move over a read-only file; Wine as root does not: shown here.
        WalkCase{"ReadOnlyTarget", Target::ReadOnly, None, O::Copied, C::Corrected, 0, 0, 0},
        WalkCase{"ReadOnlyTargetWhoseProtectionStays", Target::ReadOnly, SetAttributes, O::Copied,
                 C::Corrected, 1, 0, 1},
        WalkCase{"RunningProgram", Target::Running, None, O::Copied, C::Corrected, 1, 0, 1},
        WalkCase{"RunningProgramMoveInFails", Target::Running, MoveIn, O::Pending, C::Installed, 1, 1, 0},
        WalkCase{"RunningProgramNoRenameBack", Target::Running, MoveIn | RenameBack, O::Pending, C::Absent, 2,
                 1, 1},
        WalkCase{"RunningProgramNoRestart", Target::Running, MoveIn | Schedule, O::Failed, C::Installed, 0, 0,
                 0},
        WalkCase{"HeldOpen", Target::Held, None, O::Pending, C::Installed, 1, 1, 0},
        WalkCase{"HeldOpenNoRestart", Target::Held, Schedule, O::Failed, C::Installed, 0, 0, 0},
        WalkCase{"ReadOnlyHeldOpen", Target::ReadOnlyHeld, None, O::Pending, C::Installed, 1, 1, 0},
        WalkCase{"ReadOnlyHeldOpenNoRestart", Target::ReadOnlyHeld, Schedule, O::Failed, C::Installed, 0, 0,
                 0},
        // Wine cannot make a file that is a reparse point: the attribute is reported by the stand-in.
        WalkCase{"TargetIsALink", Target::Link, None, O::Failed, C::Installed, 0, 0, 0}),
    [](const testing::TestParamInfo<WalkCase>& param) { return param.param.name; });

// On Windows a temporary copy of a read-only source is read-only itself, and DeleteFileA refuses
// such a file. Wine's CopyFileA over the file GetTempFileNameA made does not carry the attribute
// over, so the copy here does what Windows' does.
TEST(ReplaceFileSafelyTest, ReadOnlySourceLeavesNoTemporaryWhenTheMoveFails) {
    const TempDir sourceDir("Patch");
    const TempDir folder("Installed UDF");
    const std::string source = sourceDir.Path() + "Forms.udf";
    const std::string target = folder.Path() + "Forms.udf";
    ASSERT_TRUE(WriteBytes(source, "corrected"));
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteBytes(target, "installed"));
    ReplaceCalls calls;
    calls.copyFile = [](LPCSTR from, LPCSTR to, BOOL failIfExists) {
        return CopyFileA(from, to, failIfExists) && SetFileAttributesA(to, GetFileAttributesA(from));
    };
    std::string temporary;
    DWORD temporaryAttributes = 0;
    calls.moveFileEx = [&](LPCSTR from, LPCSTR, DWORD) {
        temporary = from;
        temporaryAttributes = GetFileAttributesA(from);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    };

    EXPECT_EQ(ReplaceFileSafely(source.c_str(), target.c_str(), calls), CopyOutcome::Failed);
    ASSERT_FALSE(temporary.empty());
    EXPECT_NE(temporaryAttributes & FILE_ATTRIBUTE_READONLY, 0u) << "the temporary copy was read-only";
    EXPECT_FALSE(Exists(temporary)) << temporary;
    EXPECT_EQ(ReadBytes(target).value_or(""), "installed");
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ReplaceFileSafelyTest, ReadOnlySourceIsCopied) {
    const TempDir dir("ro");
    const std::string source = dir.Path() + "source.udf";
    const std::string target = dir.Path() + "Forms.udf";
    ASSERT_TRUE(WriteBytes(source, "corrected"));
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ReplaceFileSafely(source.c_str(), target.c_str()), CopyOutcome::Copied);
    EXPECT_EQ(ReadBytes(target).value_or(""), "corrected");
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// ---- names and leftovers ----------------------------------------------------------------------

TEST(TemporaryNameTest, MatchesOnlyTheReplacementsOwnPattern) {
    struct Case {
        const char* name;
        bool temporary;
    };
    for (const Case& c :
         {Case{"cvl1A2B.tmp", true}, Case{"CVLFFFF.TMP", true}, Case{"cvl0.tmp", true},
          Case{"Forms.udf", false}, Case{"Forms.udf~", false}, Case{"cvl.tmp", false},
          Case{"cvl1A2B.udf", false}, Case{"xcvl1.tmp", false}, Case{"Corvadmin.exe", false}}) {
        EXPECT_EQ(IsTemporaryName(c.name), c.temporary) << c.name;
    }
}

TEST(TemporaryNameTest, NamesMadeForUseAreShortAndNeverOfTheProductsPatterns) {
    const TempDir dir("names");
    std::vector<char> name(MAX_PATH + 1);
    ASSERT_NE(GetTempFileNameA(dir.Path().c_str(), temporaryPrefix, 0, name.data()), 0u);
    const std::string made(name.data());
    const std::string file = made.substr(made.find_last_of('\\') + 1);
    EXPECT_TRUE(IsTemporaryName(file.c_str())) << file;
    EXPECT_LE(file.size(), 12u) << "an 8.3 name: a target near MAX_PATH still fits";
    std::vector<char> shortName(MAX_PATH + 1);
    ASSERT_NE(GetShortPathNameA(made.c_str(), shortName.data(), MAX_PATH), 0u);
    for (const std::string& n : {made, std::string(shortName.data())}) {
        const std::string upper = AnsiString(n.c_str()).UpperCase().str();
        EXPECT_EQ(upper.find(".UDF"), std::string::npos) << n;
        EXPECT_EQ(upper.find("CORVADMIN"), std::string::npos) << n;
    }
}

TEST(ScheduledPathTest, ReadsBothFormsOfTheRegistryEntries) {
    const std::vector<AnsiString> pending = {"\\??\\C:\\Corvane\\UDF\\cvl12.tmp",
                                             "!\\??\\C:\\Corvane\\UDF\\Forms.udf",
                                             "\\??\\C:\\Corvane\\bin\\cvl9.tmp", ""};
    EXPECT_TRUE(IsScheduledPath("C:\\Corvane\\UDF\\cvl12.tmp", pending));
    EXPECT_TRUE(IsScheduledPath("c:\\corvane\\udf\\CVL12.TMP", pending));
    EXPECT_TRUE(IsScheduledPath("C:\\Corvane\\UDF\\Forms.udf", pending));
    EXPECT_TRUE(IsScheduledPath("C:\\Corvane\\bin\\cvl9.tmp", pending));
    EXPECT_FALSE(IsScheduledPath("C:\\Corvane\\UDF\\cvl13.tmp", pending));
    EXPECT_FALSE(IsScheduledPath("", pending));
    EXPECT_FALSE(IsScheduledPath("C:\\Corvane\\UDF\\cvl12.tmp", {}));
}

TEST(LeftoverTest, TemporariesOfAnInterruptedRunAreDeletedOnTheNext) {
    const TempDir dir("leftovers");
    for (const char* name : {"cvl1.tmp", "CVLAB.TMP", "Forms.udf", "other.tmp", "cvl2.udf"}) {
        ASSERT_TRUE(WriteBytes(dir.Path() + name, "x"));
    }
    ASSERT_TRUE(SetFileAttributesA((dir.Path() + "CVLAB.TMP").c_str(), FILE_ATTRIBUTE_READONLY));
    DeleteLeftoverTemporaries(dir.Path().c_str());
    EXPECT_FALSE(Exists(dir.Path() + "cvl1.tmp"));
    EXPECT_FALSE(Exists(dir.Path() + "CVLAB.TMP")) << "read-only leftovers go too";
    for (const char* name : {"Forms.udf", "other.tmp", "cvl2.udf"}) {
        EXPECT_TRUE(Exists(dir.Path() + name)) << name;
    }
}

// ---- folders that are links ---------------------------------------------------------------------

TEST(WritableFolderTest, RefusesLinksAndWhatIsNoFolder) {
    struct Case {
        bool opened;
        DWORD byHandle;
        DWORD byPath;
        bool writable;
    };
    for (const Case& c : {Case{true, 0x10, 0x10, true}, Case{true, 0x30, 0x11, true},
                          Case{true, 0x10, 0x410, false}, // a Unix symlink under Wine: by path only
                          Case{true, 0x410, 0x10, false}, // a junction on Windows: by handle
                          Case{true, 0x410, 0x410, false}, Case{false, INVALID_FILE_ATTRIBUTES, 0x10, false},
                          Case{true, 0x20, 0x20, false}, Case{true, 0x10, INVALID_FILE_ATTRIBUTES, false}}) {
        EXPECT_EQ(IsWritableFolder(c.opened, c.byHandle, c.byPath), c.writable)
            << std::hex << c.byHandle << " " << c.byPath;
    }
}

TEST(TargetFolderTest, AnExistingFolderIsWritableWithOrWithoutItsBackslash) {
    const TempDir dir("target");
    EXPECT_FALSE(TargetFolder(dir.Path().c_str()).IsRefused());
    EXPECT_FALSE(TargetFolder(dir.Path().substr(0, dir.Path().size() - 1).c_str()).IsRefused());
    EXPECT_TRUE(TargetFolder((dir.Path() + "Missing\\").c_str()).IsRefused());
    ASSERT_TRUE(WriteBytes(dir.Path() + "file", "x"));
    EXPECT_TRUE(TargetFolder((dir.Path() + "file\\").c_str()).IsRefused());
}

// The folder is held so that it cannot be renamed away (and a link put in its place) during the
// copy; files still go into it.
TEST(TargetFolderTest, HeldFolderTakesFilesAndCannotBeRenamed) {
    const TempDir dir("held");
    ASSERT_TRUE(MakeDirs(dir.Path() + "UDF"));
    ASSERT_TRUE(WriteBytes(dir.Path() + "Forms.udf", "corrected"));
    const std::string udf = dir.Path() + "UDF";
    const std::string moved = dir.Path() + "Moved";
    bool renamedWhileHeld = false;
    {
        const TargetFolder folder((udf + "\\").c_str());
        ASSERT_FALSE(folder.IsRefused());
        EXPECT_EQ(
            CopyFileIntoFolder((dir.Path() + "Forms.udf").c_str(), (udf + "\\").c_str(), "Forms.udf").copied,
            1);
        EXPECT_EQ(ReadBytes(udf + "\\Forms.udf").value_or(""), "corrected");
        renamedWhileHeld = MoveFileExA(udf.c_str(), moved.c_str(), 0) != FALSE;
        if (renamedWhileHeld) {
            MoveFileExA(moved.c_str(), udf.c_str(), 0);
        }
    }
    EXPECT_TRUE(MoveFileExA(udf.c_str(), moved.c_str(), 0)) << "released with the guard";
    if (renamedWhileHeld) {
        GTEST_SKIP() << "Wine renames a folder held open without FILE_SHARE_DELETE; Windows refuses it";
    }
}

} // namespace
