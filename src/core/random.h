// The one process-wide random generator: an additive lagged-Fibonacci
// generator of degree 31 and separation 3, seeded by the Park-Miller
// recurrence and warmed up by 310 discarded outputs. Every random choice of
// the simulation is a draw from it, so its sequence is part of the picture.
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

namespace tintwalk {

class RandomGenerator {
  public:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

    // The state that seeding with 1 gives.
    RandomGenerator() { Seed(1); }

    // Restarts the sequence; a seed of 0 counts as 1.
    void Seed(int32_t seed);

    // The next value, 0 to 2^31 - 1. One call is one draw.
    int32_t Next() {
        if (cursor_ == kBatch) [[unlikely]] {
            Refill();
        }
        return static_cast<int32_t>(words_[kDegree + cursor_++] >> 1);
    }

    // Replaces the state by one in table form; `front` is the word that
    // receives the next sum (its addend is front - 3, modulo 31).
    void LoadState(const int32_t table[kDegree], int front);

  private:
    // Words per batch: a multiple of 3, as the batch is computed three
    // words at a time.
    static constexpr int kBatch = 63;

    void Refill();

    // words_[0..30]: the 31 words before the batch, oldest first; then the
    // batch, whose words are handed out in order; then one word of slack.
    uint32_t words_[kDegree + kBatch + 1] = {};
    int cursor_ = kBatch;
};

extern RandomGenerator randomGenerator;

}  // namespace tintwalk
