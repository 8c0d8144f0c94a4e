#pragma once

#include <cstdint>

namespace folivar {

// The shuffle's pseudo-random numbers: a 32-bit linear congruential generator,
// seed = seed x 134775813 + 1 (mod 2^32), each number the new seed / 2^32.
class ShuffleRandom {
public:
    explicit ShuffleRandom(std::uint32_t seed) : seed_(seed) {}

    // Steps the generator; a number uniform in [0, 1).
    double next();

    // The shuffle's answer to a comparison: round(r x 3 - 1.5) with halves to
    // even for the next number r. -1, 0 or +1, each about a third of the time;
    // -2 (ordering as -1) only when r is 0.
    int compareAnswer();

    std::uint32_t seed() const { return seed_; }

private:
    std::uint32_t seed_;
};

}  // namespace folivar
