// LINK DUPL on real file systems: data shared where the file system can
// (btrfs, XFS with reflink), names linked where it cannot and the user
// allows it (tmpfs, ext4), and every refusal leaving the copy as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ListRows.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/LinkUndo.h"
#include "platform/FileSystem.h"
#include "platform/NameExchange.h"
#include "renaming/BatchUndo.h"
#include "support/FaultyFileSystem.h"
#include "support/FileEdits.h"
#include "support/RecordingSink.h"
#include "support/ScratchVolume.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;
constexpr std::int64_t kMiB = 1 << 20;

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Bytes free on the file system of path, once what it holds is on disk.
std::int64_t bytesFree(const std::string& path) {
    ::sync();
    struct statvfs fs {};
    EXPECT_EQ(::statvfs(path.c_str(), &fs), 0);
    return static_cast<std::int64_t>(fs.f_bfree * fs.f_frsize);
}

// Each step as "before|after <share|link> <row>[ <outcome>]", and the links'.
class StepLog : public LinkRecorder {
public:
    Texts steps;
    std::vector<LinkStep> links;

    bool before(const LinkStep& step) override {
        steps.push_back("before " + kind(step) + std::to_string(step.row));
        if (step.kind == LinkStep::Kind::Link) {
            links.push_back(step);
        }
        return true;
    }
    void after(const LinkStep& step, LinkResult result) override {
        steps.push_back("after " + kind(step) + std::to_string(step.row) + " " +
                        linkResultText(result));
    }

private:
    static std::string kind(const LinkStep& step) {
        return step.kind == LinkStep::Kind::Share ? "share " : "link ";
    }
};

class LinkDuplicates : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!volume.mounted()) {
            GTEST_SKIP() << GetParam() << ": " << volume.why();
        }
    }
    std::string file(const std::string& name, const std::string& contents) {
        const std::string path = volume.file(name, contents);
        test::addRow(table, path);
        return path;
    }
    void search() { finder.search(table, ProgressSink::silent()); }
    DuplicateFinder::LinkOutcome link(bool mayHardLink) {
        return finder.linkDuplicates(table, sink, mayHardLink, log);
    }
    // No hidden name is left anywhere.
    void nothingHidden() {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(volume.path())) {
            EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
        }
    }

    test::ScratchVolume volume{GetParam()};
    FileTable table;
    DuplicateFinder finder;
    test::RecordingSink sink;
    StepLog log;
};

using SharingDuplicates = LinkDuplicates;

TEST_P(SharingDuplicates, DataIsStoredOnceAndEachCopyStaysAFileOfItsOwn) {
    const std::string data = randomBytes(3 * kMiB, 1);
    file("orig", data);
    const std::string copy = file("albums/copy", data);
    file("backup/other", data);
    ASSERT_EQ(::chmod(copy.c_str(), 0640), 0);
    ASSERT_EQ(::setxattr(copy.c_str(), "user.note", "kept", 4, 0), 0);
    const struct timespec times[2] = {{1000000000, 5}, {1200000000, 7}};
    ASSERT_EQ(::utimensat(AT_FDCWD, copy.c_str(), times, 0), 0);
    search();
    const struct stat before = statOf(copy);
    const std::int64_t freeBefore = bytesFree(volume.path());
    // The plan shares a first chunk (here the whole first copy) to learn
    // that the file system can; the run counts it.
    const DuplicateFinder::LinkPlan plan = finder.planLink(table);
    EXPECT_EQ(plan.share, 2u);
    EXPECT_FALSE(plan.asksBeforeLinking());
    EXPECT_EQ(link(false).reclaimed, 2 * 3 * kMiB);
    EXPECT_EQ(sink.lastStatus(),
              "3 files in list; Shared - 2; Linked - 0; Remained - 0; Reclaimed - 6,0 Mb");
    EXPECT_EQ(test::marks(table), (Texts{"orig 1 Orig", "copy 1 Shared", "other 1 Shared"}));
    // The copy the plan shared whole is told done (the journal counts it),
    // with nothing to write down before.
    EXPECT_EQ(log.steps, (Texts{"after share 1 Shared", "before share 2", "after share 2 Shared"}));
    // The file system agrees: the space of both copies is free again.
    EXPECT_GE(bytesFree(volume.path()) - freeBefore, 2 * 3 * kMiB - kMiB);
    for (const char* name : {"orig", "albums/copy", "backup/other"}) {
        EXPECT_EQ(test::contentsOf(volume.at(name)), data) << name;
    }
    const struct stat after = statOf(copy);
    const auto same = [](const struct timespec& a, const struct timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    EXPECT_TRUE(after.st_ino == before.st_ino && after.st_nlink == 1 &&
                after.st_mode == before.st_mode && after.st_uid == before.st_uid &&
                same(after.st_atim, before.st_atim) && same(after.st_mtim, before.st_mtim) &&
                same(after.st_ctim, before.st_ctim));
    char note[8] = {};
    EXPECT_EQ(::getxattr(copy.c_str(), "user.note", note, sizeof note), 4);
    EXPECT_STREQ(note, "kept");

    // Again: nothing asked of the kernel, nothing counted twice.
    test::FaultyFileSystem fs;
    EXPECT_EQ(link(false).shared, 2);
    EXPECT_TRUE(fs.shareCalls().empty());
    EXPECT_EQ(sink.lastStatus(),
              "3 files in list; Shared - 2; Linked - 0; Remained - 0; Reclaimed - 0 bytes");
}

// A copy changed since the search, even to other bytes of its size with its
// times put back, keeps its own data: before the run by its change time, and
// during it by the kernel's own comparison under lock, chunk by chunk.
TEST_P(SharingDuplicates, ACopyChangedSinceTheSearchKeepsItsOwnData) {
    const std::string big = randomBytes(40 * kMiB, 2);
    file("big", big);
    const std::string bigCopy = file("big-copy", big);
    file("small", "small data");
    const std::string smallCopy = file("small-copy", "small data");
    search();
    test::editInPlaceKeepingTheTime(smallCopy, "SMALL");
    test::FaultyFileSystem fs;
    fs.beforeShare([&](const std::string& duplicate, std::int64_t offset) {
        if (duplicate == bigCopy && offset == 32 * kMiB) {
            test::editInPlaceKeepingTheTime(bigCopy, "edited", big.size() - 6);
        }
    });
    EXPECT_EQ(link(false).remained, 2);
    EXPECT_EQ(sink.lastStatus(),
              "4 files in list; Shared - 0; Linked - 0; Remained - 2; Reclaimed - 0 bytes");
    EXPECT_EQ(fs.shareCalls(), (Texts{bigCopy + " 0 16777216", bigCopy + " 16777216 16777216",
                                      bigCopy + " 33554432 8388608"}));
    EXPECT_EQ(test::contentsOf(bigCopy), big.substr(0, big.size() - 6) + "edited");
    EXPECT_EQ(test::contentsOf(volume.at("big")), big);
    EXPECT_EQ(test::contentsOf(smallCopy), "SMALL data");
}

INSTANTIATE_TEST_SUITE_P(OnFileSystemsThatShare, SharingDuplicates,
                         testing::Values("btrfs", "xfs"));

using LinkingDuplicates = LinkDuplicates;

TEST_P(LinkingDuplicates, NamesBecomeNamesOfTheirOrigOnlyWhenAllowed) {
    const std::string photo = randomBytes(300000, 4);
    const std::string orig = file("2020/photo.jpg", photo);
    const std::string copy = file("2023/copy of photo.jpg", photo);
    const std::string second = file("backup/photo.jpg", photo);
    file("notes", "twelve bytes");
    const std::string notes = file("old/notes", "twelve bytes");
    // A copy with a name of its own elsewhere: linked, but its data stays.
    ASSERT_EQ(::link(notes.c_str(), volume.at("kept-name").c_str()), 0);
    search();
    const DuplicateFinder::LinkPlan plan = finder.planLink(table);
    EXPECT_EQ(plan.link, 3u);
    EXPECT_TRUE(plan.asksBeforeLinking());

    const ino_t copyInode = statOf(copy).st_ino;
    EXPECT_EQ(link(false).remained, 3);
    EXPECT_EQ(statOf(copy).st_ino, copyInode);
    EXPECT_EQ(sink.lastStatus(),
              "5 files in list; Shared - 0; Linked - 0; Remained - 3; Reclaimed - 0 bytes");

    log.steps.clear();
    EXPECT_EQ(link(true).linked, 3);
    EXPECT_EQ(sink.lastStatus(),
              "5 files in list; Shared - 0; Linked - 3; Remained - 0; Reclaimed - 585,9 Kb");
    EXPECT_EQ(statOf(copy).st_ino, statOf(orig).st_ino);
    EXPECT_EQ(statOf(second).st_ino, statOf(orig).st_ino);
    EXPECT_EQ(statOf(notes).st_ino, statOf(volume.at("notes")).st_ino);
    EXPECT_EQ(test::contentsOf(volume.at("kept-name")), "twelve bytes");
    EXPECT_EQ(test::contentsOf(copy), photo);
    nothingHidden();
    // The plan learnt that the file system cannot share: each is linked at
    // once, under a hidden name beside its own file.
    EXPECT_EQ(log.steps, (Texts{"before link 1", "after link 1 Linked", "before link 3",
                                "after link 3 Linked", "before link 4", "after link 4 Linked"}));
    for (const LinkStep& step : log.links) {
        const auto slash = step.duplicate.rfind('/') + 1;
        EXPECT_TRUE(step.aside.starts_with(step.duplicate.substr(0, slash) + "." +
                                           step.duplicate.substr(slash) + ".folivar-linking-"))
            << step.aside;
    }
    // Linked rows are done: a second run leaves them.
    const auto again = link(true);
    EXPECT_EQ(again.linked + again.remained + again.shared, 0);
}

TEST_P(LinkingDuplicates, EveryRefusalLeavesTheCopyAsItWas) {
    using Arrange = std::function<void(test::FaultyFileSystem&, const std::string& orig,
                                       const std::string& copy)>;
    const struct {
        const char* what;
        Arrange arrange;  // after the search; none: the copy seen on another device by it
        std::string copyReads;
        mode_t copyMode = 0;  // set before the search when not 0
    } cases[] = {
        {"copy edited in place, its time put back",
         [](auto&, auto&, auto& copy) { test::editInPlaceKeepingTheTime(copy, "EDIT"); },
         "EDIT copy's data"},
        {"original edited in place",
         [](auto&, auto& orig, auto&) { test::editInPlaceKeepingTheTime(orig, "EDIT"); },
         "same copy's data"},
        {"no further name for the original", [](auto& fs, auto& orig, auto&) { fs.failLink(orig); },
         "same copy's data"},
        {"names cannot be swapped", [](auto& fs, auto&, auto& copy) { fs.failExchange(copy); },
         "same copy's data"},
        {"saved anew just before the swap",
         [](auto& fs, auto&, const std::string& copy) {
             fs.beforeExchange([copy, done = false](auto&, auto&) mutable {
                 if (!std::exchange(done, true)) {
                     test::saveAsEditorsDo(copy, "a new version of it");
                 }
             });
         },
         "a new version of it"},
        {"on another device than its original", {}, "same copy's data"},
        {"permissions of its own", [](auto&, auto&, auto&) {}, "same copy's data", 0600},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        table.clear();
        const std::string dir = "r" + std::to_string(round++) + "/";
        const std::string orig = file(dir + "orig", "same copy's data");
        const std::string copy = file(dir + "sub/copy", "same copy's data");
        test::FaultyFileSystem fs;
        if (!c.arrange) {
            fs.seeOnDevice(volume.at(dir + "sub/"), 4242);
        }
        if (c.copyMode != 0) {
            ASSERT_EQ(::chmod(copy.c_str(), c.copyMode), 0);
        }
        search();
        if (c.arrange) {
            c.arrange(fs, orig, copy);
        }
        EXPECT_EQ(link(true).remained, 1);
        EXPECT_EQ(table[1].Status, "Remained");
        EXPECT_NE(statOf(copy).st_ino, statOf(orig).st_ino);
        EXPECT_EQ(test::contentsOf(copy), c.copyReads);
        nothingHidden();
    }
}

// The undo of one link, from each state a link can be left in by a kill and
// after what can happen to it since: a name gets its own file again only
// while it leads to the original unchanged, and no hidden name is left.
TEST_P(LinkingDuplicates, TheUndoGivesALinkItsOwnDataBackFromEveryState) {
    const auto swap = [](const std::string& a, const std::string& b) {
        ASSERT_EQ(platform::exchangeNames(a, b), platform::ExchangeResult::Exchanged);
    };
    using Arrange = std::function<void(const std::string& orig, const std::string& copy,
                                       const std::string& aside)>;
    const Arrange linked = [&swap](auto& orig, auto& copy, auto& aside) {
        ASSERT_EQ(::link(orig.c_str(), aside.c_str()), 0);
        swap(aside, copy);
        ASSERT_EQ(::unlink(aside.c_str()), 0);
    };
    enum class Then { OwnInode, OldInode, Link, Gone };
    const struct {
        const char* what;
        bool recorded;
        Arrange arrange;
        const char* status;  // nullptr: nothing to take back
        Then then;
        std::string copyReads;
        mode_t copyMode = 0;  // set before the search when not 0
    } cases[] = {
        {"killed before the link", false, [](auto&, auto&, auto&) {}, nullptr, Then::OldInode,
         "same copy's data"},
        {"killed once linked under the hidden name", false,
         [](auto& orig, auto&, auto& aside) { ASSERT_EQ(::link(orig.c_str(), aside.c_str()), 0); },
         nullptr, Then::OldInode, "same copy's data"},
        {"killed after the swap", false,
         [&swap](auto& orig, auto& copy, auto& aside) {
             ASSERT_EQ(::link(orig.c_str(), aside.c_str()), 0);
             swap(aside, copy);
         },
         kRestored, Then::OldInode, "same copy's data"},
        {"linked, its record lost", false, linked, kRestored, Then::OwnInode, "same copy's data"},
        {"linked", true, linked, kRestored, Then::OwnInode, "same copy's data"},
        {"linked, then written to through either name", true,
         [&linked](auto& orig, auto& copy, auto& aside) {
             linked(orig, copy, aside);
             std::ofstream(orig, std::ios::app) << " and more";
         },
         kNotRestoredChanged, Then::Link, "same copy's data and more"},
        {"linked, then saved anew", true,
         [&linked](auto& orig, auto& copy, auto& aside) {
             linked(orig, copy, aside);
             test::saveAsEditorsDo(copy, "a new version");
         },
         kNotRestoredChanged, Then::OwnInode, "a new version"},
        {"linked, then deleted", true,
         [&linked](auto& orig, auto& copy, auto& aside) {
             linked(orig, copy, aside);
             ASSERT_EQ(::unlink(copy.c_str()), 0);
         },
         kNotRestoredGone, Then::Gone, ""},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = "u" + std::to_string(round++) + "/";
        const std::string orig = volume.file(dir + "orig", "same copy's data");
        const std::string copy = volume.file(dir + "sub/copy", "same copy's data");
        const struct timespec earlier[2] = {{1000, 0}, {1000, 123}};
        ASSERT_EQ(::utimensat(AT_FDCWD, copy.c_str(), earlier, 0), 0);
        platform::FileStatus before;
        platform::FileStatus original;
        ASSERT_TRUE(platform::fileSystem().status(copy, false, before));
        ASSERT_TRUE(platform::fileSystem().status(orig, false, original));
        const JournaledLink link{3,
                                 copy,
                                 orig,
                                 volume.at(dir + "sub/.copy.folivar-linking-0badf00d"),
                                 MovedIdentity::of(before),
                                 MovedIdentity::of(original),
                                 c.recorded};
        c.arrange(orig, copy, link.aside);
        const char* status = undoLink(link);
        EXPECT_STREQ(status == nullptr ? "nothing" : status,
                     c.status == nullptr ? "nothing" : c.status);
        nothingHidden();
        if (c.then == Then::Gone) {
            EXPECT_FALSE(std::filesystem::exists(copy));
            continue;
        }
        EXPECT_EQ(test::contentsOf(copy), c.copyReads);
        const struct stat now = statOf(copy);
        switch (c.then) {
            case Then::OldInode:
                EXPECT_EQ(now.st_ino, before.inode);
                break;
            case Then::OwnInode:  // maybe the number of the duplicate's, freed
                EXPECT_NE(now.st_ino, original.inode);
                EXPECT_EQ(now.st_nlink, 1u);
                if (c.status == kRestored) {
                    EXPECT_EQ(now.st_mtim.tv_nsec, 123);  // the duplicate's own time
                }
                break;
            case Then::Link:
                EXPECT_EQ(now.st_ino, original.inode);
                break;
            case Then::Gone:
                break;
        }
        EXPECT_EQ(test::contentsOf(orig), c.then == Then::Link ? c.copyReads : "same copy's data");
    }
}

INSTANTIATE_TEST_SUITE_P(OnFileSystemsThatCannotShare, LinkingDuplicates,
                         testing::Values("tmpfs", "ext4"));

}  // namespace
}  // namespace folivar
