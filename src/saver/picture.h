// The picture as every saver shell runs it: start the community on a surface
// of a given size, tick the frame clock, stop. The shell owns the window and
// the surface; a Presenter (draw/presenter.h) puts each tick's painting on
// it. Without one given, the picture uses OpenGL (draw/gl_presenter.h) and
// needs only a current context.
#pragma once

#include <cstdint>

#include "core/frame_clock.h"
#include "draw/presenter.h"

namespace tintwalk {

// The id of the timer that drives the frame ticks (core/frame_clock.h).
constexpr uint32_t kFrameTimerId = 333;

// Starts the presenter on width x height, then loads the community the
// clock chooses (or the given row and seed). surfaceWidth and surfaceHeight
// must already hold the size. Returns what InitCommunity returns. The
// presenter must outlive the picture (until StopPicture).
bool StartPicture(int32_t width, int32_t height);
bool StartPicture(Presenter& presenter, int32_t width, int32_t height, int32_t row, uint32_t seed);

// One tick: two passes, each followed by marking the tiles it painted, then
// the presenter shows the dirty tiles and flushes once. The first tick of a
// picture shows the whole habitat: the background and what was painted.
void FrameTick();

// Stops the presenter and frees the community and the habitat; the next
// start shows its first tick whole again.
void StopPicture();

// The OpenGL presenter that the picture uses unless given another.
Presenter& OpenGlPresenter();

}  // namespace tintwalk
