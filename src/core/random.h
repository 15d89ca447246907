// The one random generator: an additive lagged-Fibonacci generator of degree
// 31 and separation 3, seeded by the Park-Miller recurrence and warmed up by
// 310 discarded outputs. Every random choice of the simulation is a draw
// from it, so its sequence is part of the picture.
//
// In table form the state is 31 words with a `front` word that receives the
// next sum and a `rear` word, three places behind, that is added to it:
//   table[front] += table[rear]; result = table[front] >> 1; advance both.
// Equivalently each new word is w[n] = w[n - 31] + w[n - 3] (mod 2^32). The
// generator keeps the last 31 words in order and computes the words in
// batches, so that a draw is a single read in the bot step's inner loop;
// the sequence is the same.
#pragma once

#include <cstdint>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tintwalk {

class RandomGenerator {
  public:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

    // The state that seeding with 1 gives.
    constexpr RandomGenerator() { Seed(1); }

    // Restarts the sequence; a seed of 0 counts as 1.
    constexpr void Seed(int32_t seed) {
        if (seed == 0)
            seed = 1;
        int32_t table[kDegree] = {};
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
        Discard(10 * kDegree);
    }

    // The next value, 0 to 2^31 - 1. One call is one draw.
    constexpr int32_t Next() {
        if (cursor_ == kBatch) [[unlikely]] {
            Refill();
        }
        return static_cast<int32_t>(words_[kDegree + cursor_++] >> 1);
    }

    // Skips `count` draws, as that many calls of Next would, but a whole
    // batch at a time.
    constexpr void Discard(uint64_t count) {
        while (count > 0) {
            if (cursor_ == kBatch)
                Refill();
            const uint64_t left = static_cast<uint64_t>(kBatch - cursor_);
            const uint64_t taken = count < left ? count : left;
            cursor_ += static_cast<int>(taken);
            count -= taken;
        }
    }

    // Replaces the state by one in table form; `front` is the word that
    // receives the next sum (its addend is front - 3, modulo 31).
    constexpr void LoadState(const int32_t table[kDegree], int front) {
        // The word at front is the oldest (it is the one the next sum
        // replaces); the words after it, cyclically, are ever younger. They
        // become the 31 words before the next batch.
        for (int j = 0; j < kDegree; ++j)
            words_[kBatch + j] = static_cast<uint32_t>(table[(front + j) % kDegree]);
        cursor_ = kBatch;
    }

    // The same sequence from here on.
    bool operator==(const RandomGenerator& other) const;

  private:
    // Words per batch: a multiple of 3, as the batch is computed three
    // words at a time.
    static constexpr int kBatch = 63;

    constexpr void Refill() {
        // The last 31 words of the batch just handed out come first.
        for (int i = 0; i < kDegree; ++i)
            words_[i] = words_[kBatch + i];
        // Word i is w[i - 31] + w[i - 3]; three words at a time depend only
        // on words already made, so they are summed side by side (the fourth
        // lane is made again, correctly, by the next three).
        for (int i = kDegree; i < kDegree + kBatch; i += kSeparation) {
#if defined(__SSE2__)
            if (!std::is_constant_evaluated()) {
                const __m128i oldest =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(words_ + i - kDegree));
                const __m128i recent =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(words_ + i - kSeparation));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(words_ + i),
                                 _mm_add_epi32(oldest, recent));
                continue;
            }
#endif
            for (int k = 0; k < kSeparation; ++k)
                words_[i + k] = words_[i + k - kDegree] + words_[i + k - kSeparation];
        }
        cursor_ = 0;
    }

    // words_[0..30]: the 31 words before the batch, oldest first; then the
    // batch, whose words are handed out in order; then one word of slack.
    uint32_t words_[kDegree + kBatch + 1] = {};
    int cursor_ = kBatch;
};

// Where the simulation may run on several threads, each thread has a
// generator of its own: the thread that steps the world draws from its own,
// and a helper thread of a parallel pass sets its own to the point of the
// sequence where the bot it runs begins (see core/parallel_step.h). The
// Windows builds run the simulation on one thread and keep one generator.
#if defined(_WIN32)
#define TINTWALK_PER_THREAD
#else
#define TINTWALK_PER_THREAD thread_local
#endif

extern constinit TINTWALK_PER_THREAD RandomGenerator randomGenerator;

}  // namespace tintwalk
