#include "filelist/Shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/ScriptedClock.h"

namespace folivar {
namespace {

using Order = std::vector<std::size_t>;

FileTable numberedTable(std::size_t count) {
    FileTable table;
    for (std::size_t i = 0; i < count; ++i) {
        table.append({std::to_string(i), "/d/", "1", "", "1.1.2001", "0", "-"});
    }
    return table;
}

Order rowNumbers(const FileTable& table) {
    Order numbers;
    for (const FileRow& row : table) {
        numbers.push_back(std::stoul(row.FileName));
    }
    return numbers;
}

// An independent reckoning of the shuffle: the generator in integer
// arithmetic (3 x seed against 2^32 and 2^33 instead of rounding a double),
// driving a merge sort on copied lists.
class ReferenceShuffle {
public:
    explicit ReferenceShuffle(std::uint32_t seed) : seed_(seed) {}

    Order sort(const Order& items) {
        if (items.size() < 2) {
            return items;
        }
        const auto half = static_cast<std::ptrdiff_t>(items.size() / 2);
        const Order left = sort(Order(items.begin(), items.begin() + half));
        const Order right = sort(Order(items.begin() + half, items.end()));
        Order merged;
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < left.size() && j < right.size()) {
            merged.push_back(answer() > 0 ? right[j++] : left[i++]);
        }
        merged.insert(merged.end(), left.begin() + static_cast<std::ptrdiff_t>(i), left.end());
        merged.insert(merged.end(), right.begin() + static_cast<std::ptrdiff_t>(j), right.end());
        return merged;
    }

private:
    int answer() {
        seed_ = static_cast<std::uint32_t>((std::uint64_t{seed_} * 134775813u + 1u) & 0xFFFFFFFFu);
        const std::uint64_t triple = std::uint64_t{seed_} * 3u;
        if (seed_ == 0) {
            return -2;
        }
        if (triple < (std::uint64_t{1} << 32)) {
            return -1;
        }
        return triple < (std::uint64_t{1} << 33) ? 0 : 1;
    }

    std::uint32_t seed_;
};

TEST(ShuffleRows, ThreeRowsFollowTheGeneratorsAnswers) {
    // From seed 1 the answers run -1, 1, -1: rows 1 and 2 merge as they are;
    // then row 0 against row 1 answers 1, so row 1 goes first, and row 0
    // against row 2 answers -1, so row 0 goes next.
    FileTable table = numberedTable(3);
    ShuffleRandom random(1);
    EXPECT_EQ(shuffleRows(table, random), (Order{1, 0, 2}));
    EXPECT_EQ(rowNumbers(table), (Order{1, 0, 2}));
}

TEST(ShuffleRows, KeepsEveryRowExactlyOnceAndMatchesTheReference) {
    for (std::size_t count : {0u, 1u, 2u, 10u, 100000u}) {
        FileTable table = numberedTable(count);
        ShuffleRandom random(987654321u);
        const Order order = shuffleRows(table, random);

        const Order shown = rowNumbers(table);
        EXPECT_EQ(shown, order) << count;
        Order sorted = shown;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, rowNumbers(numberedTable(count))) << count;

        Order identity = sorted;
        EXPECT_EQ(shown, ReferenceShuffle(987654321u).sort(identity)) << count;
        if (count >= 10) {
            EXPECT_NE(shown, identity) << count;
        }
    }
}

TEST(ShuffleRows, SeedsFromTheHighResolutionCounter) {
    test::ScriptedClock clock;
    for (std::uint32_t counter : {1u, 0xFFFFFFFFu, 31337u}) {
        clock.setCounter(counter);
        FileTable table = numberedTable(50);
        shuffleRows(table);
        EXPECT_EQ(rowNumbers(table), ReferenceShuffle(counter).sort(rowNumbers(numberedTable(50))))
            << counter;
    }
}

}  // namespace
}  // namespace folivar
