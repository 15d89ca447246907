// The picture as every saver shell runs it: start the community on a surface
// of a given size, tick the frame clock, stop. The shell owns the window and
// the OpenGL context; this code needs only that context to be current.
#pragma once

#include <cstdint>

namespace tintwalk {

// Milliseconds between frame ticks, and the id of the timer that drives them.
constexpr uint32_t kFramePeriodMs = 13;
constexpr uint32_t kFrameTimerId = 333;

// Sets the viewport and a one-unit-per-pixel projection with y = 0 at the
// bottom, then loads the community the clock chooses (or the given row and
// seed). surfaceWidth and surfaceHeight must already hold the size.
bool StartPicture(int32_t width, int32_t height);
bool StartPicture(int32_t width, int32_t height, int32_t row, uint32_t seed);

// One tick: the first clears to the community's background, then every tick
// runs and draws two passes and flushes.
void FrameTick();

// Frees the community and the habitat; the next start clears afresh.
void StopPicture();

}  // namespace tintwalk
