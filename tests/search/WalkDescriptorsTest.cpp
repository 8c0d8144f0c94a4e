// A walk short of descriptors: every readable folder is still listed, none is
// called unreadable, and its read-ahead holds no more than its share.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "search/FileSearch.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

struct Walked {
    int files = 0;
    int unreadable = 0;
};

// Folders f0 ... f<count - 1>, each with one file, and nested ones below the
// first few, so the queue grows while the walk goes.
void makeFolders(test::TempTree& tree, int count) {
    for (int f = 0; f < count; ++f) {
        const std::string folder =
            f < 20 ? "f" + std::to_string(f) + "/in" : "f" + std::to_string(f);
        tree.file(folder + "/p" + std::to_string(f) + ".jpg", "x");
    }
}

Walked walk(const std::string& root, const WalkReadAhead& ahead) {
    TFileSearch search;
    search.RootPath = root;
    search.IncludeSubfolder = true;
    search.FileNames = {"*.jpg"};
    search.ReadAhead = ahead;
    Walked walked;
    search.OnFileFound = [&](const TFileInformations&) { ++walked.files; };
    search.OnStatistics = [&](TStatistics s) { walked.unreadable = s.FoldersUnreadable; };
    search.Search();
    return walked;
}

WalkReadAhead readingAheadFromTheStart() {
    WalkReadAhead ahead;
    ahead.requests = 4;
    ahead.fromStart = true;
    return ahead;
}

// Opening a folder fails for want of descriptors while a few are open: the
// requests that run short leave their folders to the walk, which gives back
// what it reads ahead and opens them again.
TEST(WalkDescriptors, FoldersRefusedForWantOfDescriptorsAreOpenedAgain) {
    test::TempTree tree;
    constexpr int kFolders = 150;
    makeFolders(tree, kFolders);
    for (const int limit : {1, 3, 8}) {
        test::FaultyFileSystem fs;
        fs.limitOpenListings(limit);
        const Walked walked = walk(tree.path(), readingAheadFromTheStart());
        EXPECT_EQ(walked.files, kFolders) << "at most " << limit << " open";
        EXPECT_EQ(walked.unreadable, 0) << "at most " << limit << " open";
        EXPECT_GT(fs.listingRefusals(), 0) << "the shortage was never met";
    }
}

// The same for real: a child process under a low limit on open files, once
// with the descriptors to itself and once with others holding most of them.
TEST(WalkDescriptors, ALowDescriptorLimitHidesNoFolder) {
    test::TempTree tree;
    constexpr int kFolders = 300;
    makeFolders(tree, kFolders);
    for (const int heldByOthers : {0, 30}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            const struct rlimit low { 48, 48 };
            if (::setrlimit(RLIMIT_NOFILE, &low) != 0) {
                ::_exit(3);
            }
            std::vector<int> held;
            for (int i = 0; i < heldByOthers; ++i) {
                held.push_back(::open("/dev/null", O_RDONLY | O_CLOEXEC));
            }
            const Walked walked = walk(tree.path(), readingAheadFromTheStart());
            const int counts[2] = {walked.files, walked.unreadable};
            const bool told = ::write(fds[1], counts, sizeof counts) == sizeof counts;
            ::_exit(told ? 0 : 4);
        }
        ::close(fds[1]);
        int counts[2] = {-1, -1};
        const bool read = ::read(fds[0], counts, sizeof counts) == sizeof counts;
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(read && WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the child could not walk (status " << status << ")";
        EXPECT_EQ(counts[0], kFolders) << heldByOthers << " held by others";
        EXPECT_EQ(counts[1], 0) << heldByOthers << " held by others";
    }
}

}  // namespace
}  // namespace folivar
