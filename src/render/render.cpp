#include "render/render.h"

#include "communities/community.h"
#include "core/biotope.h"
#include "render/png_writer.h"

namespace tintwalk {

RenderResult RenderPicture(const RenderRequest& request, const RenderProgress& progress,
                           std::string& error) {
    if (request.row < 0 || request.row >= kCommunityCount) {
        error = "unknown community " + std::to_string(request.row);
        return RenderResult::kNoSuchCommunity;
    }
    surfaceWidth = static_cast<int32_t>(request.width);
    surfaceHeight = static_cast<int32_t>(request.height);
    InitCommunity(request.row, request.seed);
    if (!CommunityLoaded(request.width, request.height)) {
        biotope.Release();
        error = "not enough memory for a " + std::to_string(request.width) + "x" +
                std::to_string(request.height) + " picture";
        return RenderResult::kNoMemory;
    }
    for (uint64_t tick = 0; tick < request.ticks; ++tick) {
        biotope.Step();
        biotope.Step();
        if (progress)
            progress(tick + 1, request.ticks);
    }
    // Habitat row 0 is the bottom row of the screen, and the first in memory.
    const bool written = WritePngBottomUp(request.output, biotope.rgbHabitat.pixels, request.width,
                                          request.height, error);
    biotope.Release();
    return written ? RenderResult::kWritten : RenderResult::kWriteFailed;
}

}  // namespace tintwalk
