// Drawing through OpenGL (GLX): the picture's own drawing code, in a
// context made current on the saver's window.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>

#include "saver/x11/drawer.h"
#include "saver/x11/surface.h"

namespace tintwalk {

// Whether the display speaks GLX at all.
bool HasGlx(Display* display);

// The best GLX visual of the screen (a heap copy), or null.
XVisualInfo* ChooseGlVisual(Display* display, int screen, bool& doubleBuffered);

// A context on the surface's window, which must have been made in the
// visual ChooseGlVisual gave. Null, with the reason in `error`, when no
// context can be made current there.
std::unique_ptr<Drawer> MakeGlDrawer(const Surface& surface, bool doubleBuffered,
                                     std::string& error);

}  // namespace tintwalk
