#include "search/FileSearch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <ostream>

#include "search/Masks.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"
#include "support/ThrowsMessage.h"
#include "support/Unprivileged.h"

namespace folivar {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

// Records everything a walk reports.
struct Recorder {
    std::vector<std::string> folders;
    std::vector<TFileInformations> found;
    std::vector<std::string> accepted;  // names offered to OnAcceptFile
    std::optional<TStatistics> stats;

    void attach(TFileSearch& search) {
        search.OnChangeFolder = [this](std::string path) { folders.push_back(std::move(path)); };
        search.OnFileFound = [this](TFileInformations info) { found.push_back(std::move(info)); };
        search.OnAcceptFile = [this](TFileInformations info) {
            accepted.push_back(info.Name);
            return true;
        };
        search.OnStatistics = [this](TStatistics s) { stats = s; };
    }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& f : found) {
            result.push_back(f.Path + f.Name);
        }
        std::sort(result.begin(), result.end());
        return result;
    }
    const TFileInformations& named(const std::string& name) const {
        auto it = std::find_if(found.begin(), found.end(),
                               [&](const TFileInformations& f) { return f.Name == name; });
        if (it == found.end()) {
            throw std::runtime_error(name + " was not reported");
        }
        return *it;
    }
};

class Walker : public testing::Test {
protected:
    Walker() {
        search.RootPath = tree.path();
        recorder.attach(search);
    }
    std::string root() const { return tree.path() + "/"; }

    test::TempTree tree;
    TFileSearch search;
    Recorder recorder;
};

// --- walk order and folders ------------------------------------------------

TEST_F(Walker, BreadthFirstEveryFolderOnce) {
    tree.dir("A/A1");
    tree.dir("B");
    search.IncludeSubfolder = true;
    EXPECT_TRUE(search.Search());
    const auto& f = recorder.folders;
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0], tree.path());  // the root exactly as set
    EXPECT_THAT((std::vector<std::string>{f[1], f[2]}),
                UnorderedElementsAre(root() + "A", root() + "B"));
    EXPECT_EQ(f[3], root() + "A/A1");  // after B: breadth-first
}

TEST_F(Walker, WithoutSubfoldersOnlyTheRootIsListedButSubfoldersAreEntries) {
    tree.file("sub/deep.txt");
    search.IncludeSubfolder = false;
    EXPECT_TRUE(search.Search());
    EXPECT_THAT(recorder.folders, ElementsAre(tree.path()));
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "sub"));
    EXPECT_EQ(recorder.stats->DirectoriesFound, 1);
}

TEST_F(Walker, RootWithOrWithoutSeparatorGivesTheSamePaths) {
    tree.file("x.txt");
    for (const std::string& rootPath : {tree.path(), tree.path() + "/"}) {
        Recorder r;
        r.attach(search);
        search.RootPath = rootPath;
        search.Search();
        EXPECT_THAT(r.folders, ElementsAre(rootPath));
        ASSERT_EQ(r.found.size(), 1u);
        EXPECT_EQ(r.found[0].Path, root());
    }
}

TEST_F(Walker, SubfolderRejectedByTheTestsIsStillWalked) {
    tree.file("skip.me/inner.txt");
    search.IncludeSubfolder = true;
    search.ExcludedFiles = {"skip*"};
    search.Search();
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "skip.me/inner.txt"));
}

TEST_F(Walker, EmptyIncludeListReportsNothingButWalksEverything) {
    tree.file("a/b/c.txt");
    search.IncludeSubfolder = true;
    search.FileNames.clear();
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(recorder.folders.size(), 3u);
    EXPECT_THAT(recorder.found, IsEmpty());
    EXPECT_EQ(recorder.stats->FilesFound + recorder.stats->DirectoriesFound +
                  recorder.stats->FoldersWithFiles,
              0);
}

// --- links -----------------------------------------------------------------

TEST_F(Walker, LinkBackIntoTheTreeIsWalkedOnce) {
    tree.file("a/b/photo.jpg");
    tree.symlink("../..", "a/b/up");      // back to the root
    tree.symlink(tree.at("a"), "again");  // a second way into a
    search.IncludeSubfolder = true;
    search.FileNames = {"*.jpg"};
    EXPECT_TRUE(search.Search());
    // links into the tree are no routes: a is listed as "a" whatever the order
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "a/b/photo.jpg"));
    EXPECT_EQ(recorder.folders.size(), 3u);  // the root, a and b, each once
}

TEST_F(Walker, LinkToAFolderOutsideIsFollowed) {
    test::TempTree outside;
    outside.file("far.txt");
    tree.symlink(outside.path(), "link");
    search.IncludeSubfolder = true;
    search.Search();
    EXPECT_THAT(recorder.names(), UnorderedElementsAre(root() + "link", root() + "link/far.txt"));
    EXPECT_EQ(recorder.named("link").Attr & faDirectory, faDirectory);
}

TEST_F(Walker, DanglingLinkIsASystemEntry) {
    tree.symlink("nowhere", "dangling.lnk");
    search.Search();
    ASSERT_EQ(recorder.found.size(), 1u);
    EXPECT_EQ(recorder.found[0].Attr & (faSysFile | faArchive | faDirectory), faSysFile);
}

// --- unreadable folders ----------------------------------------------------

TEST_F(Walker, UnreadableSubfolderIsSkippedCountedAndTheWalkGoesOn) {
    tree.file("a/1.txt");
    tree.file("b/2.txt");
    tree.file("c/3.txt");
    tree.file("b/deeper/4.txt");
    test::FaultyFileSystem fs;
    fs.failOpenDirectory(root() + "b");
    search.IncludeSubfolder = true;
    EXPECT_FALSE(search.Search());
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "a", root() + "a/1.txt", root() + "b",
                                              root() + "c", root() + "c/3.txt"));
    ASSERT_TRUE(recorder.stats.has_value());
    EXPECT_EQ(recorder.stats->FoldersUnreadable, 1);
    EXPECT_EQ(recorder.stats->FilesFound, 2);
    EXPECT_EQ(recorder.stats->FoldersWithFiles, 2);
    // the change of folder is still announced before the listing fails
    EXPECT_THAT(recorder.folders, testing::Contains(root() + "b"));
}

// A folder whose names can be read but that cannot be entered (no search
// permission) is unreadable like one that cannot be read at all; permissions
// count only for a user other than root.
TEST_F(Walker, FolderThatCanBeListedButNotEnteredIsUnreadable) {
    tree.file("a/1.txt");
    tree.file("listed-only/2.txt");
    tree.file("closed/4.txt");
    ::chmod(tree.at("listed-only").c_str(), 0444);  // names, but no status
    ::chmod(tree.at("closed").c_str(), 0);
    tree.openToAll();
    search.IncludeSubfolder = true;
    search.FileNames = {"*.txt"};
    const std::optional<std::string> outcome = test::asUnprivileged([&] {
        Recorder r;
        r.attach(search);
        const bool complete = search.Search();
        std::string text = complete ? "complete" : "incomplete";
        text += ", unreadable " + std::to_string(r.stats ? r.stats->FoldersUnreadable : -1);
        for (const std::string& name : r.names()) {
            text += ", " + name.substr(root().size());
        }
        return text;
    });
    // Before, its files vanished without a word and only "closed" counted.
    if (!outcome) {
        GTEST_SKIP() << "cannot run as another user here";
    }
    EXPECT_EQ(*outcome, "incomplete, unreadable 2, a/1.txt");
}

TEST_F(Walker, UnreadableRootFails) {
    test::FaultyFileSystem fs;
    fs.failOpenDirectory(tree.path());
    EXPECT_FALSE(search.Search());
    EXPECT_EQ(recorder.stats->FoldersUnreadable, 1);
    EXPECT_THAT(recorder.folders, ElementsAre(tree.path()));
}

TEST_F(Walker, MissingOrEmptyRootFailsWithoutWalkingAnythingElse) {
    for (const std::string& rootPath : {tree.at("missing"), std::string()}) {
        Recorder r;
        r.attach(search);
        search.RootPath = rootPath;
        EXPECT_FALSE(search.Search());
        EXPECT_THAT(r.found, IsEmpty());
        EXPECT_EQ(r.stats->FoldersUnreadable, 1);
    }
}

TEST_F(Walker, EmptyFolderIsNotAFailure) {
    tree.dir("empty");
    search.IncludeSubfolder = true;
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(recorder.stats->FoldersUnreadable, 0);
}

// --- acceptance ------------------------------------------------------------

TEST_F(Walker, FolderWithoutDotPassesStarDotStarButAFileDoesNot) {
    tree.dir("Music");
    tree.file("README");
    tree.file("notes.txt");
    search.Search();
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "Music", root() + "notes.txt"));
}

TEST_F(Walker, FolderNeedsAMatchingMaskWithoutStarDotStar) {
    tree.dir("Music");
    tree.dir("Photos");
    search.FileNames = {"p*"};
    search.Search();
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "Photos"));
}

struct AttributeCase {
    const char* what;
    bool readOnly, hidden, system, directory, archive, anyFile;
    std::vector<std::string> expected;
};

void PrintTo(const AttributeCase& c, std::ostream* out) {
    *out << c.what;
}

class Attributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(Attributes, SelectEntries) {
    const AttributeCase& c = GetParam();
    test::TempTree tree;
    tree.file("plain.txt");
    ::chmod(tree.file("locked.txt").c_str(), 0444);
    tree.file(".hidden.txt");
    tree.dir("folder");
    tree.dir(".hiddenfolder");
    ::mkfifo(tree.at("pipe.fifo").c_str(), 0644);
    TFileSearch search;
    search.RootPath = tree.path();
    search.LookForReadOnlyFile = c.readOnly;
    search.LookForHiddenFile = c.hidden;
    search.LookForSystemFile = c.system;
    search.LookForDirectory = c.directory;
    search.LookForArchiveFile = c.archive;
    search.LookForAnyFile = c.anyFile;
    std::vector<std::string> names;
    search.OnFileFound = [&](TFileInformations f) { names.push_back(f.Name); };
    search.Search();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Bits, Attributes,
    testing::Values(
        AttributeCase{"any file: every non-folder",
                      false,
                      false,
                      false,
                      false,
                      false,
                      true,
                      {".hidden.txt", "locked.txt", "pipe.fifo", "plain.txt"}},
        AttributeCase{"archive: regular files",
                      false,
                      false,
                      false,
                      false,
                      true,
                      false,
                      {".hidden.txt", "locked.txt", "plain.txt"}},
        AttributeCase{"read-only", true, false, false, false, false, false, {"locked.txt"}},
        AttributeCase{"hidden: a hidden folder too",
                      false,
                      true,
                      false,
                      false,
                      false,
                      false,
                      {".hidden.txt", ".hiddenfolder"}},
        AttributeCase{"system: neither file nor folder",
                      false,
                      false,
                      true,
                      false,
                      false,
                      false,
                      {"pipe.fifo"}},
        AttributeCase{
            "directory", false, false, false, true, false, false, {".hiddenfolder", "folder"}},
        AttributeCase{"nothing wanted", false, false, false, false, false, false, {}}));

TEST_F(Walker, RecordCarriesNameFolderSizeAttributesAndLocalTimes) {
    test::ScopedTimeZone tz("UTC0");
    tree.file("Holiday.Photo.JPG", std::string(1234, 'x'));
    tree.setTimes("Holiday.Photo.JPG", test::localTime(2005, 1, 2, 3, 4, 5),
                  test::localTime(2004, 7, 9, 13, 14, 15));
    search.Search();
    const TFileInformations& f = recorder.named("Holiday.Photo.JPG");
    EXPECT_EQ(f.Path, root());
    EXPECT_EQ(f.Size, 1234);
    EXPECT_EQ(f.Attr, faArchive);
    const TSystemTime& w = f.LastWriteTime;
    EXPECT_EQ((std::vector<int>{w.Year, w.Month, w.Day, w.Hour, w.Minute, w.Second, w.DayOfWeek}),
              (std::vector<int>{2004, 7, 9, 13, 14, 15, 5}));
    EXPECT_EQ(f.LastAccessTime.Year, 2005);
    EXPECT_EQ(f.LastAccessTime.Day, 2);
}

TEST_F(Walker, NamesWithAnyBytesAreReportedExactly) {
    const std::vector<std::string> names = {"\xff\xfe.bin", "new\nline.txt", "tab\t.txt",
                                            "\xC3\xA9t\xC3\xA9.txt", " lead.txt"};
    for (const auto& n : names) {
        tree.file(n, n);
    }
    search.Search();
    std::vector<std::string> got;
    for (const auto& f : recorder.found) {
        got.push_back(f.Name);
    }
    EXPECT_THAT(got, testing::UnorderedElementsAreArray(names));
}

// --- sizes -----------------------------------------------------------------

TEST_F(Walker, SizesAreWholeSixtyFourBitNumbers) {
    constexpr int64_t threeGiB = 3LL << 30;
    constexpr int64_t fiveGiB = 5LL << 30;
    tree.sparse("three.bin", threeGiB);
    tree.sparse("five.bin", fiveGiB);
    tree.file("empty.bin");
    tree.dir("folder");

    search.Search();
    EXPECT_EQ(recorder.named("three.bin").Size, threeGiB);
    EXPECT_EQ(recorder.named("five.bin").Size, fiveGiB);
    EXPECT_EQ(recorder.named("folder").Size, 0);

    struct Case {
        TSizeFilterKind kind;
        int64_t bound;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {sfkSmallerOrEqualTo, 0, {"empty.bin", "folder"}},   // 3 GiB never reads as negative
        {sfkBiggerOrEqualTo, 1, {"five.bin", "three.bin"}},  // folders have no size
        {sfkBiggerOrEqualTo, fiveGiB, {"five.bin"}},
        {sfkSmallerOrEqualTo, threeGiB, {"empty.bin", "folder", "three.bin"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        search.OnFileFound = [&](TFileInformations f) { names.push_back(f.Name); };
        search.FilterOnSize = true;
        search.SizeFilterKind = c.kind;
        search.SizeFilterSize = c.bound;
        search.Search();
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.expected) << "bound " << c.bound;
    }
}

// --- dates -----------------------------------------------------------------

// One file per case, last written at a local time; the date filter looks at
// the last write time.
struct DateCase {
    const char* what;
    const char* timeZone;
    std::time_t written;  // filled in by the test from the fields below
    int year, month, day, hour, minute;
    TDateFilterKind kind;
    TDateTime first, second;
    bool passes;
};

void PrintTo(const DateCase& c, std::ostream* out) {
    *out << c.what;
}

class DateFilter : public testing::TestWithParam<DateCase> {};

TEST_P(DateFilter, ComparesWholeLocalDays) {
    const DateCase& c = GetParam();
    test::ScopedTimeZone tz(c.timeZone);
    test::TempTree tree;
    tree.file("f.txt");
    const std::time_t written = test::localTime(c.year, c.month, c.day, c.hour, c.minute);
    tree.setTimes("f.txt", written, written);
    TFileSearch search;
    search.RootPath = tree.path();
    search.FilterOnDate = true;
    search.DateFilterFileAccess = dfakModifiedFiles;
    search.DateFilterKind = c.kind;
    search.DateFilterFirstDate = c.first;
    search.DateFilterSecondDate = c.second;
    int found = 0;
    search.OnFileFound = [&](TFileInformations) { ++found; };
    search.Search();
    EXPECT_EQ(found, c.passes ? 1 : 0) << c.what;
}

constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
const TDateTime jan1st2001 = 36892.0;

INSTANTIATE_TEST_SUITE_P(
    Kinds, DateFilter,
    testing::Values(
        DateCase{"between, one day, bounds with a time of day", "UTC0", 0, 2001, 1, 1, 23, 59,
                 dfkBetween, jan1st2001 + 0.9, jan1st2001 + 0.1, true},
        DateCase{"between, first after second", "UTC0", 0, 2001, 1, 1, 12, 0, dfkBetween,
                 jan1st2001 + 1, jan1st2001, false},
        DateCase{"same, just after midnight", "UTC0", 0, 2001, 1, 2, 0, 1, dfkSame, jan1st2001 + 1,
                 0, true},
        DateCase{"same, just before midnight is the day before", "UTC0", 0, 2001, 1, 1, 23, 59,
                 dfkSame, jan1st2001 + 1, 0, false},
        DateCase{"before is strict", "UTC0", 0, 2001, 1, 1, 0, 0, dfkBefore, jan1st2001, 0, false},
        DateCase{"before", "UTC0", 0, 2000, 12, 31, 23, 59, dfkBefore, jan1st2001 + 0.5, 0, true},
        DateCase{"after is strict", "UTC0", 0, 2001, 1, 1, 23, 59, dfkAfter, jan1st2001, 0, false},
        DateCase{"after", "UTC0", 0, 2001, 1, 2, 0, 0, dfkAfter, jan1st2001, 0, true},
        // 29 March 2026: clocks go from 02:00 to 03:00 in this zone
        DateCase{"same day across the spring change, before it", kBerlin, 0, 2026, 3, 29, 1, 30,
                 dfkSame, EncodeDate(2026, 3, 29), 0, true},
        DateCase{"same day across the spring change, after it", kBerlin, 0, 2026, 3, 29, 23, 30,
                 dfkSame, EncodeDate(2026, 3, 29), 0, true},
        // 00:30 summer time on 1 July is 22:30 UTC on 30 June: the local day counts,
        // by the zone's rules on that date
        DateCase{"summer-time file just after midnight", kBerlin, 0, 2026, 7, 1, 0, 30, dfkSame,
                 EncodeDate(2026, 7, 1), 0, true},
        DateCase{"autumn change, the repeated hour", kBerlin, 0, 2026, 10, 25, 2, 30, dfkSame,
                 EncodeDate(2026, 10, 25), 0, true}));

TEST_F(Walker, AnyTimeKindTakesCreationAccessOrWrite) {
    test::ScopedTimeZone tz("UTC0");
    tree.file("old.txt");
    tree.setTimes("old.txt", test::localTime(2003, 12, 25), test::localTime(2004, 7, 9));
    search.FilterOnDate = true;
    search.DateFilterKind = dfkSame;
    struct Case {
        TDateFilterAccessKind access;
        TDateTime day;
        bool passes;
    };
    // the creation (birth or change) time is today, the test's own moment
    const Case cases[] = {{dfakModifiedFiles, EncodeDate(2004, 7, 9), true},
                          {dfakOpenedFiles, EncodeDate(2004, 7, 9), false},
                          {dfakOpenedFiles, EncodeDate(2003, 12, 25), true},
                          {dfakCreatedFiles, EncodeDate(2004, 7, 9), false},
                          {dfakAnyFiles, EncodeDate(2004, 7, 9), true},
                          {dfakAnyFiles, EncodeDate(2003, 12, 25), true},
                          {dfakAnyFiles, EncodeDate(2003, 12, 26), false},
                          {dfakCreatedFiles, Today(), true}};
    for (const Case& c : cases) {
        int found = 0;
        search.OnFileFound = [&](TFileInformations) { ++found; };
        search.DateFilterFileAccess = c.access;
        search.DateFilterFirstDate = c.day;
        search.Search();
        EXPECT_EQ(found, c.passes ? 1 : 0) << "access kind " << int{c.access} << " day " << c.day;
    }
}

// --- events, statistics, masks ---------------------------------------------

TEST_F(Walker, StatisticsCountFilesFoldersAndTime) {
    tree.file("a/1.txt");
    tree.file("a/2.txt");
    tree.file("b/only-rejected.doc");
    tree.dir("c/only-folders/x");
    tree.file("top.txt");
    search.IncludeSubfolder = true;
    search.FileNames = {"*.txt", "c", "only-folders"};
    test::ScriptedClock clock;
    clock.scriptTicks({0xFFFFFF00u, 0x00000100u});  // the tick counter wraps during the walk
    search.Search();
    ASSERT_TRUE(recorder.stats.has_value());
    EXPECT_EQ(recorder.stats->FilesFound, 3);
    EXPECT_EQ(recorder.stats->FoldersWithFiles, 2);  // the root and a
    EXPECT_EQ(recorder.stats->DirectoriesFound, 2);  // c and only-folders
    EXPECT_EQ(recorder.stats->ElapsedTime, 0x200);
    EXPECT_EQ(recorder.stats->FoldersUnreadable, 0);
}

TEST_F(Walker, RefusedEntryIsNeitherCountedNorReported) {
    tree.file("keep.txt");
    tree.file("drop.txt");
    search.OnAcceptFile = [](TFileInformations f) { return f.Name != "drop.txt"; };
    search.Search();
    EXPECT_THAT(recorder.names(), ElementsAre(root() + "keep.txt"));
    EXPECT_EQ(recorder.stats->FilesFound, 1);
}

TEST_F(Walker, OnlyEntriesThatPassedEveryTestReachAcceptFile) {
    tree.file("a.txt");
    tree.file("b.doc");
    search.ExcludedFiles = {"*.doc"};
    search.Search();
    EXPECT_THAT(recorder.accepted, ElementsAre("a.txt"));
}

TEST_F(Walker, InvalidMaskRaisesAtTheFirstNameThatReachesIt) {
    tree.file("apple.txt");
    search.FileNames = {"a*", "[z"};
    EXPECT_NO_THROW(search.Search());  // "a*" matched, "[z" never compiled

    tree.file("zebra.txt");
    recorder.stats.reset();
    EXPECT_THROW(search.Search(), EMaskException);
    EXPECT_FALSE(recorder.stats.has_value());
}

TEST_F(Walker, InvalidExcludeMaskAfterAMatchAllMaskIsNeverCompiled) {
    tree.file("x.txt");
    search.ExcludedFiles = {"*", "[]"};
    EXPECT_NO_THROW(search.Search());
    EXPECT_THAT(recorder.found, IsEmpty());
}

TEST_F(Walker, InvalidExcludeMaskRaisesEvenForANameTheIncludesReject) {
    tree.file("x.doc");
    search.FileNames = {"*.txt"};
    search.ExcludedFiles = {"[!]"};
    EXPECT_THROW_MSG(search.Search(), EMaskException, "'[!]' is an invalid mask at (3)");
}

TEST_F(Walker, ExceptionFromAHandlerEndsTheWalk) {
    tree.file("a/1.txt");
    tree.file("b/2.txt");
    search.IncludeSubfolder = true;
    search.OnFileFound = [](TFileInformations) { throw std::runtime_error("stop"); };
    EXPECT_THROW(search.Search(), std::runtime_error);
    EXPECT_FALSE(recorder.stats.has_value());
    EXPECT_EQ(recorder.folders.size(), 1u);
}

TEST_F(Walker, NamesTheMasksRejectCostNoStatusCall) {
    for (int i = 0; i < 20; ++i) {
        tree.file("doc" + std::to_string(i) + ".txt");
    }
    tree.file("a.jpg");
    tree.file("b.JPG");
    tree.dir("sub");
    test::FaultyFileSystem fs;
    search.FileNames = {"*.jpg"};
    search.Search();
    EXPECT_EQ(recorder.found.size(), 2u);
    EXPECT_EQ(fs.statusCalls(), 2);
}

TEST(WalkerDefaults, AsConstructed) {
    test::ScriptedClock clock;
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 17, 30, 0, 0});
    TFileSearch s;
    EXPECT_FALSE(s.IncludeSubfolder);
    EXPECT_TRUE(s.LookForReadOnlyFile && s.LookForHiddenFile && s.LookForSystemFile &&
                s.LookForDirectory && s.LookForArchiveFile && s.LookForAnyFile);
    EXPECT_FALSE(s.FilterOnDate);
    EXPECT_FALSE(s.FilterOnSize);
    EXPECT_EQ(s.DateFilterFileAccess, dfakAnyFiles);
    EXPECT_EQ(s.DateFilterKind, dfkBefore);
    EXPECT_EQ(s.DateFilterFirstDate, EncodeDate(2026, 12, 8));
    EXPECT_EQ(s.DateFilterSecondDate, EncodeDate(2026, 12, 8));
    EXPECT_EQ(s.SizeFilterKind, sfkSmallerOrEqualTo);
    EXPECT_EQ(s.SizeFilterSize, 0);
    EXPECT_THAT(s.FileNames, ElementsAre("*.*"));
    EXPECT_THAT(s.ExcludedFiles, IsEmpty());
    EXPECT_EQ(s.RootPath, "./");
}

}  // namespace
}  // namespace folivar
