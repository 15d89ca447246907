// The one process-wide random generator: an additive lagged-Fibonacci
// generator of degree 31 and separation 3, seeded by the Park-Miller
// recurrence and warmed up by 310 discarded outputs. Every random choice of
// the simulation is a draw from it, so its sequence is part of the picture.
#pragma once

#include <cstdint>

namespace tintwalk {

class RandomGenerator {
  public:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

    // Restarts the sequence; a seed of 0 counts as 1.
    void Seed(int32_t seed);

    // The next value, 0 to 2^31 - 1. One call is one draw.
    int32_t Next() {
        const uint32_t sum =
            static_cast<uint32_t>(table[front]) + static_cast<uint32_t>(table[rear]);
        table[front] = static_cast<int32_t>(sum);
        if (++front == kDegree) {
            front = 0;
            ++rear;
        } else if (++rear == kDegree) {
            rear = 0;
        }
        return static_cast<int32_t>(sum >> 1);
    }

    // The state is open so that tests can stage particular draws.
    int32_t table[kDegree] = {
        -1726662223, 379960547,  1735697613,  1040273694, 1313901226,  1627687941, -179304937,
        -2073333483, 1780058412, -1989503057, -615974602, 344556628,   939512070,  -1249116260,
        1507946756,  -812545463, 154635395,   1388815473, -1926676823, 525320961,  -1009028674,
        968117788,   -123449607, 1284210865,  435012392,  -2017506339, -911064859, -370259173,
        1132637927,  1398500161, -205601318,
    };
    int front = 3;
    int rear = 0;
};

extern RandomGenerator randomGenerator;

}  // namespace tintwalk
