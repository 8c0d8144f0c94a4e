// Moves on file systems that offer neither RENAME_NOREPLACE nor hard links
// (FAT, exFAT, phones and network shares through FUSE). The system calls are
// interposed in this test program alone: they fail as such a file system
// makes them fail, and every plain rename(2) is counted.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/PosixMove.h"
#include "platform/UnpublishedCopy.h"
#include "support/FileEdits.h"
#include "support/ScopedFuseFat.h"
#include "support/TempTree.h"

namespace {

int renameError = 0;  // of renameat2(RENAME_NOREPLACE); 0: the real call
int linkError = 0;    // of link
int plainRenames = 0;
std::function<void()> beforePlainRename;  // once, at the first plain rename(2)

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if ((flags & RENAME_NOREPLACE) != 0 && renameError != 0) {
        errno = renameError;
        return -1;
    }
    static const auto call =
        real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return call(fromDir, from, toDir, to, flags);
}

extern "C" int rename(const char* from, const char* to) {
    ++plainRenames;
    if (beforePlainRename) {
        std::exchange(beforePlainRename, {})();
    }
    static const auto call = real<int (*)(const char*, const char*)>("rename");
    return call(from, to);
}

extern "C" int link(const char* from, const char* to) {
    if (linkError != 0) {
        errno = linkError;
        return -1;
    }
    static const auto call = real<int (*)(const char*, const char*)>("link");
    return call(from, to);
}

namespace folivar::platform {
namespace {

using test::contentsOf;

std::size_t entriesIn(const std::string& folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

// Saves a document as editors do (a file renamed over the name), not
// counted as one of ours.
void saveOver(const std::string& path, const std::string& contents) {
    std::ofstream(path + ".swp", std::ios::binary) << contents;
    ASSERT_EQ(::renameat2(AT_FDCWD, (path + ".swp").c_str(), AT_FDCWD, path.c_str(), 0), 0);
}

// Someone saves a document under the new name while the rename is under way
// (or nobody does): it is never replaced, the source stays as it was, and no
// rename(2) is made. There is no O_TMPFILE on such file systems either.
TEST(WithoutNoReplace, ARenameNeverReplacesANameTakenMeanwhile) {
    const struct {
        const char* what;
        int rename, link;
    } kinds[] = {{"FAT through FUSE", EINVAL, EPERM},
                 {"FUSE without either", ENOSYS, ENOSYS},
                 {"a share without links", EINVAL, EOPNOTSUPP}};
    UnpublishedCopy::setUnnamedAllowed(false);
    for (const auto& kind : kinds) {
        for (const bool someoneSaves : {true, false}) {
            SCOPED_TRACE(std::string(kind.what) + (someoneSaves ? ", a save meanwhile" : ""));
            test::TempTree tree;
            const std::string from = tree.file("photo.jpg", "pixels");
            const std::string to = tree.at("holiday.jpg");
            beforePlainRename = [&] {
                if (someoneSaves) {
                    saveOver(to, "document");
                }
            };
            setMoveStepHook([&](MoveStep, const std::string&) {
                if (someoneSaves && !std::filesystem::exists(to)) {
                    saveOver(to, "document");
                }
            });
            renameError = kind.rename;
            linkError = kind.link;
            plainRenames = 0;
            EXPECT_FALSE(posixMoveFile(from, to));
            renameError = linkError = 0;
            setMoveStepHook({});
            EXPECT_EQ(plainRenames, 0);
            EXPECT_EQ(contentsOf(from), "pixels");
            EXPECT_EQ(contentsOf(to), someoneSaves ? "document" : "");
            EXPECT_EQ(entriesIn(tree.path()), someoneSaves ? 2u : 1u) << "something left behind";
        }
    }
    UnpublishedCopy::setUnnamedAllowed(true);
}

// The same for real on FAT through FUSE; and a move off it, whose source is
// removed without being renamed aside.
TEST(WithoutNoReplace, OnARealFuseFatNothingIsReplacedAndMovesOffItWork) {
    test::TempTree tree;
    test::ScopedFuseFat fat(tree.dir("fat"));
    if (!fat.mounted()) {
        GTEST_SKIP() << "cannot mount FAT through FUSE here: " << fat.why();
    }
    const std::string from = tree.file("fat/photo.jpg", "pixels");
    const std::string to = tree.at("fat/holiday.jpg");
    plainRenames = 0;
    setMoveStepHook([&](MoveStep, const std::string&) {
        if (!std::filesystem::exists(to)) {
            saveOver(to, "document");
        }
    });
    EXPECT_FALSE(posixMoveFile(from, to));
    setMoveStepHook({});
    EXPECT_EQ(contentsOf(to), "document");
    std::filesystem::remove(to);
    EXPECT_FALSE(posixMoveFile(from, to)) << "renamed where the file system could replace";
    EXPECT_EQ(entriesIn(tree.at("fat")), 1u);
    EXPECT_EQ(contentsOf(from), "pixels");

    ASSERT_TRUE(posixMoveFile(from, tree.at("photo.jpg")));
    EXPECT_EQ(contentsOf(tree.at("photo.jpg")), "pixels");
    EXPECT_EQ(entriesIn(tree.at("fat")), 0u);
    EXPECT_EQ(plainRenames, 0);
}

}  // namespace
}  // namespace folivar::platform
