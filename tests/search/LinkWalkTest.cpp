#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "search/FileSearch.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Order = test::FaultyFileSystem::Order;

// One tree with symbolic links to folders: which rows a walk gives under which
// path, and which folders it lists. Paths are relative to the root ("" is the
// root itself); "@/" stands for the folder outside the tree.
struct LinkCase {
    const char* what;
    std::function<void(test::TempTree& tree, test::TempTree& outside, test::FaultyFileSystem& fs)>
        make;
    std::vector<std::string> rows;
    std::vector<std::string> folders;
    int unreadable = 0;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.what;
}

struct Walked {
    std::vector<std::string> rows;
    std::vector<std::string> folders;  // in the order announced
    int unreadable = 0;
};

Walked walk(const test::TempTree& tree, const test::TempTree& outside) {
    const std::string root = tree.path() + "/";
    auto relative = [&](std::string path) {
        if (path.rfind(root, 0) == 0) {
            return path.substr(root.size());
        }
        return path == tree.path() ? std::string() : "@/" + path.substr(outside.path().size());
    };
    Walked w;
    TFileSearch search;
    search.RootPath = tree.path();
    search.IncludeSubfolder = true;
    search.FileNames = {"*"};
    search.OnFileFound = [&](TFileInformations f) { w.rows.push_back(relative(f.Path + f.Name)); };
    search.OnChangeFolder = [&](std::string path) { w.folders.push_back(relative(path)); };
    search.OnStatistics = [&](TStatistics s) { w.unreadable = s.FoldersUnreadable; };
    search.Search();
    std::sort(w.rows.begin(), w.rows.end());
    return w;
}

class LinkRoutes : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkRoutes, RowsUnderTheirOwnPathWhateverTheListingOrder) {
    const LinkCase& c = GetParam();
    test::TempTree tree;
    test::TempTree outside;
    for (Order order : {Order::Ascending, Order::Descending}) {
        test::FaultyFileSystem fs;
        fs.listInOrder(order);
        c.make(tree, outside, fs);
        const Walked w = walk(tree, outside);
        const char* named = order == Order::Ascending ? "ascending" : "descending";
        EXPECT_EQ(w.rows, c.rows) << c.what << ", " << named;
        std::vector<std::string> folders = w.folders;
        std::sort(folders.begin(), folders.end());
        EXPECT_EQ(folders, c.folders) << c.what << ", " << named;
        EXPECT_EQ(w.unreadable, c.unreadable) << c.what << ", " << named;
    }
}

// Makes the files and links once; the faults are put in place on every call.
auto once(std::function<void(test::TempTree&, test::TempTree&)> files,
          std::function<void(test::TempTree&, test::FaultyFileSystem&)> faults = {}) {
    auto made = std::make_shared<bool>(false);
    return [=](test::TempTree& tree, test::TempTree& outside, test::FaultyFileSystem& fs) {
        if (!*made) {
            files(tree, outside);
            *made = true;
        }
        if (faults) {
            faults(tree, fs);
        }
    };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkRoutes,
    testing::Values(
        LinkCase{"a link beside its target, listed before or after it",
                 once([](test::TempTree& in, test::TempTree&) {
                     in.file("zz-target/photo.jpg");
                     in.symlink("zz-target", "aa-link");
                 }),
                 {"aa-link", "zz-target", "zz-target/photo.jpg"},
                 {"", "zz-target"}},
        LinkCase{"a link to a deeper folder of the tree",
                 once([](test::TempTree& in, test::TempTree&) {
                     in.file("a/b/c/deep.txt");
                     in.symlink(in.at("a/b/c"), "shortcut");
                 }),
                 {"a", "a/b", "a/b/c", "a/b/c/deep.txt", "shortcut"},
                 {"", "a", "a/b", "a/b/c"}},
        LinkCase{"links to ancestors",
                 once([](test::TempTree& in, test::TempTree&) {
                     in.file("a/b/x.txt");
                     in.symlink("../..", "a/b/up");
                     in.symlink("..", "a/b/parent");
                     in.symlink(".", "a/self");
                 }),
                 {"a", "a/b", "a/b/parent", "a/b/up", "a/b/x.txt", "a/self"},
                 {"", "a", "a/b"}},
        LinkCase{"a link out of the tree is followed",
                 once([](test::TempTree& in, test::TempTree& o) {
                     o.file("far/away.txt");
                     in.symlink(o.path(), "out");
                 }),
                 {"out", "out/far", "out/far/away.txt"},
                 {"", "out", "out/far"}},
        LinkCase{"two links to one outside folder: the smaller path at the same depth",
                 once([](test::TempTree& in, test::TempTree& o) {
                     o.file("shared.txt");
                     in.symlink(o.path(), "second");
                     in.symlink(o.path(), "first");
                 }),
                 {"first", "first/shared.txt", "second"},
                 {"", "first"}},
        LinkCase{"two links to one outside folder: the shallower one",
                 once([](test::TempTree& in, test::TempTree& o) {
                     o.file("shared.txt");
                     in.symlink(o.path(), "a/aa");
                     in.symlink(o.path(), "zz");
                 }),
                 {"a", "a/aa", "zz", "zz/shared.txt"},
                 {"", "a", "zz"}},
        LinkCase{"a link back into the tree from the outside folder is no route",
                 once([](test::TempTree& in, test::TempTree& o) {
                     in.file("home/mine.txt");
                     o.dir("far");
                     o.symlink(in.at("home"), "far/back");
                     in.symlink(o.path(), "out");
                 }),
                 {"home", "home/mine.txt", "out", "out/far", "out/far/back"},
                 {"", "home", "out", "out/far"}},
        LinkCase{"a link to a folder that cannot be read: counted once, under its own path",
                 once(
                     [](test::TempTree& in, test::TempTree&) {
                         in.file("locked/secret.txt");
                         in.symlink("locked", "door");
                     },
                     [](test::TempTree& in, test::FaultyFileSystem& fs) {
                         fs.failOpenDirectory(in.at("locked"));
                     }),
                 {"door", "locked"},
                 {"", "locked"},
                 1},
        LinkCase{"a link into a folder below one that cannot be read is the only way there",
                 once(
                     [](test::TempTree& in, test::TempTree&) {
                         in.file("locked/inner/reached.txt");
                         in.symlink("locked/inner", "door");
                     },
                     [](test::TempTree& in, test::FaultyFileSystem& fs) {
                         fs.failOpenDirectory(in.at("locked"));
                     }),
                 {"door", "door/reached.txt", "locked"},
                 {"", "door", "locked"},
                 1}));

TEST(LinkRoutes, LinkedFolderKeepsItsPlaceInTheBreadthFirstOrder) {
    // The real folder is listed where a walk without the link lists it: the
    // rows come in the same order, whatever else links to it.
    test::TempTree tree;
    test::TempTree outside;
    test::FaultyFileSystem fs;
    fs.listInOrder(Order::Ascending);
    tree.file("m/n/o/p.txt");
    tree.file("z/q.txt");
    const Walked without = walk(tree, outside);
    tree.symlink("m/n/o", "a-first");
    tree.symlink("../../z", "m/n/zz");
    const Walked with = walk(tree, outside);
    EXPECT_EQ(with.folders, without.folders);
    std::vector<std::string> rows = without.rows;
    rows.insert(rows.end(), {"a-first", "m/n/zz"});
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(with.rows, rows);
}

}  // namespace
}  // namespace folivar
