#include "communities/community.h"

#include <cstdio>
#include <cstring>

#include "communities/clock_choice.h"
#include "core/diagnostics.h"

namespace tintwalk {

int32_t surfaceWidth = 0;
int32_t surfaceHeight = 0;
RgbPixel backgroundColour = {196, 196, 196};

// The product is taken in 64 bits so that no surface size can wrap it.
uint32_t TrailLength(int32_t width, int32_t height) {
    int64_t length = static_cast<int64_t>(width) * height / 1200;
    if (length < 0)
        length = 0;
    if (length > UINT32_MAX)
        length = UINT32_MAX;
    return static_cast<uint32_t>(length);
}

bool InitCommunity(int32_t row) {
    return InitCommunity(row, SeedFromTime(ClockSeconds()));
}

bool InitCommunity(int32_t row, uint32_t seed) {
    Diagnostic(stderr, "InitCommunity(%d)\n", row);
    if (row < 0 || row >= kCommunityCount) {
        Diagnostic(stderr, "community %d : no such community!\n", row);
        return false;
    }
    const CommunityPreset& preset = *kCommunityPresets[row];
    // The diagnostic lines of both streams interleave in the order written.
    std::fflush(stderr);

    biotope.Create(kCommunityBots, static_cast<uint32_t>(surfaceWidth),
                   static_cast<uint32_t>(surfaceHeight), seed);
    biotope.SetTrailLength(TrailLength(surfaceWidth, surfaceHeight));
    biotope.SetHueShift(static_cast<uint8_t>(preset.hueShift));
    backgroundColour = preset.background;
    biotope.SetBackground(backgroundColour);
    for (uint32_t i = 0; i < biotope.botCount && i < 8; ++i) {
        std::memcpy(biotope.bots[i].genes, preset.genes[i].genes, 13);
        biotope.bots[i].rule = preset.rules[i];
        biotope.bots[i].pass = preset.passes[i];
        biotope.bots[i].passRule = preset.rules[i];
        biotope.bots[i].recordedPass = preset.recordedPasses[i];
        biotope.bots[i].passDraws = DrawsPerCall(preset.rules[i]);
    }
    biotope.Reset();
    std::fflush(stdout);
    Diagnostic(stderr, "community '%s' : habitat %d x %d, rgb(%d, %d, %d) hue_shift %d\n",
               preset.name, surfaceWidth, surfaceHeight, preset.background.red,
               preset.background.green, preset.background.blue, preset.hueShift & 0xff);
    return true;
}

}  // namespace tintwalk
