// Test hooks, not settings: with TINTWALK_TEST_HOOK_STOP_TICKING_AFTER set
// to N the saver stops its frame clock after N ticks and says so on standard
// output, so that the end-to-end tests can compare a finished picture with
// the renderer's, and the frame benchmark can read how the clock kept up;
// with TINTWALK_TEST_HOOK_CLOCK set to S the picture is chosen as at S
// seconds since the epoch (7 gives community 7 with seed 7). The names are
// long on purpose: nobody sets them by accident.
#pragma once

#include <cstdint>

namespace tintwalk {

// The seconds since the epoch that choose the picture: the clock's, unless
// the hook gives a plain number.
int64_t PictureClockSeconds();

// Reads the variable when a picture starts; without it the clock ticks
// until the saver closes.
void StartTickLimit();

// Whether the clock has stopped: no more ticks are drawn.
bool TickLimitReached();

// Notes the start of a tick that is about to be drawn.
void NoteTickStart();

// Counts one drawn tick; true when it was the last, after saying so with
// the timings of the ticks after the first (which shows the whole habitat):
// how far apart they came, the median time of one, and the processor time
// of the whole process (every thread, the OpenGL driver's too) per tick.
bool CountTickTowardsLimit();

}  // namespace tintwalk
