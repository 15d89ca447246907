// Starting the picture in the saver's window, after asking whether the
// process may use the memory it needs.
#pragma once

#include <cstdint>

#include "saver/x11/drawer.h"
#include "saver/x11/options.h"

namespace tintwalk {

// Starts a picture of width x height on the drawer's presenter; the
// community and seed are chosen afresh unless the command line fixed them.
// False (after saying why) when the process may not use the memory it needs.
bool BeginPicture(Drawer& drawer, const SaverOptions& options, int32_t width, int32_t height);

}  // namespace tintwalk
