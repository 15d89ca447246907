// A community on a habitat of any shape, run the plain way (support/
// plain_step.h) and the fast ways, must leave the same habitats, bots,
// trails and generator. Input: width and height codes (2 bytes each), seed
// (4), community, passes, trail length (0: the community's own). Built
// with TINTWALK_FUZZ_PARALLEL it checks the parallel pass instead, on 2 to
// 4 threads (from the passes byte) and trails up to 504 steps.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "communities/community.h"
#include "core/bot_step.h"
#include "core/diagnostics.h"
#include "core/random.h"
#if defined(TINTWALK_FUZZ_PARALLEL)
#include "core/parallel_step.h"
#endif
#include "support/plain_step.h"

using namespace tintwalk;

namespace {

// The fast ways: the built-in passes with the byte-shuffle or with the
// portable neighbourhood fill, and the step through the rule pointer.
enum Path { kPlain, kSsse3Passes, kPortablePasses, kRulePointer, kParallel };

#if defined(TINTWALK_FUZZ_PARALLEL)
constexpr Path kCheckedPaths[] = {kParallel};
constexpr uint32_t kTrailScale = 8;
#else
constexpr Path kCheckedPaths[] = {kSsse3Passes, kPortablePasses, kRulePointer};
constexpr uint32_t kTrailScale = 1;
#endif

// A side from a 16-bit code: one in four is 1, 2 or 3, the rest 1..3000.
int32_t Side(int32_t code) {
    return (code & 3) == 0 ? 1 + (code >> 2) % 3 : 1 + (code >> 2) % 3000;
}

// Starts the community that the input names afresh, runs its passes the
// `path` way and returns everything that the picture or the next pass reads.
std::vector<uint8_t> Run(const uint8_t* in, Path path) {
    surfaceWidth = Side(in[0] | in[1] << 8);
    surfaceHeight = std::min(Side(in[2] | in[3] << 8), 20000 / surfaceWidth);  // 20,000 cells
    uint32_t seed;
    std::memcpy(&seed, in + 4, 4);
    InitCommunity(in[8] % kCommunityCount, seed);
    if ((in[10] & 63) != 0)
        biotope.SetTrailLength((in[10] & 63) * kTrailScale);
    for (uint32_t i = 0; i < biotope.botCount && path == kRulePointer; ++i)
        biotope.bots[i].pass = nullptr;
    const bool savedGather = useSsse3Gather;
    useSsse3Gather = savedGather && path != kPortablePasses;
    for (int i = 0; i <= in[9] % 4; ++i) {
        if (path == kPlain) {
            PlainBiotopeStep(biotope);
        } else if (path == kParallel) {
#if defined(TINTWALK_FUZZ_PARALLEL)
            static ParallelStepper steppers[3] = {ParallelStepper(2), ParallelStepper(3),
                                                  ParallelStepper(4)};
            steppers[(in[9] >> 2) % 3].Step(biotope);
#endif
        } else {
            biotope.Step();
        }
    }
    useSsse3Gather = savedGather;

    std::vector<uint8_t> out;
    const auto append = [&out](const void* data, size_t size) {
        out.insert(out.end(), static_cast<const uint8_t*>(data),
                   static_cast<const uint8_t*>(data) + size);
    };
    const size_t bytes = static_cast<size_t>(surfaceWidth) * surfaceHeight * 3;
    append(biotope.rgbHabitat.pixels, bytes);
    append(biotope.hslHabitat.pixels, bytes);
    for (uint32_t i = 0; i < biotope.botCount; ++i) {
        const Bot& bot = biotope.bots[i];
        const int32_t fields[5] = {bot.x, bot.y, bot.state, bot.heading,
                                   static_cast<int32_t>(bot.stepIndex)};
        append(fields, sizeof(fields));
        append(bot.trailPoints, bot.trailLength * sizeof(TrailPoint));
        append(bot.trailColours, bot.trailLength * sizeof(RgbPixel));
    }
    const int32_t nextDraw = randomGenerator.Next();
    append(&nextDraw, sizeof(nextDraw));
    append(&biotope.passCount, sizeof(biotope.passCount));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetDiagnosticRoute(DiagnosticRoute::kSilent);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t in[11] = {};
    std::memcpy(in, data, std::min(size, sizeof(in)));
    const std::vector<uint8_t> plain = Run(in, kPlain);
    for (const Path path : kCheckedPaths) {
        if (Run(in, path) != plain) {
            std::fprintf(stderr, "path %d differs from the plain step\n", path);
            std::abort();
        }
    }
    return 0;
}
