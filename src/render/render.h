// The headless picture: one community run for a number of frame ticks,
// written to a PNG exactly as the screen would show it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tintwalk {

// One picture to render: community `row` started with `seed` on a
// width x height habitat, run for `ticks` frame ticks and written to the
// PNG file `output` ("-" for standard output).
struct RenderRequest {
    int32_t row = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t seed = 0;
    uint64_t ticks = 0;
    std::string output;
    // Threads of the simulation; the picture is the same with any number.
    uint32_t threads = 1;
};

enum class RenderResult { kWritten, kNoSuchCommunity, kNoMemory, kWriteFailed };

// Told after every tick how many of the ticks are done.
using RenderProgress = std::function<void(uint64_t done, uint64_t total)>;

// Takes the output's place first (an output that cannot be written fails
// before any tick), loads the community into the process-wide Biotope (with
// its diagnostic lines), runs two passes per tick and writes the habitat's
// RGB image, row 0 at the bottom of the picture. The screen is cleared to the background on
// the first tick and every pass then paints its cells over it in order, so
// after any number of ticks it shows exactly the RGB habitat; with no ticks
// the picture is the bare background. `error` gets one line on failure.
RenderResult RenderPicture(const RenderRequest& request, const RenderProgress& progress,
                           std::string& error);

}  // namespace tintwalk
