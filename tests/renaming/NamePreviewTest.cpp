// The preview says of every row what the run then does to it, and touches no
// file: for every naming structure and operation, and the clashes that depend
// on the rows above (names taken and freed, the time suffix, folders and links
// in the way), in folders asked name by name and in folders read whole.
#include "renaming/NamePreview.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/ScopedFuseFat.h"
#include "support/ScopedTmpfs.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"
#include "support/TreeSnapshot.h"
#include "support/Unprivileged.h"

namespace folivar {
namespace {

using testing::ElementsAreArray;

struct Case {
    std::string label;
    // The rows' files, relative to the tree; "?name" lists a file that is not there.
    std::vector<std::string> rows;
    // Entries beside them: "name" a file, "name/" a folder, "name@target" a link.
    std::vector<std::string> others;
    RenameKind kind = RenameKind::Rename;
    NamingScheme scheme;
    std::string target;  // relative; "" for none
    // Reasons the preview must give, by row.
    std::map<std::size_t, std::string> reasons;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.label;
}

NamingScheme counter(int capacity = 4) {
    return NamingScheme{"", FileStructure::Counter, capacity, 1};
}

class PreviewEqualsRun : public testing::TestWithParam<Case> {
protected:
    void build(const Case& c) {
        for (const std::string& other : c.others) {
            const auto at = other.find('@');
            if (at != std::string::npos) {
                tree.symlink(other.substr(at + 1), other.substr(0, at));
            } else if (other.back() == '/') {
                tree.dir(other);
            } else {
                tree.file(other, "someone else's " + other);
            }
        }
        for (const std::string& row : c.rows) {
            const bool missing = row.front() == '?';
            const std::string relative = missing ? row.substr(1) : row;
            const std::string full =
                missing ? tree.at(relative) : tree.file(relative, "contents of " + relative);
            if (missing) {
                tree.dir(relative.substr(0, relative.rfind('/')));
            }
            const auto slash = full.rfind('/');
            table.append(FileRow{full.substr(slash + 1), full.substr(0, slash + 1), "1", "",
                                 "1.1.2001", "0", "-"});
        }
    }

    test::TempTree tree;
    FileTable table;
};

TEST_P(PreviewEqualsRun, RowByRow) {
    const Case& c = GetParam();
    test::ScriptedClock clock;
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 14, 5, 9, 123});
    build(c);
    const RenameSettings settings{c.kind, c.scheme, c.target.empty() ? "" : tree.at(c.target)};

    const test::TreeSnapshot before = test::snapshotOf(tree.path());
    const std::vector<PreviewRow> preview = previewRows(table, settings);
    EXPECT_EQ(test::snapshotOf(tree.path()), before) << "the preview touched a file";

    const FileTable old = table;
    renameRows(table, settings, ProgressSink::silent());
    ASSERT_EQ(preview.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PreviewRow& said = preview[i];
        const FileRow& done = table[i];
        SCOPED_TRACE("row " + std::to_string(i) + " " + old[i].file());
        EXPECT_EQ(said.oldPath, old[i].file());
        EXPECT_EQ(std::string(said.status), done.Status);
        if (done.Status == kRenamed || done.Status == kMoved) {
            EXPECT_EQ(said.newPath, done.file());
            // Only a name taken in the target, which the time of day settles, has a why.
            EXPECT_EQ(said.reason != nullptr, said.clash);
            EXPECT_EQ(said.problem(), said.clash);
        } else if (done.Status == kInvariably) {
            EXPECT_EQ(said.newPath, said.oldPath);
        } else {
            EXPECT_NE(said.reason, nullptr) << "a problem without a reason";
        }
    }
    for (const auto& [row, reason] : c.reasons) {
        ASSERT_LT(row, preview.size());
        EXPECT_EQ(preview[row].reason != nullptr ? std::string(preview[row].reason) : "", reason)
            << "row " << row;
    }
}

std::vector<Case> everyStructure() {
    std::vector<Case> cases;
    const std::vector<std::string> rows = {"a/IMG_7.JPG", "a/notes.txt",      "a/README",
                                           "b/.profile",  "b/archive.tar.gz", "t/0006.gz"};
    // Names some structures take: 0001.JPG under "counter", pic0002.txt under
    // "prefix+counter", and a folder under "prefix+oldname".
    const std::vector<std::string> others = {"a/0001.JPG", "a/pic0002.txt", "a/picREADME/",
                                             "t/0002.txt"};
    for (int s = 0; s <= 6; ++s) {
        for (const RenameKind kind : {RenameKind::Rename, RenameKind::RenameAndMove}) {
            Case c{"structure" + std::to_string(s) +
                       (kind == RenameKind::Rename ? "_rename" : "_renmov"),
                   rows,
                   others,
                   kind,
                   NamingScheme{"pic", static_cast<FileStructure>(s), 4, 1},
                   kind == RenameKind::Rename ? "" : "t",
                   {}};
            cases.push_back(c);
        }
    }
    return cases;
}

std::vector<Case> clashes() {
    std::vector<Case> cases;
    cases.push_back({"TakenNameAbove",
                     {"d/y.jpg", "d/0001.jpg"},
                     {},
                     RenameKind::Rename,
                     counter(),
                     "",
                     {{0, "a file of that name is there"}}});
    // Row 1 frees 0003.jpg, which row 2 then takes.
    cases.push_back({"NameFreedByARowAbove",
                     {"d/x.jpg", "d/0003.jpg", "d/z.jpg"},
                     {},
                     RenameKind::Rename,
                     counter(),
                     "",
                     {}});
    cases.push_back({"SameNameInTwoFolders",
                     {"one/photo.jpg", "two/photo.jpg"},
                     {},
                     RenameKind::Rename,
                     NamingScheme{"x_", FileStructure::PrefixOldName, 4, 1},
                     "",
                     {}});
    cases.push_back({"FolderInTheWay",
                     {"d/a.jpg"},
                     {"d/pic0001.jpg/"},
                     RenameKind::Rename,
                     NamingScheme{},
                     "",
                     {{0, "a folder of that name is in the way"}}});
    cases.push_back({"BrokenLinkInTheWay",
                     {"d/a.jpg"},
                     {"d/pic0001.jpg@nowhere"},
                     RenameKind::Rename,
                     NamingScheme{},
                     "",
                     {{0, "a link of that name is in the way"}}});
    cases.push_back({"SlashInTheName",
                     {"d/a.jpg"},
                     {"d/sub/"},
                     RenameKind::Rename,
                     NamingScheme{"sub/x", FileStructure::PrefixCounter, 4, 1},
                     "",
                     {{0, "the new name holds a \"/\""}}});
    cases.push_back({"FileGone",
                     {"?d/gone.jpg", "d/here.jpg"},
                     {},
                     RenameKind::Rename,
                     NamingScheme{},
                     "",
                     {{0, "the file is not there any more"}}});
    // In the target already, from elsewhere under a taken name (the time
    // suffix), and a second one at the same reading of the clock.
    cases.push_back({"MoveWithSameFolderRowsAndTwoClashesAtOneTime",
                     {"target/in.jpg", "from/out.jpg", "from/in.jpg", "other/in.jpg", "c/README"},
                     {"target/README"},
                     RenameKind::Move,
                     {},
                     "target",
                     {{0, ""},
                      {1, ""},
                      {2, kSuffixedAtMove},
                      {3, "a row above takes that name"},
                      {4, kSuffixedAtMove}}});
    cases.push_back({"MoveIntoATargetSpelledWithTwoSlashes",
                     {"target/in.jpg", "from/in.jpg"},
                     {},
                     RenameKind::Move,
                     {},
                     "target//",
                     {}});
    // Row 0 moves away what the link in the target leads to: the run then
    // finds a link that leads nowhere under row 1's name, not a file.
    cases.push_back({"MoveOntoALinkWhoseTargetARowAboveMovesAway",
                     {"from/b.jpg", "other/c.jpg"},
                     {"target/c.jpg@../from/b.jpg"},
                     RenameKind::Move,
                     {},
                     "target",
                     {{1, "a link of that name is in the way"}}});
    cases.push_back({"MoveIntoAMissingFolder",
                     {"from/a.jpg"},
                     {},
                     RenameKind::Move,
                     {},
                     "missing",
                     {{0, "the folder it goes into does not exist"}}});
    cases.push_back({"RenameAndMoveWithClashes",
                     {"target/0001.jpg", "a/0002.jpg", "b/x.txt", "c/README"},
                     {"target/0003.txt", "target/0004"},
                     RenameKind::RenameAndMove,
                     counter(),
                     "target",
                     {}});
    // More rows of one folder than it is asked about name by name: the
    // later ones are answered from its listing.
    Case many{"ManyRowsOfOneFolder",
              {},
              {"m/05.jpg", "m/07.jpg/", "m/09.jpg@nowhere", "m/Q1.JPG"},
              RenameKind::Rename,
              counter(2),
              "",
              {{4, "a file of that name is there"}}};
    for (int i = 0; i < 30; ++i) {
        many.rows.push_back("m/f" + std::to_string(100 + i) + ".jpg");
    }
    many.rows.push_back("m/31.jpg");  // its own name: "Invariably"
    many.rows.push_back("m/33.jpg");  // to 32.jpg, freeing 33.jpg ...
    many.rows.push_back("m/q.jpg");   // ... for this row
    cases.push_back(many);
    // A short enough name whose whole path is longer than the system takes.
    std::string deep;
    for (int i = 0; i < 19; ++i) {
        deep += std::string(203, static_cast<char>('a' + i)) + "/";
    }
    cases.push_back({"NewPathLongerThanTheSystemTakes",
                     {deep + "a.jpg", "short/a.jpg"},
                     {},
                     RenameKind::Rename,
                     NamingScheme{std::string(240, 'p'), FileStructure::PrefixOldName, 4, 1},
                     "",
                     {{0, "the new path is too long"}}});
    return cases;
}

std::string nameOf(const testing::TestParamInfo<Case>& info) {
    return info.param.label;
}

INSTANTIATE_TEST_SUITE_P(EveryStructure, PreviewEqualsRun, testing::ValuesIn(everyStructure()),
                         nameOf);
INSTANTIATE_TEST_SUITE_P(Clashes, PreviewEqualsRun, testing::ValuesIn(clashes()), nameOf);

FileTable rowsOf(const std::vector<std::string>& files) {
    FileTable table;
    for (const std::string& full : files) {
        const auto slash = full.rfind('/');
        table.append(FileRow{full.substr(slash + 1), full.substr(0, slash + 1), "1", "", "1.1.2001",
                             "0", "-"});
    }
    return table;
}

// The preview's statuses, then the run's, as "status status | status status".
std::string previewThenRun(FileTable table, const RenameSettings& settings) {
    std::string said;
    for (const PreviewRow& row : previewRows(table, settings)) {
        said += std::string(row.status) + (row.reason ? " (" + std::string(row.reason) + ")" : "") +
                "; ";
    }
    renameRows(table, settings, ProgressSink::silent());
    said += "|";
    for (std::size_t i = 0; i < table.size(); ++i) {
        said += " " + table[i].Status + ";";
    }
    return said;
}

// Folders whose names no one may change: a read-only mount, and folders
// this user may not write (as "nobody" where the tests run as root).
TEST(Preview, FoldersThatRefuseChangesAreErrorsBeforeTheRun) {
    test::TempTree tree;
    const std::string file = tree.file("writable/a.jpg", "a");
    const RenameSettings rename{RenameKind::Rename, NamingScheme{}, ""};
    const RenameSettings moveIn{RenameKind::Move, {}, tree.dir("shut")};
    {
        test::ScopedTmpfs mount(tree.dir("shut"), "1m");
        if (!mount.mounted()) {
            GTEST_SKIP() << "cannot mount a tmpfs here (needs the right to mount)";
        }
        const std::string inside = tree.file("shut/b.jpg", "b");
        ASSERT_EQ(
            ::mount(nullptr, tree.at("shut").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        EXPECT_EQ(previewThenRun(rowsOf({inside}), rename),
                  "Error (the folder it goes into is on a read-only file system); | Error;");
        EXPECT_EQ(previewThenRun(rowsOf({file}), moveIn),
                  "Error (the folder it goes into is on a read-only file system); | Error;");
    }
    tree.file("locked/c.jpg", "c");
    tree.openToAll();
    ::chmod(tree.at("writable").c_str(), 0777);
    const std::optional<std::string> seen = test::asUnprivileged([&] {
        return previewThenRun(rowsOf({tree.at("locked/c.jpg")}), rename) + " / " +
               previewThenRun(rowsOf({file}), moveIn) + " / " +
               previewThenRun(rowsOf({tree.at("locked/c.jpg")}),
                              RenameSettings{RenameKind::Move, {}, tree.at("writable")});
    });
    ASSERT_TRUE(seen.has_value()) << "cannot run as another user here";
    EXPECT_EQ(*seen,
              "Error (you may not change the folder it goes into); | Error; / "
              "Error (you may not change the folder it goes into); | Error; / "
              "Error (you may not change the folder it is in); | Error;");
}

// What a FUSE file system does is known only by trying: never a promised
// success, and among the rows a user looks at.
TEST(Preview, RowsIntoAFuseFileSystemAreUncertain) {
    test::TempTree tree;
    const std::string file = tree.file("card/a.jpg", "a");
    test::FaultyFileSystem fs;
    fs.seeFolderAs(tree.at("card/"), platform::FolderAccess{true, false, true, true});
    const std::vector<PreviewRow> rows =
        previewRows(rowsOf({file}), RenameSettings{RenameKind::Rename, NamingScheme{}, ""});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_STREQ(rows[0].status, kUncertain);
    EXPECT_STREQ(rows[0].reason,
                 "a FUSE file system tells only by trying whether it takes the file");
    EXPECT_TRUE(rows[0].problem());
}

// The same for real, on FAT through FUSE: a rename there and a move into it.
TEST(Preview, OnARealFuseFatThePreviewPromisesNoSuccess) {
    test::TempTree tree;
    test::ScopedFuseFat fat(tree.dir("fat"));
    if (!fat.mounted()) {
        GTEST_SKIP() << "cannot mount FAT through FUSE here: " << fat.why();
    }
    const std::string doubt =
        "Uncertain (a FUSE file system tells only by trying whether it takes the file); ";
    EXPECT_EQ(previewThenRun(rowsOf({tree.file("fat/a.jpg", "a")}),
                             RenameSettings{RenameKind::Rename, NamingScheme{}, ""}),
              doubt + "| Error;");
    EXPECT_EQ(previewThenRun(rowsOf({tree.file("b.jpg", "b")}),
                             RenameSettings{RenameKind::Move, {}, tree.at("fat")}),
              doubt + "| Error;");
}

TEST(Preview, ShowsTheTakenNameOfAClashAndProblemsAreMarked) {
    test::TempTree tree;
    tree.file("d/y.jpg");
    tree.file("d/0001.jpg");
    FileTable table;
    table.append(FileRow{"y.jpg", tree.at("d/"), "0", "jpg", "1.1.2001", "0", "-"});
    table.append(FileRow{"0001.jpg", tree.at("d/"), "0", "jpg", "1.1.2001", "0", "-"});
    const std::vector<PreviewRow> rows =
        previewRows(table, RenameSettings{RenameKind::Rename, counter(), {}});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].newPath, tree.at("d/0001.jpg"));
    EXPECT_STREQ(rows[0].status, kAlreadyExists);
    EXPECT_TRUE(rows[0].problem());
    EXPECT_EQ(rows[1].newPath, tree.at("d/0002.jpg"));
    EXPECT_STREQ(rows[1].status, kRenamed);
    EXPECT_FALSE(rows[1].problem());
}

// The line above the preview: each outcome counted in the order met, and
// the rows that would move under another name counted with their outcome.
TEST(Preview, SummaryCountsOutcomesAndClashes) {
    const auto row = [](const char* status, bool clash = false) {
        PreviewRow shown;
        shown.status = status;
        shown.clash = clash;
        return shown;
    };
    const struct {
        const char* name;
        std::vector<PreviewRow> rows;
        std::string expected;
    } cases[] = {
        {"nothing", {}, "0 rows"},
        {"outcomes in the order met",
         {row(kRenamed), row(kAlreadyExists), row(kRenamed), row(kUncertain)},
         "4 rows: 2 Renamed, 1 Already Exists, 1 Uncertain"},
        {"clashes with their outcome",
         {row(kMoved), row(kMoved, true), row(kAlreadyExists), row(kMoved, true)},
         "4 rows: 3 Moved (2 under another name: its own is taken), 1 Already Exists"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(previewSummary(c.rows), c.expected);
    }
}

}  // namespace
}  // namespace folivar
