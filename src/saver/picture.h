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
// With OverlapTicks on, the passes of the next tick are already running
// when FrameTick returns: the habitat is then ahead of the screen.
void FrameTick();

// Whether, from the next StartPicture on, each tick starts the passes of the
// next one on a thread of its own and then draws from a copy of the RGB
// habitat, so that drawing and stepping overlap. Off unless a shell turns
// it on, and where the build has no threads; it also stays off where the
// copy does not fit in memory or no thread can be started. The screen after
// N ticks is the same either way.
void OverlapTicks(bool on);

// Stops the presenter and frees the community and the habitat; the next
// start shows its first tick whole again.
void StopPicture();

// The OpenGL presenter that the picture uses unless given another.
Presenter& OpenGlPresenter();

}  // namespace tintwalk
