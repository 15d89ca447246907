// The loading of one community into the process-wide Biotope, and the
// surface size and background colour that the loading shares with the
// drawing surface.
#pragma once

#include <cstdint>

#include "communities/presets.h"
#include "core/colour.h"

namespace tintwalk {

// Shared with the drawing surface, which sets the size before loading a
// community. The background is the loaded preset's: the habitat starts
// filled with it, and the first tick shows the whole habitat.
extern int32_t surfaceWidth;
extern int32_t surfaceHeight;
extern RgbPixel backgroundColour;

// Steps of each bot in one pass over a width x height surface: one per
// 1200 cells.
uint32_t TrailLength(int32_t width, int32_t height);

// Loads preset `row` into the process-wide Biotope at the surface's size,
// seeded from the clock. Prints its progress lines; false for a row
// outside 0..9, which leaves the Biotope untouched.
bool InitCommunity(int32_t row);
// The same with a seed chosen by the caller, for a reproducible picture.
bool InitCommunity(int32_t row, uint32_t seed);

}  // namespace tintwalk
