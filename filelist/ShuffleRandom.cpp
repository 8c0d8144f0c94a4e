#include "filelist/ShuffleRandom.h"

#include <cmath>

namespace folivar {

double ShuffleRandom::next() {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<double>(seed_) / 4294967296.0;
}

int ShuffleRandom::compareAnswer() {
    // r x 3 - 1.5 is exact in a double; nearbyint rounds halves to even under
    // the default rounding mode.
    return static_cast<int>(std::nearbyint(next() * 3.0 - 1.5));
}

}  // namespace folivar
