#include "filelist/DeleteFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/RecordingSink.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;

class DeleteFiles : public testing::Test {
protected:
    // One row per name, each naming a real file in the temporary folder.
    void makeRows(const Texts& names) {
        for (const std::string& name : names) {
            tree_.file(name, "contents of " + name);
            table_.append({name, tree_.path() + "/", "12", "", "1.1.2001", "0", "-"});
        }
    }

    DeleteFilesOutcome run(const RowSelection& selection) {
        return deleteFiles(table_, selection, sink_);
    }

    Texts rowNames() const {
        Texts names;
        for (const FileRow& row : table_) {
            names.push_back(row.FileName);
        }
        return names;
    }

    bool onDisk(const std::string& name) const {
        return platform::fileSystem().fileExists(tree_.at(name));
    }

    test::TempTree tree_;
    test::FaultyFileSystem faults_;
    FileTable table_;
    test::RecordingSink sink_;
    Texts& statuses_ = sink_.statuses;
};

TEST_F(DeleteFiles, AFileThatWillNotGoKeepsItsSelectedRow) {
    makeRows({"a.jpg", "b.jpg", "c.jpg"});
    faults_.failRemove(tree_.at("b.jpg"));

    const DeleteFilesOutcome outcome = run(selectAll(3));

    EXPECT_EQ(statuses_, (Texts{"Please wait...", "1 files in list; Deleted - 2; Remained - 1"}));
    EXPECT_EQ(rowNames(), (Texts{"b.jpg"}));
    EXPECT_EQ(outcome.selection, (RowSelection{true}));
    EXPECT_EQ(outcome.deleted, 2);
    EXPECT_EQ(outcome.remained, 1);
    EXPECT_FALSE(onDisk("a.jpg"));
    EXPECT_TRUE(onDisk("b.jpg"));
    EXPECT_FALSE(onDisk("c.jpg"));
    // Tried once more, as it is.
    EXPECT_EQ(faults_.removeCalls(),
              (Texts{tree_.at("a.jpg"), tree_.at("b.jpg"), tree_.at("b.jpg"), tree_.at("c.jpg")}));
    EXPECT_EQ(outcome.buttons.rename, std::nullopt);
    EXPECT_EQ(outcome.buttons.findDupl, false);
}

TEST_F(DeleteFiles, AFileThatFailsOnceGoesOnTheSecondTry) {
    makeRows({"a", "b"});
    faults_.failRemoveOnce(tree_.at("a"));

    const DeleteFilesOutcome outcome = run(selectAll(2));

    EXPECT_EQ(statuses_.back(), "0 files in list; Deleted - 2");
    EXPECT_TRUE(table_.empty());
    EXPECT_FALSE(onDisk("a"));
    EXPECT_FALSE(onDisk("b"));
    EXPECT_EQ(outcome.buttons, (ActionButtons{false, false}));
}

// A read-only file in a read-only folder, and a link to a read-only file
// outside the list, that cannot be deleted: no mode changes, here or through
// the link, and each is tried exactly twice.
TEST_F(DeleteFiles, ARetryChangesNoModeAndFollowsNoLink) {
    tree_.file("locked/ro.txt", "r");
    tree_.file("elsewhere/target.txt", "t");
    tree_.symlink(tree_.at("elsewhere/target.txt"), "link.txt");
    const std::pair<const char*, mode_t> modes[] = {
        {"locked/ro.txt", 0444}, {"elsewhere/target.txt", 0400}, {"locked", 0555}};
    for (const auto& [name, mode] : modes) {
        ASSERT_EQ(::chmod(tree_.at(name).c_str(), mode), 0);
    }
    table_.append({"ro.txt", tree_.at("locked/"), "1", "txt", "1.1.2001", "0", "-"});
    table_.append({"link.txt", tree_.path() + "/", "1", "txt", "1.1.2001", "0", "-"});
    faults_.failRemove(tree_.at("locked/ro.txt"));
    faults_.failRemove(tree_.at("link.txt"));

    const DeleteFilesOutcome outcome = run(selectAll(2));

    EXPECT_EQ(outcome.remained, 2);
    for (const auto& [name, mode] : modes) {
        struct stat st {};
        ASSERT_EQ(::stat(tree_.at(name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << name;
    }
    EXPECT_EQ(faults_.removeCalls(), (Texts{tree_.at("locked/ro.txt"), tree_.at("locked/ro.txt"),
                                            tree_.at("link.txt"), tree_.at("link.txt")}));
}

TEST_F(DeleteFiles, UnselectedRowsAndTheirFilesStayWhereTheyAre) {
    makeRows({"r0", "r1", "r2", "r3", "r4", "r5"});
    faults_.failRemove(tree_.at("r3"));

    const DeleteFilesOutcome outcome = run({true, false, true, true, false, true});

    EXPECT_EQ(rowNames(), (Texts{"r1", "r3", "r4"}));
    EXPECT_EQ(outcome.selection, (RowSelection{false, true, false}));
    EXPECT_EQ(statuses_.back(), "3 files in list; Deleted - 3; Remained - 1");
    EXPECT_TRUE(onDisk("r1"));
    EXPECT_TRUE(onDisk("r3"));
    EXPECT_TRUE(onDisk("r4"));
    EXPECT_FALSE(onDisk("r0"));
    EXPECT_FALSE(onDisk("r5"));
    EXPECT_EQ(faults_.removeCalls().size(), 5u);
    EXPECT_EQ(outcome.buttons.findDupl, std::nullopt);
}

TEST_F(DeleteFiles, AFileAlreadyGoneStaysListedAsRemained) {
    makeRows({"here", "gone"});
    ASSERT_TRUE(platform::fileSystem().removeFile(tree_.at("gone")));

    const DeleteFilesOutcome outcome = run(selectAll(2));

    EXPECT_EQ(rowNames(), (Texts{"gone"}));
    EXPECT_EQ(outcome.remained, 1);
    EXPECT_EQ(statuses_.back(), "1 files in list; Deleted - 1; Remained - 1");
}

TEST_F(DeleteFiles, ASelectionOfAnotherLengthDeletesNothing) {
    makeRows({"a", "b"});
    EXPECT_THROW(run({true}), std::invalid_argument);
    EXPECT_TRUE(faults_.removeCalls().empty());
    EXPECT_TRUE(statuses_.empty());
    EXPECT_EQ(table_.size(), 2u);
}

}  // namespace
}  // namespace folivar
