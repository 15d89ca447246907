#include "core/random.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tintwalk {

RandomGenerator randomGenerator;

void RandomGenerator::Seed(int32_t seed) {
    if (seed == 0)
        seed = 1;
    int32_t table[kDegree];
    table[0] = seed;
    for (int i = 1; i < kDegree; ++i) {
        // 16807 x w mod (2^31 - 1) without overflow (Schrage's method).
        const int32_t w = table[i - 1];
        const int32_t hi = w / 127773;
        const int32_t lo = w % 127773;
        int32_t next = 16807 * lo - 2836 * hi;
        if (next < 0)
            next += 2147483647;
        table[i] = next;
    }
    LoadState(table, kSeparation);
    for (int i = 0; i < 10 * kDegree; ++i)
        Next();
}

void RandomGenerator::LoadState(const int32_t table[kDegree], int front) {
    // The word at front is the oldest (it is the one the next sum replaces);
    // the words after it, cyclically, are ever younger. They become the 31
    // words before the next batch.
    for (int j = 0; j < kDegree; ++j) {
        words_[kBatch + j] = static_cast<uint32_t>(table[(front + j) % kDegree]);
    }
    cursor_ = kBatch;
}

void RandomGenerator::Refill() {
    // The last 31 words of the batch just handed out come first.
    std::memmove(words_, words_ + kBatch, sizeof(uint32_t) * kDegree);
    // Word i is w[i - 31] + w[i - 3]; three words at a time depend only on
    // words already made, so they are summed side by side (the fourth lane
    // is made again, correctly, by the next three).
    for (int i = kDegree; i < kDegree + kBatch; i += kSeparation) {
#if defined(__SSE2__)
        const __m128i oldest =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(words_ + i - kDegree));
        const __m128i recent =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(words_ + i - kSeparation));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(words_ + i), _mm_add_epi32(oldest, recent));
#else
        for (int k = 0; k < kSeparation; ++k) {
            words_[i + k] = words_[i + k - kDegree] + words_[i + k - kSeparation];
        }
#endif
    }
    cursor_ = 0;
}

}  // namespace tintwalk
