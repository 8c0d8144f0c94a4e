#include "renaming/RenameOperations.h"
#include "renaming/TimeSuffix.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/FileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/RecordingSink.h"
#include "support/ScopedTmpfs.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using testing::ElementsAre;

class Operations : public testing::Test {
protected:
    // A row for a file that the test creates with its name as contents.
    void addFile(const std::string& relative) {
        const std::string full = tree.file(relative, "contents of " + relative);
        const auto slash = full.rfind('/');
        table.append(FileRow{full.substr(slash + 1), full.substr(0, slash + 1), "1", "", "1.1.2001",
                             "0", "-"});
    }
    std::vector<std::string> column(TFileColumn c) const {
        std::vector<std::string> texts;
        for (const FileRow& row : table) {
            texts.push_back(row.cell(c));
        }
        return texts;
    }
    std::size_t rename(const NamingScheme& scheme) { return run({RenameKind::Rename, scheme, {}}); }
    std::size_t move(const std::string& target) { return run({RenameKind::Move, {}, target}); }
    std::size_t renameAndMove(const NamingScheme& scheme, const std::string& target) {
        return run({RenameKind::RenameAndMove, scheme, target});
    }
    std::size_t run(const RenameSettings& settings) {
        const std::size_t done = renameRows(table, settings, sink);
        summary = sink.lastStatus();
        return done;
    }
    // The file holds what it was created with under the name `original`.
    void expectContents(const std::string& relative, const std::string& original) {
        EXPECT_EQ(test::readFile(tree.at(relative)), "contents of " + original) << relative;
    }

    test::TempTree tree;
    FileTable table;
    test::RecordingSink sink;
    std::vector<int>& percents = sink.percents;
    std::string summary;
};

// --- rename ----------------------------------------------------------------

TEST_F(Operations, RenameWithTheDefaults) {
    addFile("IMG_7.JPG");
    addFile("notes.txt");
    addFile("README");
    EXPECT_EQ(rename(NamingScheme{}), 3u);
    EXPECT_THAT(column(fcFileName), ElementsAre("pic0001.JPG", "pic0002.txt", "pic0003"));
    EXPECT_THAT(column(fcStatus), ElementsAre("Renamed", "Renamed", "Renamed"));
    expectContents("pic0001.JPG", "IMG_7.JPG");
    expectContents("pic0003", "README");
    EXPECT_EQ(summary, "3 files from 3 are renamed");
    EXPECT_THAT(percents, ElementsAre(33, 67, 100));
}

TEST_F(Operations, TakenNameThenTheSecondRun) {
    addFile("y.jpg");
    addFile("0001.jpg");
    const NamingScheme counter{"", FileStructure::Counter, 4, 1};

    EXPECT_EQ(rename(counter), 1u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Already Exists", "Renamed"));
    EXPECT_THAT(column(fcFileName), ElementsAre("y.jpg", "0002.jpg"));
    EXPECT_EQ(summary, "1 files from 2 are renamed");

    EXPECT_EQ(rename(counter), 1u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Renamed", "Invariably"));
    EXPECT_THAT(column(fcFileName), ElementsAre("0001.jpg", "0002.jpg"));
    expectContents("0001.jpg", "y.jpg");
    expectContents("0002.jpg", "0001.jpg");
}

TEST_F(Operations, UnchangedRowStillUsesItsNumber) {
    addFile("0001.txt");
    addFile("b.txt");
    rename(NamingScheme{"", FileStructure::Counter, 4, 1});
    EXPECT_THAT(column(fcStatus), ElementsAre("Invariably", "Renamed"));
    EXPECT_THAT(column(fcFileName), ElementsAre("0001.txt", "0002.txt"));
}

TEST_F(Operations, FolderInTheWayIsAnError) {
    addFile("a.jpg");
    tree.dir("pic0001.jpg");
    EXPECT_EQ(rename(NamingScheme{}), 0u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Error"));
    expectContents("a.jpg", "a.jpg");
}

TEST_F(Operations, SameNameInTwoFoldersEachRenamedAtHome) {
    addFile("one/photo.jpg");
    addFile("two/photo.jpg");
    rename(NamingScheme{"x_", FileStructure::PrefixOldName, 4, 1});
    EXPECT_THAT(column(fcStatus), ElementsAre("Renamed", "Renamed"));
    expectContents("one/x_photo.jpg", "one/photo.jpg");
    expectContents("two/x_photo.jpg", "two/photo.jpg");
}

TEST_F(Operations, PrefixWithASeparatorNeverSendsAFileElsewhere) {
    addFile("a.jpg");
    tree.dir("sub");
    rename(NamingScheme{"sub/x", FileStructure::PrefixCounter, 4, 1});
    EXPECT_THAT(column(fcStatus), ElementsAre("Error"));
    expectContents("a.jpg", "a.jpg");
    EXPECT_FALSE(platform::fileSystem().fileExists(tree.at("sub/x0001.jpg")));
}

TEST_F(Operations, VanishedSourceIsAnErrorAndTheRestGoOn) {
    addFile("gone.jpg");
    addFile("here.jpg");
    std::remove(tree.at("gone.jpg").c_str());
    EXPECT_EQ(rename(NamingScheme{}), 1u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Error", "Renamed"));
    expectContents("pic0002.jpg", "here.jpg");
}

TEST_F(Operations, DestinationTakenJustBeforeTheMoveIsNeverReplaced) {
    addFile("a.jpg");
    test::FaultyFileSystem fs;
    fs.beforeMove(
        [](const std::string&, const std::string& to) { std::ofstream(to) << "someone else's"; });
    rename(NamingScheme{});
    EXPECT_THAT(column(fcStatus), ElementsAre("Already Exists"));
    expectContents("a.jpg", "a.jpg");
    EXPECT_EQ(test::readFile(tree.at("pic0001.jpg")), "someone else's");
}

// --- move ------------------------------------------------------------------

TEST_F(Operations, MoveLeavesRowsAlreadyThereAndCarriesTheOthers) {
    addFile("target/in.jpg");
    addFile("from/out.jpg");
    EXPECT_EQ(move(tree.at("target")), 1u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Invariably", "Moved"));
    EXPECT_THAT(column(fcPath), ElementsAre(tree.at("target/"), tree.at("target/")));
    expectContents("target/out.jpg", "from/out.jpg");
    EXPECT_EQ(summary, "1 files from 2 are moved");
}

TEST_F(Operations, MoveClashGetsTheTimeOfDay) {
    test::ScriptedClock clock;
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 14, 5, 9, 123});
    addFile("target/photo.jpg");
    addFile("a/photo.jpg");
    addFile("b/photo.jpg");  // same reading of the clock: its suffixed name is taken
    addFile("c/README");
    tree.file("target/README");
    move(tree.at("target") + "/");
    EXPECT_THAT(column(fcStatus), ElementsAre("Invariably", "Moved", "Error", "Moved"));
    EXPECT_THAT(column(fcFileName),
                ElementsAre("photo.jpg", "photo (1459123).jpg", "photo.jpg", "README (1459123)"));
    expectContents("target/photo.jpg", "target/photo.jpg");
    expectContents("target/photo (1459123).jpg", "a/photo.jpg");
    expectContents("b/photo.jpg", "b/photo.jpg");
}

TEST_F(Operations, TimeSuffixHasNoLeadingZeros) {
    EXPECT_EQ(TimeSuffix(platform::LocalTime{2026, 1, 1, 1, 9, 5, 3, 40}), " (95340)");
    EXPECT_EQ(TimeSuffix(platform::LocalTime{2026, 1, 1, 1, 0, 0, 0, 0}), " (0000)");
    EXPECT_EQ(WithSuffixBeforeExtension("a.tar.gz", 3, " (1)"), "a.tar (1).gz");
    EXPECT_EQ(WithSuffixBeforeExtension("README", 0, " (1)"), "README (1)");
}

TEST_F(Operations, MoveIntoAFolderThatIsGoneIsAnError) {
    addFile("a.jpg");
    EXPECT_EQ(move(tree.at("missing")), 0u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Error"));
    expectContents("a.jpg", "a.jpg");
}

// --- rename and move ---------------------------------------------------------

TEST_F(Operations, RenameAndMove) {
    test::ScriptedClock clock;
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 9, 5, 3, 40});
    addFile("target/0001.jpg");  // already named and placed
    addFile("a/0002.jpg");       // same name, other folder: moved under its name
    addFile("b/x.txt");          // 0003.txt is taken in the target
    addFile("c/README");         // no extension: the suffix goes at the end
    tree.file("target/0003.txt");
    tree.file("target/0004");
    const NamingScheme counter{"", FileStructure::Counter, 4, 1};
    EXPECT_EQ(renameAndMove(counter, tree.at("target")), 3u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Invariably", "Moved", "Moved", "Moved"));
    EXPECT_THAT(column(fcFileName),
                ElementsAre("0001.jpg", "0002.jpg", "0003 (95340).txt", "0004 (95340)"));
    expectContents("target/0003 (95340).txt", "b/x.txt");
    expectContents("target/0004 (95340)", "c/README");
    EXPECT_EQ(summary, "3 files from 4 are moved");
}

// --- the plan of each row ----------------------------------------------------

// What planRow says of each row is what the run then does to it, and asking
// touches no file.
TEST_F(Operations, ThePlanOfARowIsWhatTheRunDoes) {
    test::ScriptedClock clock;
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 9, 5, 3, 40});
    const NamingScheme counter{"", FileStructure::Counter, 4, 1};
    const NamingScheme slash{"sub/", FileStructure::PrefixOldName, 4, 1};
    const struct {
        const char* label;
        RenameSettings settings;
    } runs[] = {
        {"rename", {RenameKind::Rename, counter, {}}},
        {"rename into a folder", {RenameKind::Rename, slash, {}}},
        {"move", {RenameKind::Move, counter, "target"}},
        {"rename and move", {RenameKind::RenameAndMove, counter, "target"}},
    };
    int k = 0;
    for (const auto& [label, given] : runs) {
        const std::string home = std::to_string(k++) + "/";
        table.clear();
        addFile(home + "target/0001.jpg");
        addFile(home + "a/0002.jpg");
        addFile(home + "a/x.txt");
        tree.file(home + "target/0003.txt");
        tree.file(home + "target/x.txt");
        RenameSettings settings = given;
        if (!settings.targetFolder.empty()) {
            settings.targetFolder = tree.at(home + settings.targetFolder);
        }
        std::vector<RowPlan> plans;
        for (std::size_t i = 0; i < table.size(); ++i) {
            plans.push_back(planRow(settings, i, table[i]));
        }
        const FileTable before = table;
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_TRUE(platform::fileSystem().fileExists(table[i].file())) << label;
        }
        run(settings);
        for (std::size_t i = 0; i < table.size(); ++i) {
            const RowPlan& plan = plans[i];
            const FileRow& row = table[i];
            if (plan.settled != nullptr) {
                EXPECT_EQ(row.Status, plan.settled) << label << " row " << i;
                EXPECT_EQ(row.file(), before[i].file()) << label << " row " << i;
            } else if (row.Status == kRenamed || row.Status == kMoved) {
                EXPECT_EQ(row.FileName, plan.name) << label << " row " << i;
                EXPECT_EQ(row.Path, plan.folder) << label << " row " << i;
            } else {
                ADD_FAILURE() << label << " row " << i << ": " << row.Status;
            }
        }
    }
}

// --- nothing is lost ---------------------------------------------------------

// The outcomes a user looks for after a run: the ones that left a file as it
// was against the wish; texts match exactly, as the Status cell holds them.
TEST(Outcomes, OnlyErrorAlreadyExistsAndNotRestoredAreFailures) {
    const struct {
        const char* status;
        bool failed;
    } cases[] = {
        {"Error", true},
        {"Already Exists", true},
        {"Renamed", false},
        {"Moved", false},
        {"Invariably", false},
        {"Orig", false},
        {"Dupl", false},
        {"-", false},
        {"", false},
        {"error", false},
        {"Error ", false},
        {"Already exists", false},
        {"Restored", false},
        {"Not restored: the file is gone", true},
        {"Not restored", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isFailedOutcome(c.status), c.failed) << c.status;
    }
}

TEST_F(Operations, FullFileSystemAcrossLeavesEveryOriginal) {
    test::ScopedTmpfs tmpfs(tree.dir("small"), "64k");
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    tree.file("a/big.bin", std::string(300 * 1024, 'b'));
    table.append(FileRow{"big.bin", tree.at("a/"), "307200", "bin", "1.1.2001", "0", "-"});
    addFile("a/small.txt");
    move(tree.at("small"));
    EXPECT_THAT(column(fcStatus), ElementsAre("Error", "Moved"));
    EXPECT_EQ(test::readFile(tree.at("a/big.bin")), std::string(300 * 1024, 'b'));
    EXPECT_FALSE(platform::fileSystem().fileExists(tree.at("small/big.bin")));
    expectContents("small/small.txt", "a/small.txt");
    EXPECT_FALSE(platform::fileSystem().fileExists(tree.at("a/small.txt")));
}

}  // namespace
}  // namespace folivar
