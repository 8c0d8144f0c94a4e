#include "search/EasyFileSearch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/ScriptedClock.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class Component : public testing::Test {
protected:
    Component() {
        tree.file("photo.jpg");
        tree.file("README");
        tree.file("sub/inner.txt");
        tree.dir("sub/deeper");
        search.SetRootPath(tree.path());
        search.OnFileFound = [this](TFileInformations f) {
            found.push_back(f.Path.substr(tree.path().size() + 1) + f.Name);
        };
    }
    std::vector<std::string> sortedFound() {
        std::sort(found.begin(), found.end());
        return found;
    }

    test::TempTree tree;
    TEasyFileSearch search;
    std::vector<std::string> found;
};

TEST(ComponentDefaults, AsConstructed) {
    test::ScriptedClock clock;
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 9, 0, 0, 0});
    TEasyFileSearch s;
    EXPECT_EQ(s.Version(), "TEasyFileSearch v1.02");
    EXPECT_EQ(s.SearchOptions(),
              (TOptions{okIncludeSubfolder, okLookForReadOnlyFile, okLookForHiddenFile,
                        okLookForSystemFile, okLookForDirectory, okLookForArchiveFile,
                        okLookForAnyFile}));
    EXPECT_TRUE(s.FilterKind().empty());
    EXPECT_EQ(s.DateFilterFileAccess(), dfakAnyFiles);
    EXPECT_EQ(s.DateFilterKind(), dfkSame);
    EXPECT_EQ(s.DateFilterFirstDate(), EncodeDate(2026, 12, 8));
    EXPECT_EQ(s.DateFilterSecondDate(), EncodeDate(2026, 12, 8));
    EXPECT_EQ(s.SizeFilterKind(), sfkSmallerOrEqualTo);
    EXPECT_EQ(s.SizeFilterSize(), 0);
    EXPECT_THAT(s.ExcludedFiles(), IsEmpty());
    EXPECT_THAT(s.FileNames(), ElementsAre("*.*"));
    EXPECT_EQ(s.RootPath(), "./");
}

TEST(ComponentDefaults, VersionIgnoresWrites) {
    TEasyFileSearch s;
    s.SetVersion("something else");
    EXPECT_EQ(s.Version(), "TEasyFileSearch v1.02");
}

TEST(OptionSets, OneBytePerSet) {
    TOptions o{okLookForAnyFile, okIncludeSubfolder};
    EXPECT_EQ(sizeof(TOptions), 1u);
    EXPECT_EQ(o.bits(), 0x41);
    o.erase(okLookForAnyFile);
    o.insert(okLookForDirectory);
    EXPECT_EQ(o, (TOptions{okIncludeSubfolder, okLookForDirectory}));
    EXPECT_FALSE(o.contains(okLookForAnyFile));
    EXPECT_EQ((TFilter{fkFilterOnSize}).bits(), 0x02);
}

TEST_F(Component, FreshComponentReportsFoldersAndDottedFilesEverywhere) {
    EXPECT_TRUE(search.Execute());
    EXPECT_THAT(sortedFound(), ElementsAre("photo.jpg", "sub", "sub/deeper", "sub/inner.txt"));
}

TEST_F(Component, AnyFileAloneListsOnlyTheRootsFiles) {
    search.SetSearchOptions(TOptions{okLookForAnyFile});
    search.Execute();
    EXPECT_THAT(sortedFound(), ElementsAre("photo.jpg"));
}

TEST_F(Component, WithoutAnyFileAndArchiveAnOrdinaryFileIsNotReported) {
    search.SetSearchOptions(
        TOptions{okIncludeSubfolder, okLookForReadOnlyFile, okLookForHiddenFile});
    search.Execute();
    EXPECT_THAT(found, IsEmpty());
}

TEST_F(Component, FiltersOffMeanTheirValuesDoNothing) {
    search.SetSizeFilterKind(sfkBiggerOrEqualTo);
    search.SetSizeFilterSize(1LL << 40);
    search.SetDateFilterKind(dfkBefore);
    search.SetDateFilterFirstDate(EncodeDate(1990, 1, 1));
    search.Execute();
    EXPECT_EQ(found.size(), 4u);

    search.SetFilterKind(TFilter{fkFilterOnSize});
    found.clear();
    search.Execute();
    EXPECT_THAT(found, IsEmpty());
}

TEST_F(Component, DefaultDateKindReachesTheWalker) {
    // The walker's own default compares "before"; the component's is "same day",
    // and files written today pass only with the component's value.
    search.SetFilterKind(TFilter{fkFilterOnDate});
    search.SetDateFilterFileAccess(dfakModifiedFiles);
    search.Execute();
    EXPECT_EQ(found.size(), 4u);
}

TEST_F(Component, BetweenWithFirstAfterSecondPassesNothing) {
    search.SetFilterKind(TFilter{fkFilterOnDate});
    search.SetDateFilterKind(dfkBetween);
    search.SetDateFilterFirstDate(Today() + 1);
    search.SetDateFilterSecondDate(Today() - 1);
    search.Execute();
    EXPECT_THAT(found, IsEmpty());
}

TEST_F(Component, MaskListsAreCopiedNeverShared) {
    std::vector<std::string> masks{"*.jpg"};
    search.SetFileNames(masks);
    masks[0] = "*.txt";
    search.Execute();
    EXPECT_THAT(found, ElementsAre("photo.jpg"));

    search.FileNames() = {"*.txt"};  // filled in place, as the scan does
    search.ExcludedFiles().push_back("inner*");
    found.clear();
    search.Execute();
    EXPECT_THAT(found, IsEmpty());
}

TEST_F(Component, SettingsAreTakenAtExecute) {
    // A change made by a handler during a search takes effect at the next one.
    test::TempTree other;
    other.file("elsewhere.txt");
    search.SetFileNames({"*.txt"});
    search.OnChangeFolder = [&](std::string) { search.SetRootPath(other.path()); };
    search.Execute();
    EXPECT_THAT(found, ElementsAre("sub/inner.txt"));
    EXPECT_EQ(search.RootPath(), other.path());
}

TEST_F(Component, EventsArriveInTheWalkersOrder) {
    std::vector<std::string> log;
    search.SetSearchOptions(TOptions{okLookForAnyFile});
    search.SetFileNames({"*.jpg"});
    search.OnChangeFolder = [&](std::string) { log.push_back("folder"); };
    search.OnAcceptFile = [&](TFileInformations f) {
        log.push_back("accept " + f.Name);
        return true;
    };
    search.OnFileFound = [&](TFileInformations f) { log.push_back("found " + f.Name); };
    search.OnStatistics = [&](TStatistics s) {
        log.push_back("statistics " + std::to_string(s.FilesFound));
    };
    EXPECT_TRUE(search.Execute());
    EXPECT_THAT(log, ElementsAre("folder", "accept photo.jpg", "found photo.jpg", "statistics 1"));
}

TEST_F(Component, UnreadableRootMakesExecuteFail) {
    search.SetRootPath(tree.at("gone"));
    EXPECT_FALSE(search.Execute());
}

}  // namespace
}  // namespace folivar
