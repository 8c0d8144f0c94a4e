#include "filelist/PathPruning.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folivar {
namespace {

using Paths = std::vector<std::string>;

struct PruneCase {
    Paths paths;
    bool subfolders;
    Paths kept;
};

void PrintTo(const PruneCase& c, std::ostream* os) {
    for (const std::string& p : c.paths) {
        *os << p << " ";
    }
    *os << (c.subfolders ? "(subfolders)" : "(no subfolders)");
}

class Pruning : public testing::TestWithParam<PruneCase> {};

TEST_P(Pruning, KeepsOnlyUncoveredEntries) {
    Paths paths = GetParam().paths;
    prunePaths(paths, GetParam().subfolders);
    EXPECT_EQ(paths, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Pruning,
    testing::Values(
        // a sibling sharing a prefix, and another letter case, are other folders
        PruneCase{{"/data/Photo", "/data/Photos", "/data/photo/2004"},
                  true,
                  {"/data/Photo", "/data/Photos", "/data/photo/2004"}},
        PruneCase{{"/data/Photo", "/data/Photos", "/data/Photo/2004"},
                  true,
                  {"/data/Photo", "/data/Photos"}},
        // the covering entry stays wherever it stands; of equal ones the first
        PruneCase{{"/X", "/A/B", "/Y", "/A"}, true, {"/X", "/Y", "/A"}},
        PruneCase{{"/A/B", "/A/B/C", "/A/B"}, true, {"/A/B"}},
        PruneCase{{"/A/", "/A"}, true, {"/A/"}},
        PruneCase{{"/data//Photo/2004", "/data/Photo/"}, true, {"/data/Photo/"}},
        PruneCase{{"/", "/home/x", "/srv"}, true, {"/"}},
        PruneCase{{".", "./a", "a"}, true, {".", "a"}},
        // ".." may climb out of the folder; "." does not
        PruneCase{{"/data/Photo", "/data/Photo/.."}, true, {"/data/Photo", "/data/Photo/.."}},
        PruneCase{{"/data/Photo", "/data/Photo/./2004", "/data/Photo/..x"}, true, {"/data/Photo"}},
        // without subfolders a parent does not walk its listed subfolder
        PruneCase{{"/A/B", "/A", "/A/"}, false, {"/A/B", "/A"}}));

}  // namespace
}  // namespace folivar
