// Stages the shared generator so that its next draws are chosen values.
//
// In table form a draw adds table[rear] into table[front] and returns the sum
// shifted right by one. With front = 3 and rear = 0 the k-th draw lands in
// table[k + 3] and adds table[k]; solving for table[k + 3] gives any sequence
// of up to 28 draws. Values must lie in 0 .. 2^31 - 1, as real draws do.
#pragma once

#include <cassert>
#include <cstdint>
#include <initializer_list>

#include "core/random.h"

namespace tintwalk::testing {

inline void ScriptDrawSpan(const uint32_t* values, int count) {
    assert(count <= 28);
    int32_t table[RandomGenerator::kDegree] = {};
    for (int k = 0; k < count; ++k) {
        // Draw k adds table[k], which draw k - 3 has already overwritten with
        // its own sum (twice its value); the first three add the zeros.
        const uint32_t addend = k < 3 ? 0u : values[k - 3] << 1;
        table[k + 3] = static_cast<int32_t>((values[k] << 1) - addend);
    }
    randomGenerator.LoadState(table, 3);
}

inline void ScriptDraws(std::initializer_list<uint32_t> draws) {
    ScriptDrawSpan(draws.begin(), static_cast<int>(draws.size()));
}

}  // namespace tintwalk::testing
