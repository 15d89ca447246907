// Drawing without OpenGL: the cells a tick painted are converted into an X
// image in the window's pixel layout, and only the dirty runs of tiles are
// sent. The image sits in memory shared with the X server (MIT-SHM) where the
// server offers it, and goes through the connection otherwise.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>

#include "saver/x11/drawer.h"
#include "saver/x11/surface.h"

namespace tintwalk {

// A TrueColor visual of the screen whose pixels we can write (24 or 32 bits
// per pixel), the default visual if it is one; a heap copy, or null.
XVisualInfo* ChooseImageVisual(Display* display, int screen);

// The drawer for a window made in the visual ChooseImageVisual gave.
// `sharedMemory` false sends every image through the connection.
std::unique_ptr<Drawer> MakeImageDrawer(const Surface& surface, bool sharedMemory);

}  // namespace tintwalk
