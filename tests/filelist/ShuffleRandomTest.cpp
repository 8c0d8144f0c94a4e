#include "filelist/ShuffleRandom.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

namespace folivar {
namespace {

TEST(ShuffleRandom, StepsTheLinearCongruentialSeed) {
    ShuffleRandom random(0);
    // 0 x 134775813 + 1, then 1 x 134775813 + 1, then 134775814 x 134775813 + 1
    // = 18164519999182983 = 4229232 x 2^32 + 3698175007.
    EXPECT_EQ(random.next(), 1.0 / 4294967296.0);
    EXPECT_EQ(random.seed(), 1u);
    EXPECT_EQ(random.next(), 134775814.0 / 4294967296.0);
    EXPECT_EQ(random.next(), 3698175007.0 / 4294967296.0);
    EXPECT_EQ(random.seed(), 3698175007u);

    ShuffleRandom wrapping(0xFFFFFFFFu);
    wrapping.next();
    // (2^32 - 1) x 134775813 + 1 = -134775812 (mod 2^32)
    EXPECT_EQ(wrapping.seed(), 4294967296u - 134775812u);
}

struct AnswerCase {
    std::uint32_t seedBefore;
    int answer;
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << "seed " << c.seedBefore << ", answer " << c.answer;
}

class CompareAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(CompareAnswer, RoundsThreeTimesRMinusOneAndAHalf) {
    ShuffleRandom random(GetParam().seedBefore);
    EXPECT_EQ(random.compareAnswer(), GetParam().answer);
}

// 649090867 x 134775813 + 1 is 0 modulo 2^32: r = 0 gives -1.5, which rounds
// to the even -2. Seeds after the step: 1 (r near 0) gives -1; 134775814
// (r = 0.031) gives -1.41, so -1; 3698175007 (r = 0.861) gives 1.08, so 1;
// 1655067934 (r = 0.385) gives -0.34, so 0.
INSTANTIATE_TEST_SUITE_P(Seeds, CompareAnswer,
                         testing::Values(AnswerCase{649090867u, -2}, AnswerCase{0u, -1},
                                         AnswerCase{1u, -1}, AnswerCase{134775814u, 1},
                                         AnswerCase{12345u, 0}));

}  // namespace
}  // namespace folivar
