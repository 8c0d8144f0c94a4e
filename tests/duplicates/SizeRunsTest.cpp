#include "duplicates/SizeRuns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folivar {
namespace {

// The runs the search takes up, as "first-end" row ranges from a row on.
std::vector<std::string> runsFrom(const std::vector<std::string>& sizes, std::size_t from) {
    FileTable table;
    for (std::size_t row = 0; row < sizes.size(); ++row) {
        table.append({"f" + std::to_string(row), "/d/", sizes[row], "", "1.1.2024", "0", "-"});
    }
    const SizeRuns runs(table, from);
    std::vector<std::string> out;
    std::vector<std::string> paths;
    std::size_t at = runs.start();
    while (runs.next(at, paths)) {
        const std::string first = paths.front().substr(4);
        out.push_back(first + "-" + std::to_string(at));
        EXPECT_EQ(paths.size(), at - std::stoul(first)) << out.back();
    }
    EXPECT_EQ(at, sizes.size());
    return out;
}

TEST(SizeRunsTest, RunsOfTwoOrMoreRowsOfOneSizeText) {
    const std::vector<std::string> sizes = {"1", "2", "2", "3", "4", "4", "4", "5", "6", "6"};
    const struct {
        std::size_t from;
        std::vector<std::string> runs;
    } cases[] = {
        {0, {"1-3", "4-7", "8-10"}},
        {2, {"4-7", "8-10"}},  // from inside a run: what is left of it has one row
        {5, {"5-7", "8-10"}},  // two rows are left
        {9, {}},
        {10, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runsFrom(sizes, c.from), c.runs) << "from " << c.from;
    }
    EXPECT_EQ(runsFrom({"7", "7"}, 0), std::vector<std::string>{"0-2"});
    EXPECT_EQ(runsFrom({}, 0), std::vector<std::string>{});
    // The texts decide, as for the search: "07" is another size text than "7".
    EXPECT_EQ(runsFrom({"7", "07", "7"}, 0), std::vector<std::string>{});
}

}  // namespace
}  // namespace folivar
