// Test hook, not a setting: with TINTWALK_TEST_HOOK_STOP_TICKING_AFTER set
// to N the saver stops its frame clock after N ticks and says so on standard
// output, so that the end-to-end tests can compare a finished picture with
// the renderer's. The name is long on purpose: nobody sets it by accident.
#pragma once

namespace tintwalk {

// Reads the variable when a picture starts; without it the clock ticks
// until the saver closes.
void StartTickLimit();

// Whether the clock has stopped: no more ticks are drawn.
bool TickLimitReached();

// Counts one drawn tick; true when it was the last, after saying so.
bool CountTickTowardsLimit();

}  // namespace tintwalk
