#include "export/ExportFolders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/ScopedVariable.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

namespace fs = std::filesystem;

TEST(WorkbookName, CarriesTheTimeOfTheExport) {
    const platform::LocalTime time{
        .year = 2004, .month = 7, .day = 9, .hour = 4, .minute = 5, .second = 6};
    EXPECT_EQ(workbookName(time), "FileList 2004-07-09 04.05.06.xlsx");
    EXPECT_TRUE(isWorkbookName(workbookName(time)));
    for (const char* name : {"FileList.xlsx", "FileList 2026-12-31 23.59.59.xlsx"}) {
        EXPECT_TRUE(isWorkbookName(name)) << name;
    }
    for (const char* name :
         {"FileList 2026-12-31 23.59.5.xlsx", "FileList 2026-12-31 23:59:59.xlsx",
          "FileList (1).xlsx", ".~lock.FileList.xlsx#", "FileList.xlsx~", "Notes.xlsx",
          "FileList 2026-12-31 23.59.59.ods"}) {
        EXPECT_FALSE(isWorkbookName(name)) << name;
    }
}

constexpr std::time_t kNow = 2000000000;
constexpr std::time_t kOld = kNow - kExportFolderLifetime - 60;
constexpr std::time_t kRecent = kNow - kExportFolderLifetime + 60;

struct Entry {
    std::string name;
    std::time_t written = kOld;
    bool link = false;  // a link to an old workbook elsewhere
};

struct FolderCase {
    const char* what;
    std::string folder;
    std::time_t written;
    std::vector<Entry> entries;
    bool removed;
};

void PrintTo(const FolderCase& c, std::ostream* out) {
    *out << c.what;
}

class OldExportFolders : public testing::TestWithParam<FolderCase> {};

TEST_P(OldExportFolders, GoOnlyWhenOldAndHoldingNothingButTheirWorkbook) {
    const FolderCase& c = GetParam();
    test::TempTree tmp;
    const std::string elsewhere = tmp.file("elsewhere/FileList.xlsx", "PK");
    tmp.dir(c.folder);
    for (const Entry& entry : c.entries) {
        const std::string relative = c.folder + "/" + entry.name;
        if (entry.link) {
            tmp.symlink(elsewhere, relative);
        } else {
            tmp.file(relative, "PK");
            tmp.setTimes(relative, entry.written, entry.written);
        }
    }
    tmp.setTimes(c.folder, c.written, c.written);

    EXPECT_EQ(removeOldExportFolders(tmp.path(), kNow), c.removed ? 1U : 0U) << c.what;
    EXPECT_EQ(fs::exists(tmp.at(c.folder)), !c.removed) << c.what;
    if (!c.removed) {
        for (const Entry& entry : c.entries) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(tmp.at(c.folder + "/" + entry.name))))
                << c.what << ": " << entry.name;
        }
    }
    EXPECT_TRUE(fs::exists(elsewhere)) << c.what;
}

const std::string kFolder = "folivar-export-Ab3dE9";

INSTANTIATE_TEST_SUITE_P(
    Folders, OldExportFolders,
    testing::Values(
        FolderCase{"an old export", kFolder, kOld, {{"FileList 2026-01-02 03.04.05.xlsx"}}, true},
        FolderCase{"an old export named as before", kFolder, kOld, {{"FileList.xlsx"}}, true},
        FolderCase{"an old empty folder", kFolder, kOld, {}, true},
        FolderCase{"a recent folder", kFolder, kRecent, {{"FileList.xlsx"}}, false},
        FolderCase{
            "a workbook saved again today", kFolder, kOld, {{"FileList.xlsx", kRecent}}, false},
        FolderCase{"a workbook open in a program",
                   kFolder,
                   kOld,
                   {{"FileList.xlsx"}, {".~lock.FileList.xlsx#"}},
                   false},
        FolderCase{
            "a file the user put there", kFolder, kOld, {{"FileList.xlsx"}, {"notes.txt"}}, false},
        FolderCase{"a link in place of the workbook",
                   kFolder,
                   kOld,
                   {{"FileList.xlsx", kOld, true}},
                   false},
        FolderCase{"another program's folder", "folivar-export-bench-Ab3dE9", kOld, {}, false},
        FolderCase{"a name too short", "folivar-export-Ab3", kOld, {}, false}),
    [](const testing::TestParamInfo<FolderCase>& param) {
        std::string name = param.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

TEST(OldExportFoldersOfOthers, LinksAndOtherUsersFoldersStay) {
    test::TempTree tmp;
    const std::string target = tmp.dir("target");
    tmp.file("target/FileList.xlsx", "PK");
    tmp.setTimes("target/FileList.xlsx", kOld, kOld);
    tmp.setTimes("target", kOld, kOld);
    tmp.symlink(target, kFolder);
    EXPECT_EQ(removeOldExportFolders(tmp.path(), kNow), 0U);
    EXPECT_TRUE(fs::exists(tmp.at("target/FileList.xlsx")));

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    const std::string foreign = tmp.dir("folivar-export-Zz9yY8");
    ASSERT_EQ(::chown(foreign.c_str(), 4242, 4242), 0);
    tmp.setTimes("folivar-export-Zz9yY8", kOld, kOld);
    EXPECT_EQ(removeOldExportFolders(tmp.path(), kNow), 0U);
    EXPECT_TRUE(fs::is_directory(foreign));
}

TEST(OldExportFoldersAtStart, InTheTemporaryFolder) {
    test::TempTree tmp;
    tmp.file(kFolder + "/FileList.xlsx", "PK");
    tmp.setTimes(kFolder + "/FileList.xlsx", 1000000000, 1000000000);
    tmp.setTimes(kFolder, 1000000000, 1000000000);
    tmp.dir("folivar-export-fresh1");
    {
        const test::ScopedVariable tmpdir("TMPDIR", tmp.path());
        removeOldExports();
    }
    EXPECT_FALSE(fs::exists(tmp.at(kFolder)));
    EXPECT_TRUE(fs::exists(tmp.at("folivar-export-fresh1")));
}

}  // namespace
}  // namespace folivar
