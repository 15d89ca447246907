// X protocol errors: trapped while a request is checked, reported once
// otherwise.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace tintwalk {

// Installs the handler: outside a trap the first error is reported and the
// rest ignored, since a host may destroy its window while a frame is on its
// way.
void InstallXErrorHandler();

// Between BeginTrap and EndTrap errors are only collected; EndTrap waits for
// the server and says whether none came. TrappedErrorText describes the
// first one.
void BeginTrap(Display* display);
bool EndTrap(Display* display);
std::string TrappedErrorText();

}  // namespace tintwalk
