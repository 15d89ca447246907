// The saver's one loop: X events, the stop signals and the 13 ms frame clock.
#pragma once

#include <cstdint>
#include <vector>

#include "saver/x11/drawer.h"
#include "saver/x11/options.h"
#include "saver/x11/surface.h"

namespace tintwalk {

// SIGTERM, SIGINT and SIGHUP end the saver as its own stop does: they set a
// flag and wake the loop through a pipe.
bool InstallStopSignals();

// Starts the picture on the whole surface; the community and seed are
// chosen afresh unless the command line fixed them.
// Starts a picture of width x height; false (after saying why) when the
// process may not use the memory it needs.
bool BeginPicture(Drawer& drawer, const SaverOptions& options, int32_t width, int32_t height);

// Why the loop ended.
enum class Ending { kRunning, kStopped, kTicksDone, kWindowGone, kNoMemory };

// How long the ticks took, for --timings.
struct TickTimes {
    std::vector<double> wallMs;  // each tick's drawing, start to end
    std::vector<double> cpuMs;   // the process's processor time in it
    // When the second tick began (the first shows the whole habitat and
    // is slow), and the last.
    int64_t secondStartMs = 0;
    int64_t lastStartMs = 0;
};

// Runs until input, a signal, the window's end or the last of --ticks.
// Ticks start once the window is mapped; a tick that falls due while a frame
// is still being drawn is dropped, and the next one is the next multiple of
// the period. `times`, when given, receives each tick's duration.
Ending RunLoop(Surface& s, Drawer& drawer, const SaverOptions& options, int64_t& ticksDone,
               TickTimes* times);

}  // namespace tintwalk
