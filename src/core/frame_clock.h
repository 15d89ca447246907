// The frame clock that every program keeps, on screen or not: a tick every
// 13 ms, and two passes of the community in each tick.
#pragma once

#include <cstdint>

#include "core/biotope.h"

namespace tintwalk {

// Milliseconds between frame ticks.
constexpr uint32_t kFramePeriodMs = 13;

// Passes of the community in one frame tick.
constexpr uint32_t kPassesPerTick = 2;

// Runs the passes of one frame tick with `runPass` (world.Step, or a
// parallel pass), calling `afterPass` after each (the drawing of what the
// pass painted).
template <typename RunPass, typename AfterPass>
void StepTickWith(RunPass runPass, AfterPass afterPass) {
    for (uint32_t pass = 0; pass < kPassesPerTick; ++pass) {
        runPass();
        afterPass();
    }
}

template <typename AfterPass>
void StepTick(Biotope& world, AfterPass afterPass) {
    StepTickWith([&world] { world.Step(); }, afterPass);
}

}  // namespace tintwalk
