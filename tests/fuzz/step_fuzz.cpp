// Runs a community on a habitat of any shape the fast ways (the built-in
// passes with the byte-shuffle and with the portable neighbourhood fill, and
// the step through the rule pointer) and the plain way (support/plain_step.h),
// and requires the same habitats, bots, trails and generator afterwards.
//
// Input: width and height codes (2 bytes each), seed (4), community (1),
// passes (1), trail length (1, 0 keeping the community's own); missing
// bytes count as 0.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "communities/community.h"
#include "core/bot_step.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "support/plain_step.h"

using namespace tintwalk;

namespace {

// A side from a 16-bit code: one in four is 1, 2 or 3, the rest 1..3000.
uint32_t Side(uint32_t code) {
    return (code & 3) == 0 ? 1 + (code >> 2) % 3 : 1 + (code >> 2) % 3000;
}

enum class Path { kPlain, kSsse3Passes, kPortablePasses, kRulePointer };

void Append(std::vector<uint8_t>& out, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// Starts the community afresh, runs `passes` passes the `path` way and
// returns everything that the picture or the next pass reads.
std::vector<uint8_t> Run(int32_t row, uint32_t seed, uint32_t trail, int passes, Path path) {
    InitCommunity(row, seed);
    if (trail != 0)
        biotope.SetTrailLength(trail);
    if (path == Path::kRulePointer) {
        for (uint32_t i = 0; i < biotope.botCount; ++i)
            biotope.bots[i].pass = nullptr;
    }
    const bool savedGather = useSsse3Gather;
    useSsse3Gather = savedGather && path != Path::kPortablePasses;
    for (int i = 0; i < passes; ++i) {
        if (path == Path::kPlain)
            PlainBiotopeStep(biotope);
        else
            biotope.Step();
    }
    useSsse3Gather = savedGather;

    std::vector<uint8_t> out;
    const size_t bytes = static_cast<size_t>(surfaceWidth) * surfaceHeight * 3;
    Append(out, biotope.rgbHabitat.pixels, bytes);
    Append(out, biotope.hslHabitat.pixels, bytes);
    for (uint32_t i = 0; i < biotope.botCount; ++i) {
        const Bot& bot = biotope.bots[i];
        const int32_t fields[5] = {bot.x, bot.y, bot.state, bot.heading,
                                   static_cast<int32_t>(bot.stepIndex)};
        Append(out, fields, sizeof(fields));
        Append(out, bot.trailPoints, bot.trailLength * sizeof(TrailPoint));
        Append(out, bot.trailColours, bot.trailLength * sizeof(RgbPixel));
    }
    const int32_t nextDraw = randomGenerator.Next();
    Append(out, &nextDraw, sizeof(nextDraw));
    Append(out, &biotope.passCount, sizeof(biotope.passCount));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetDiagnosticRoute(DiagnosticRoute::kSilent);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr uint32_t kMaxCells = 20000;
    uint8_t in[11] = {};
    std::memcpy(in, data, size < sizeof(in) ? size : sizeof(in));
    const uint32_t width = Side(in[0] | in[1] << 8);
    uint32_t height = Side(in[2] | in[3] << 8);
    if (width * height > kMaxCells)
        height = kMaxCells / width;
    surfaceWidth = static_cast<int32_t>(width);
    surfaceHeight = static_cast<int32_t>(height);
    uint32_t seed;
    std::memcpy(&seed, in + 4, 4);
    const int32_t row = in[8] % kCommunityCount;
    const int passes = 1 + in[9] % 4;
    const uint32_t trail = in[10] & 63;

    const std::vector<uint8_t> plain = Run(row, seed, trail, passes, Path::kPlain);
    for (const Path path : {Path::kSsse3Passes, Path::kPortablePasses, Path::kRulePointer}) {
        if (Run(row, seed, trail, passes, path) != plain) {
            std::fprintf(stderr, "%ux%u, community %d, seed %u, %d passes, trail %u: path %d %s\n",
                         width, height, row, seed, passes, trail, static_cast<int>(path),
                         "differs from the plain step");
            std::abort();
        }
    }
    return 0;
}
