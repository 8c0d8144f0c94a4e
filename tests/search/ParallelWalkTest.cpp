#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <thread>

#include "search/FileSearch.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

// A random tree: files, folders, links into and out of it, links that lead
// nowhere; some folders cannot be listed and some entries vanish between being
// listed and having their status read (both through the faulty file system).
struct RandomTree {
    test::TempTree tree;
    test::TempTree outside;
    std::vector<std::string> folders;  // relative to the root; "" is the root

    RandomTree(std::mt19937& random, test::FaultyFileSystem& fs) {
        auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };
        outside.file("far/away.jpg");
        outside.file("near.txt");
        folders.push_back("");
        const char* extensions[] = {".jpg", ".JPG", ".txt", "", ".jpg.txt"};
        const std::size_t count = 20 + pick(60);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string parent = folders[pick(folders.size())];
            const std::string name = parent + (parent.empty() ? "" : "/") + "e" + std::to_string(i);
            switch (pick(10)) {
                case 0:
                case 1:
                case 2:
                    folders.push_back(name);
                    tree.dir(name);
                    break;
                case 3:  // a link to a folder of the tree, maybe not made yet
                    tree.symlink(tree.at(folders[pick(folders.size())]), name + ".lnk");
                    break;
                case 4:
                    tree.symlink(pick(2) == 0 ? outside.path() : outside.at("far"), name);
                    break;
                case 5:
                    tree.symlink("nowhere", name + ".jpg");
                    break;
                default:
                    tree.file(name + extensions[pick(5)], std::string(pick(100), 'x'));
            }
        }
        for (std::size_t i = 1; i < folders.size(); ++i) {
            if (pick(8) == 0) {
                fs.failOpenDirectory(tree.at(folders[i]));  // unreadable, or gone
            }
        }
        for (std::size_t i = 0; i < count; i += 1 + pick(12)) {
            const std::string parent = folders[pick(folders.size())];
            fs.failStatus(tree.at(parent) + "/e" + std::to_string(i) + ".jpg");
            fs.failStatus(tree.at(parent) + "/e" + std::to_string(i));
        }
    }
};

// Everything a walk reports, in order, and whether it all came on the caller's
// thread.
struct Transcript {
    std::vector<std::string> events;
    bool onCallersThread = true;
    bool result = false;
    std::string error;
};

std::string describe(const TFileInformations& f) {
    std::ostringstream text;
    text << f.Path << f.Name << " attr " << f.Attr << " size " << f.Size << " written "
         << f.LastWriteTime.Year << '-' << f.LastWriteTime.Month << '-' << f.LastWriteTime.Day
         << ' ' << f.LastWriteTime.Hour << ':' << f.LastWriteTime.Minute << ':'
         << f.LastWriteTime.Second << '.' << f.LastWriteTime.Milliseconds;
    return text.str();
}

Transcript walk(TFileSearch& search, std::size_t throwAt) {
    Transcript t;
    const std::thread::id caller = std::this_thread::get_id();
    auto note = [&](std::string event) {
        t.onCallersThread = t.onCallersThread && std::this_thread::get_id() == caller;
        t.events.push_back(std::move(event));
        if (t.events.size() == throwAt) {
            throw std::runtime_error("handler gives up");
        }
    };
    search.OnChangeFolder = [&](std::string path) { note("folder " + path); };
    search.OnAcceptFile = [&](TFileInformations f) {
        note("accept " + describe(f));
        return f.Size % 3 != 1;
    };
    search.OnFileFound = [&](TFileInformations f) { note("found " + describe(f)); };
    search.OnStatistics = [&](TStatistics s) {
        note("stats " + std::to_string(s.FilesFound) + " " + std::to_string(s.FoldersWithFiles) +
             " " + std::to_string(s.DirectoriesFound) + " " + std::to_string(s.FoldersUnreadable));
    };
    try {
        t.result = search.Search();
    } catch (const std::exception& e) {
        t.error = e.what();
    }
    return t;
}

TEST(ParallelWalk, ReportsExactlyWhatTheSingleWalkReports) {
    std::mt19937 random(20261208);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const std::vector<std::vector<std::string>> includes = {{"*.*"}, {"*.jpg"}, {"*"}, {"e1*"}};
    for (int round = 0; round < 40; ++round) {
        test::FaultyFileSystem fs;
        RandomTree tree(random, fs);
        TFileSearch search;
        search.RootPath = tree.tree.path();
        search.IncludeSubfolder = pick(6) != 0;
        search.FileNames = includes[pick(includes.size())];
        if (pick(3) == 0) {
            search.ExcludedFiles = {"*.txt"};
        }
        search.LookForAnyFile = pick(2) == 0;
        search.LookForDirectory = pick(2) == 0;
        // now and then a handler throws part-way, or a mask is invalid
        const std::size_t throwAt = pick(4) == 0 ? 1 + pick(40) : 0;
        if (pick(10) == 0) {
            search.FileNames.push_back("[z");
        }

        search.ReadAhead = WalkReadAhead{};
        search.ReadAhead.requests = 1;
        const Transcript single = walk(search, throwAt);

        for (int variant = 0; variant < 3; ++variant) {
            WalkReadAhead ahead;
            ahead.requests = 2 + static_cast<int>(pick(7));
            // from the first folder, or from a few folders on (as when the
            // walk finds itself waiting for the disk)
            ahead.fromStart = variant != 1;
            ahead.waitsBeforeStart = 0;
            ahead.folders = 1 + pick(8);
            ahead.entries = 1 + pick(24);
            ahead.batch = 1 + pick(6);
            ahead.chunk = 1 + pick(3);
            search.ReadAhead = ahead;
            const Transcript parallel = walk(search, throwAt);
            SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(ahead.requests) +
                         " requests, " + std::to_string(ahead.folders) + " folders, " +
                         std::to_string(ahead.entries) + " entries ahead, batches of " +
                         std::to_string(ahead.batch) + ", chunks of " +
                         std::to_string(ahead.chunk));
            EXPECT_EQ(parallel.events, single.events);
            EXPECT_EQ(parallel.result, single.result);
            EXPECT_EQ(parallel.error, single.error);
            EXPECT_TRUE(parallel.onCallersThread);
        }
    }
}

}  // namespace
}  // namespace folivar
