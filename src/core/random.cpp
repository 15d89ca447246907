#include "core/random.h"

namespace tintwalk {

constinit TINTWALK_PER_THREAD RandomGenerator randomGenerator;

bool RandomGenerator::operator==(const RandomGenerator& other) const {
    // Equal states give equal sequences; compare the 31 words before each
    // one's next draw.
    RandomGenerator a = *this;
    RandomGenerator b = other;
    if (a.cursor_ == kBatch)
        a.Refill();
    if (b.cursor_ == kBatch)
        b.Refill();
    for (int j = 0; j < kDegree; ++j) {
        if (a.words_[a.cursor_ + j] != b.words_[b.cursor_ + j])
            return false;
    }
    return true;
}

}  // namespace tintwalk
