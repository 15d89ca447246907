// The X window the saver draws in: its own top-level, a full-screen one, or
// a child covering a host window (or the root). The drawing code comes on
// top of it; this part only makes, watches and releases the window.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <string>

#include "saver/pointer_travel.h"
#include "saver/x11/options.h"

namespace tintwalk {

// Everything the saver holds on the display, released in reverse order.
struct Surface {
    Display* display = nullptr;
    int screen = 0;
    TargetKind mode = TargetKind::kOwnWindow;
    Window host = None;  // the window we draw inside (host and root modes)
    Window window = None;
    bool windowAlive = false;
    Colormap colormap = None;
    Cursor blankCursor = None;
    XVisualInfo* visual = nullptr;  // owned, freed with std::free
    Atom protocols = None;
    Atom deleteWindow = None;
    int32_t wantedWidth = 0;
    int32_t wantedHeight = 0;
    bool mapped = false;
    bool hadFocus = false;
    PointerPosition anchor = {0, 0};
};

// A heap copy of `info`, to be kept in Surface::visual.
XVisualInfo* CopyVisual(const XVisualInfo& info);

// Creates and maps the window in `s.visual`. False, with the X error in
// `error`, when the server refuses it (a host window that is input-only,
// or one on whose screen the visual cannot be used).
bool CreateSurfaceWindow(Surface& s, const SaverOptions& options, std::string& error);

// Destroys the window and closes the display.
void ReleaseSurface(Surface& s);

}  // namespace tintwalk
