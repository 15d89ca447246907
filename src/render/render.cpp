#include "render/render.h"

#include "communities/community.h"
#include "communities/community_memory.h"
#include "core/biotope.h"
#include "core/diagnostics.h"
#include "core/frame_clock.h"
#include "platform/memory_budget.h"
#include "render/png_writer.h"

#if defined(TINTWALK_PARALLEL)
#include <memory>

#include "core/parallel_step.h"
#endif

namespace tintwalk {

RenderResult RenderPicture(const RenderRequest& request, const RenderProgress& progress,
                           std::string& error) {
    if (request.row < 0 || request.row >= kCommunityCount) {
        error = "unknown community " + std::to_string(request.row);
        return RenderResult::kNoSuchCommunity;
    }
    surfaceWidth = static_cast<int32_t>(request.width);
    surfaceHeight = static_cast<int32_t>(request.height);
    const std::string noMemory = NoMemoryText(request.width, request.height);
    // Under a control group's limit an allocation too large succeeds and the
    // kernel kills the process when the pages are touched: ask first.
    const uint64_t needed = CommunityBytes(surfaceWidth, surfaceHeight);
    if (!MemoryFits(needed)) {
        Diagnostic(stderr, "the picture needs %llu MiB, the process may use %llu MiB\n",
                   static_cast<unsigned long long>(needed >> 20),
                   static_cast<unsigned long long>(UsableMemory() >> 20));
        error = noMemory;
        return RenderResult::kNoMemory;
    }
    // The output is taken first: a place that cannot be written fails now,
    // not after the ticks.
    PngFile picture;
    if (!picture.Open(request.output, error))
        return RenderResult::kWriteFailed;
    InitCommunity(request.row, request.seed);
    if (!CommunityLoaded(request.width, request.height)) {
        biotope.Release();
        error = noMemory;
        return RenderResult::kNoMemory;
    }
#if defined(TINTWALK_PARALLEL)
    // Every helper thread needs a copy of the habitat: as many as fit
    // beside the community.
    uint32_t threads = ParallelPays(biotope.trailLength) ? request.threads : 1;
    while (threads > 1 && !MemoryFits(ParallelStepper::ExtraBytes(
                              threads, request.width, request.height, biotope.botCount)))
        --threads;
    std::unique_ptr<ParallelStepper> stepper;
    if (threads > 1)
        stepper = std::make_unique<ParallelStepper>(threads);
    const auto step = [&stepper] { return stepper ? stepper->Step(biotope) : biotope.Step(); };
#else
    // The Windows build simulates on one thread.
    const auto step = [] { return biotope.Step(); };
#endif
    for (uint64_t tick = 0; tick < request.ticks; ++tick) {
        StepTickWith(step, [] {});
        if (progress)
            progress(tick + 1, request.ticks);
    }
    // Habitat row 0 is the bottom row of the screen, and the first in memory.
    const bool written =
        picture.Write(biotope.rgbHabitat.pixels, request.width, request.height, true, error);
    biotope.Release();
    return written ? RenderResult::kWritten : RenderResult::kWriteFailed;
}

}  // namespace tintwalk
