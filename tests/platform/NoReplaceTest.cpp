// Moves on file systems that offer neither RENAME_NOREPLACE nor hard links
// (FAT, exFAT, phones and network shares through FUSE). The system calls are
// interposed in this test program alone: under a chosen folder they fail as
// such a file system makes them fail, and every plain rename(2) is counted.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/PosixMove.h"
#include "platform/UnpublishedCopy.h"
#include "support/FileEdits.h"
#include "support/ScopedFuseFat.h"
#include "support/ScopedTmpfs.h"
#include "support/TempTree.h"

namespace {

struct Refusal {
    std::string under;  // paths starting with this
    int rename = 0;     // the error of renameat2(RENAME_NOREPLACE)
    int link = 0;       // the error of link and linkat
};
Refusal refusal;
std::atomic<int> plainRenames{0};
// Runs once, at the first plain rename(2), before it is carried out.
std::function<void()> beforePlainRename;

bool refused(const char* path, int error) {
    return error != 0 && path != nullptr && std::string(path).starts_with(refusal.under);
}

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if ((flags & RENAME_NOREPLACE) != 0 && refused(to, refusal.rename)) {
        errno = refusal.rename;
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
    if (refused(to, refusal.link)) {
        errno = refusal.link;
        return -1;
    }
    static const auto call = real<int (*)(const char*, const char*)>("link");
    return call(from, to);
}

extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    if (refused(to, refusal.link)) {
        errno = refusal.link;
        return -1;
    }
    static const auto call = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    return call(fromDir, from, toDir, to, flags);
}

namespace folivar::platform {
namespace {

using test::contentsOf;

using Names = std::vector<std::string>;

Names namesIn(const std::string& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Saves a version as editors do (a temporary file renamed over the name),
// without counting as one of ours.
void saveOver(const std::string& path, const std::string& contents) {
    const std::string swap = path + ".swp";
    std::ofstream(swap, std::ios::binary) << contents;
    ASSERT_EQ(::renameat2(AT_FDCWD, swap.c_str(), AT_FDCWD, path.c_str(), 0), 0) << path;
}

// Puts the refusal in place for the life of the object.
class NoReplaceRefused {
public:
    NoReplaceRefused(const std::string& under, int renameError, int linkError) {
        refusal = Refusal{under, renameError, linkError};
        plainRenames = 0;
    }
    ~NoReplaceRefused() {
        refusal = Refusal{};
        beforePlainRename = {};
        setMoveStepHook({});
        UnpublishedCopy::setUnnamedAllowed(true);
    }
    NoReplaceRefused(const NoReplaceRefused&) = delete;
    NoReplaceRefused& operator=(const NoReplaceRefused&) = delete;
};

struct Errors {
    const char* what;
    int rename;
    int link;
};
const Errors kFuseLike[] = {
    {"FAT through FUSE", EINVAL, EPERM},
    {"a FUSE file system without either", ENOSYS, ENOSYS},
    {"a share without links", EINVAL, EOPNOTSUPP},
};

// Someone saves a document under the new name while the rename is under way
// (or nobody does): it is never replaced, and the source stays as it was.
TEST(WithoutNoReplace, ARenameNeverReplacesANameTakenMeanwhile) {
    for (const Errors& errors : kFuseLike) {
        for (const bool someoneSaves : {true, false}) {
            for (const bool unnamed : {true, false}) {
                test::TempTree tree;
                const std::string from = tree.file("photo.jpg", "pixels");
                const std::string to = tree.at("holiday.jpg");
                NoReplaceRefused refused(tree.path(), errors.rename, errors.link);
                UnpublishedCopy::setUnnamedAllowed(unnamed);
                auto save = [&] {
                    if (someoneSaves && !std::filesystem::exists(to)) {
                        saveOver(to, "document");
                    }
                };
                beforePlainRename = save;
                setMoveStepHook([&](MoveStep, const std::string&) { save(); });
                const std::string what = std::string(errors.what) +
                                         (someoneSaves ? ", a save meanwhile" : "") +
                                         (unnamed ? "" : ", no unnamed files");
                const bool moved = posixMoveFile(from, to);
                EXPECT_EQ(plainRenames.load(), 0) << what;
                if (someoneSaves) {
                    EXPECT_FALSE(moved) << what;
                    EXPECT_EQ(contentsOf(to), "document") << what;
                }
                if (!moved) {
                    EXPECT_EQ(contentsOf(from), "pixels") << what;
                    const Names left =
                        someoneSaves ? Names{"holiday.jpg", "photo.jpg"} : Names{"photo.jpg"};
                    EXPECT_EQ(namesIn(tree.path()), left) << what;
                }
            }
        }
    }
}

// A file moved off such a file system to another one: the copy is made and
// the source removed once proven unchanged, without a rename; a source saved
// over meanwhile stays, and the copy goes.
TEST(WithoutNoReplace, AMoveOffItRemovesOnlyTheProvenSource) {
    test::TempTree tree;
    test::ScopedTmpfs other(tree.dir("other"), "1m");
    if (!other.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs the right to mount)";
    }
    for (const Errors& errors : kFuseLike) {
        for (const bool savedMeanwhile : {false, true}) {
            const std::string from = tree.file("card/photo.jpg", "pixels");
            const std::string to = tree.at("other/photo.jpg");
            NoReplaceRefused refused(tree.at("card/"), errors.rename, errors.link);
            setMoveStepHook([&](MoveStep step, const std::string& path) {
                if (savedMeanwhile && step == MoveStep::Copied) {
                    saveOver(path, "retouched");
                }
            });
            const std::string what =
                std::string(errors.what) + (savedMeanwhile ? ", saved meanwhile" : "");
            plainRenames = 0;
            EXPECT_EQ(posixMoveFile(from, to), !savedMeanwhile) << what;
            EXPECT_EQ(plainRenames.load(), 0) << what;
            EXPECT_EQ(contentsOf(savedMeanwhile ? from : to),
                      savedMeanwhile ? "retouched" : "pixels")
                << what;
            EXPECT_EQ(namesIn(tree.at("card")), savedMeanwhile
                                                    ? std::vector<std::string>{"photo.jpg"}
                                                    : std::vector<std::string>{})
                << what;
            std::filesystem::remove(from);
            std::filesystem::remove(to);
        }
    }
}

// The same for real, on FAT mounted through FUSE.
TEST(WithoutNoReplace, OnARealFuseFatNothingIsReplacedAndMovesOffItWork) {
    test::TempTree tree;
    test::ScopedFuseFat fat(tree.dir("fat"));
    if (!fat.mounted()) {
        GTEST_SKIP() << "cannot mount FAT through FUSE here: " << fat.why();
    }
    const std::string from = tree.file("fat/photo.jpg", "pixels");
    const std::string to = tree.at("fat/holiday.jpg");
    plainRenames = 0;
    {
        setMoveStepHook([&](MoveStep, const std::string&) {
            if (!std::filesystem::exists(to)) {
                saveOver(to, "document");
            }
        });
        EXPECT_FALSE(posixMoveFile(from, to));
        setMoveStepHook({});
    }
    EXPECT_EQ(contentsOf(to), "document");
    EXPECT_EQ(contentsOf(from), "pixels");
    std::filesystem::remove(to);
    EXPECT_FALSE(posixMoveFile(from, to)) << "renamed on a file system that could replace";
    EXPECT_EQ(namesIn(tree.at("fat")), Names{"photo.jpg"});

    ASSERT_TRUE(posixMoveFile(from, tree.at("photo.jpg")));
    EXPECT_EQ(contentsOf(tree.at("photo.jpg")), "pixels");
    EXPECT_TRUE(namesIn(tree.at("fat")).empty());
    EXPECT_EQ(plainRenames.load(), 0);
}

}  // namespace
}  // namespace folivar::platform
