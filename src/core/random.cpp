#include "core/random.h"

#include <cstring>

namespace tintwalk {

RandomGenerator randomGenerator;

void RandomGenerator::Seed(int32_t seed) {
    if (seed == 0) seed = 1;
    int32_t table[kDegree];
    table[0] = seed;
    for (int i = 1; i < kDegree; ++i) {
        // 16807 x w mod (2^31 - 1) without overflow (Schrage's method).
        const int32_t w = table[i - 1];
        const int32_t hi = w / 127773;
        const int32_t lo = w % 127773;
        int32_t next = 16807 * lo - 2836 * hi;
        if (next < 0) next += 2147483647;
        table[i] = next;
    }
    LoadState(table, kSeparation);
    for (int i = 0; i < 10 * kDegree; ++i) Next();
}

void RandomGenerator::LoadState(const int32_t table[kDegree], int front) {
    // The word at front is the oldest (it is the one the next sum replaces);
    // the words after it, cyclically, are ever younger.
    for (int j = 0; j < kDegree; ++j) {
        words_[j] = static_cast<uint32_t>(table[(front + j) % kDegree]);
    }
    cursor_ = kBatch;
}

void RandomGenerator::Refill() {
    for (int i = 0; i < kBatch; ++i) {
        const uint32_t word = words_[i] + words_[i + kDegree - kSeparation];
        words_[i + kDegree] = word;
        results_[i] = static_cast<int32_t>(word >> 1);
    }
    std::memmove(words_, words_ + kBatch, sizeof(uint32_t) * kDegree);
    cursor_ = 0;
}

}  // namespace tintwalk
