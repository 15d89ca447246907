// The saver's one loop: X events, the stop signals and the 13 ms frame clock.
#pragma once

#include <cstdint>
#include <vector>

#include "saver/x11/drawer.h"
#include "saver/x11/event_handling.h"
#include "saver/x11/options.h"
#include "saver/x11/surface.h"

namespace tintwalk {

// How long the ticks took, for --timings.
struct TickTimes {
    std::vector<double> wallMs;  // each tick's drawing, start to end
    // The process's processor time from each tick's start to the next's:
    // with ticks overlapping, the next tick's passes run between ticks.
    std::vector<double> cpuMs;
    double lastCpuMs = -1.0;
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
