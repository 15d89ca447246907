// X protocol errors: trapped while a request is checked, reported once
// otherwise.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace tintwalk {

// Installs the handler: outside a trap the first error is reported and the
// rest ignored.
void InstallXErrorHandler();

// Errors that only say `window` is gone (BadWindow or BadDrawable on its id)
// are the normal end of a window whose host closed it while a frame was on
// its way: they are not reported, and WindowVanished says whether one came.
void WatchWindow(Window window);
bool WindowVanished();

// Between BeginTrap and EndTrap errors are only collected; EndTrap waits for
// the server and says whether none came. TrappedErrorText describes the
// first one.
void BeginTrap(Display* display);
bool EndTrap(Display* display);
std::string TrappedErrorText();

}  // namespace tintwalk
