// What each X event means to the saver: the window's size and life, and
// the input that ends it.
#pragma once

#include <X11/Xlib.h>

#include "saver/x11/surface.h"

namespace tintwalk {

// Why the loop ended.
enum class Ending { kRunning, kStopped, kTicksDone, kWindowGone, kNoMemory };

// Handles one X event: records what it tells of the window in `s`, and
// returns the ending it causes (kRunning for none).
Ending HandleEvent(Surface& s, XEvent& event);

}  // namespace tintwalk
