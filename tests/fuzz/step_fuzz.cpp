// Runs a community on a habitat of any shape the fast ways (the built-in
// passes with the byte-shuffle and the portable neighbourhood fill, and the
// step through the rule pointer) and the plain way (support/plain_step.h),
// and requires the same habitats, bots, trails and generator afterwards.
//
// Input: width and height codes (2 bytes each), seed (4), community (1),
// passes (1), trail length (1; 0 keeps the community's own). Missing bytes
// count as 0.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "communities/community.h"
#include "core/bot_step.h"
#include "core/random.h"
#include "support/plain_step.h"

namespace tintwalk {
namespace {

constexpr uint32_t kMaxCells = 20000;

// A side from a 16-bit code: one in four is 1, 2 or 3, the rest 1..3000.
uint32_t Side(uint32_t code) {
    return (code & 3) == 0 ? 1 + (code >> 2) % 3 : 1 + (code >> 2) % 3000;
}

enum class Path { kSsse3Passes, kPortablePasses, kRulePointer, kPlain };

struct Shape {
    uint32_t width;
    uint32_t height;
    uint32_t seed;
    int32_t row;
    int passes;
    uint32_t trail;
};

// InitCommunity talks on stdout and stderr at every start; the fuzzer's
// own reports go to stderr, so it is closed only around the start.
void QuietInitCommunity(const Shape& shape) {
    static const int devNull = open("/dev/null", O_WRONLY);
    std::fflush(stderr);
    const int saved = dup(2);
    dup2(devNull, 2);
    surfaceWidth = static_cast<int32_t>(shape.width);
    surfaceHeight = static_cast<int32_t>(shape.height);
    InitCommunity(shape.row, shape.seed);
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
}

void Append(std::vector<uint8_t>& out, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// Everything a pass leaves behind that the picture or the next pass reads.
std::vector<uint8_t> Run(const Shape& shape, Path path) {
    QuietInitCommunity(shape);
    if (shape.trail != 0)
        biotope.SetTrailLength(shape.trail);
    const bool savedGather = useSsse3Gather;
    if (path == Path::kPortablePasses)
        useSsse3Gather = false;
    if (path == Path::kRulePointer) {
        for (uint32_t i = 0; i < biotope.botCount; ++i)
            biotope.bots[i].pass = nullptr;
    }
    for (int i = 0; i < shape.passes; ++i) {
        if (path == Path::kPlain)
            PlainBiotopeStep(biotope);
        else
            biotope.Step();
    }
    useSsse3Gather = savedGather;

    std::vector<uint8_t> out;
    const size_t bytes = static_cast<size_t>(shape.width) * shape.height * 3;
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
}  // namespace tintwalk

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The start-up lines of every run are of no interest here.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tintwalk;
    uint8_t in[11] = {};
    std::memcpy(in, data, size < sizeof(in) ? size : sizeof(in));
    Shape shape;
    shape.width = Side(in[0] | in[1] << 8);
    shape.height = Side(in[2] | in[3] << 8);
    if (shape.width * shape.height > kMaxCells)
        shape.height = kMaxCells / shape.width;
    std::memcpy(&shape.seed, in + 4, 4);
    shape.row = in[8] % kCommunityCount;
    shape.passes = 1 + in[9] % 8;
    shape.trail = in[10] % 128;

    const std::vector<uint8_t> plain = Run(shape, Path::kPlain);
    for (const Path path : {Path::kSsse3Passes, Path::kPortablePasses, Path::kRulePointer}) {
        if (Run(shape, path) != plain) {
            std::fprintf(stderr, "%ux%u, community %d, seed %u, %d passes, trail %u: path %d",
                         shape.width, shape.height, shape.row, shape.seed, shape.passes,
                         shape.trail, static_cast<int>(path));
            std::fprintf(stderr, " differs from the plain step\n");
            std::abort();
        }
    }
    return 0;
}
