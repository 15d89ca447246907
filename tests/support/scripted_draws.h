// Stages the shared generator so that its next draws are chosen values.
//
// A draw adds table[rear] into table[front] and returns the sum shifted
// right by one. With front = 3 and rear = 0 the k-th draw lands in
// table[k + 3] and adds table[k], which draw k - 3 has already overwritten
// with twice its value: solving for table[k + 3] gives up to 28 chosen draws
// of 0 .. 2^31 - 1.
#pragma once

#include <cassert>
#include <cstdint>
#include <initializer_list>

#include "core/random.h"

namespace tintwalk::testing {

inline void ScriptDraws(std::initializer_list<uint32_t> draws) {
    assert(draws.size() <= 28);
    const uint32_t* values = draws.begin();
    int32_t table[RandomGenerator::kDegree] = {};
    for (size_t k = 0; k < draws.size(); ++k)
        table[k + 3] = static_cast<int32_t>((values[k] << 1) - (k < 3 ? 0u : values[k - 3] << 1));
    randomGenerator.LoadState(table, 3);
}

}  // namespace tintwalk::testing
