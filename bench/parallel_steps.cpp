// Times passes of one community with the parallel pass on a number of
// threads (1: the plain pass) and reports the steps a second and the share
// of steps that ran again after a trial run met another bot's cell. With
// --conflicts it instead runs the plain pass and writes, for every pass and
// bot, the first step at which a trial run from the pass's start would have
// met a cell painted earlier in the pass, for bench/project_cores.py.
//   tintwalk_parallel_steps ROW WIDTH HEIGHT PASSES THREADS [--conflicts|--always-try]
#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "communities/community.h"
#include "communities/community_memory.h"
#include "communities/presets.h"
#include "core/biotope.h"
#include "core/diagnostics.h"
#include "core/parallel_step.h"

using namespace tintwalk;

namespace {

// The first step of bot `index` whose 3 x 3 cells hold one that a bot
// before it painted in this pass (`painter` holds 1 + the painting bot, or
// 0), or the trail length; then the bot's own cells are entered.
uint32_t FirstMeeting(const Bot& bot, uint32_t index, std::vector<uint32_t>& painter,
                      uint32_t stamp, int32_t width, int32_t height) {
    uint32_t first = bot.trailLength;
    for (uint32_t slot = 0; slot < bot.trailLength && first == bot.trailLength; ++slot) {
        const TrailPoint at = bot.trailPoints[slot];
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int32_t x = (at.x + dx + width) % width;
                const int32_t y = (at.y + dy + height) % height;
                if (painter[size_t(y) * width + x] >= stamp)
                    first = slot;
            }
        }
    }
    for (uint32_t slot = 0; slot < bot.trailLength; ++slot)
        painter[size_t(bot.trailPoints[slot].y) * width + bot.trailPoints[slot].x] = stamp + index;
    return first;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: tintwalk_parallel_steps ROW WIDTH HEIGHT PASSES THREADS "
                     "[--conflicts]\n");
        return 2;
    }
    const int32_t row = std::atoi(argv[1]);
    surfaceWidth = std::atoi(argv[2]);
    surfaceHeight = std::atoi(argv[3]);
    const int passes = std::atoi(argv[4]);
    const uint32_t threads = static_cast<uint32_t>(std::atoi(argv[5]));
    const bool conflicts = argc > 6 && std::strcmp(argv[6], "--conflicts") == 0;
    // --always-try: helpers are tried on every pass, however late they come.
    const bool alwaysTry = argc > 6 && std::strcmp(argv[6], "--always-try") == 0;
    SetDiagnosticRoute(DiagnosticRoute::kSilent);
    if (!InitCommunity(row, 1) || !CommunityLoaded(surfaceWidth, surfaceHeight))
        return 2;
    if (conflicts) {
        std::vector<uint32_t> painter(size_t(surfaceWidth) * surfaceHeight, 0);
        for (int pass = 0; pass < passes; ++pass) {
            biotope.Step();
            const uint32_t stamp = 1 + uint32_t(pass) * (biotope.botCount + 1);
            std::printf("%u", biotope.trailLength);
            for (uint32_t i = 0; i < biotope.botCount; ++i) {
                std::printf(" %u", FirstMeeting(biotope.bots[i], i, painter, stamp, surfaceWidth,
                                                surfaceHeight));
            }
            std::printf("\n");
        }
        return 0;
    }
    ParallelStepper stepper(threads, alwaysTry);
    // The stepping thread's processor time: on a busy machine, what its
    // share of the work cost without the waits for a processor.
    const auto threadSeconds = [] {
        timespec now;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    };
    const double threadStart = threadSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < passes; ++pass)
        stepper.Step(biotope);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double threadBusy = threadSeconds() - threadStart;
    const double steps = double(passes) * biotope.botCount * biotope.trailLength;
    std::printf("%s %dx%d threads %u: %.2f M steps/s, %.4f of steps ran again, %.3f s, "
                "stepping thread busy %.3f s, %.2f of bots tried ahead\n",
                kCommunityPresets[row]->name, surfaceWidth, surfaceHeight, stepper.Threads(),
                steps / seconds / 1e6,
                stepper.StepsRun() ? double(stepper.StepsRunAgain()) / stepper.StepsRun() : 0.0,
                seconds, threadBusy,
                double(stepper.BotsTried()) / (double(passes) * biotope.botCount));
    return 0;
}
