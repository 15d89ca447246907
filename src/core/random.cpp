#include "core/random.h"

namespace tintwalk {

RandomGenerator randomGenerator;

void RandomGenerator::Seed(int32_t seed) {
    if (seed == 0)
        seed = 1;
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
    front = 3;
    rear = 0;
    for (int i = 0; i < 10 * kDegree; ++i)
        Next();
}

}  // namespace tintwalk
