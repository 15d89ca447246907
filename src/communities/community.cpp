#include "communities/community.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/diagnostics.h"

namespace tintwalk {

const CommunityPreset* const kCommunityPresets[kCommunityCount] = {
    &kAmorfwit, &kPaarsebergen, &kSomspaars,  &kFijnwerk,   &kGeoVlekkensnel,
    &kFel,      &kRock,         &kZoetkoraal, &kZwavelgrot, &kTegelswitzwart,
};

int32_t surfaceWidth = 0;
int32_t surfaceHeight = 0;
RgbPixel backgroundColour = {196, 196, 196};

int64_t ClockSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

int32_t CommunityRowFromTime(int64_t seconds) {
    // A floored remainder of the full-width time: a 32-bit time would turn
    // negative in 2038 and find no row.
    const int64_t row = seconds % kCommunityCount;
    return static_cast<int32_t>(row < 0 ? row + kCommunityCount : row);
}

uint32_t SeedFromTime(int64_t seconds) {
    return static_cast<uint32_t>(static_cast<uint64_t>(seconds));
}

int32_t FindCommunity(const char* text) {
    if (text == nullptr || *text == '\0')
        return -1;
    if (text[0] >= '0' && text[0] <= '9' && text[1] == '\0')
        return text[0] - '0';
    for (int32_t row = 0; row < kCommunityCount; ++row) {
        if (std::strcmp(text, kCommunityPresets[row]->name) == 0)
            return row;
    }
    return -1;
}

namespace {

// One step per 1200 cells; the product is taken in 64 bits so that no
// surface size can wrap it.
uint32_t TrailLength(int32_t width, int32_t height) {
    int64_t length = static_cast<int64_t>(width) * height / 1200;
    if (length < 0)
        length = 0;
    if (length > UINT32_MAX)
        length = UINT32_MAX;
    return static_cast<uint32_t>(length);
}

constexpr uint32_t kBots = 8;

}  // namespace

uint64_t CommunityBytes(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return 0;
    const uint64_t cells = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    const uint64_t trail =
        uint64_t{TrailLength(width, height)} * (sizeof(TrailPoint) + sizeof(RgbPixel));
    return 2 * cells * 3 + kBots * trail;
}

bool CommunityLoaded(uint32_t width, uint32_t height) {
    if (biotope.rgbHabitat.pixels == nullptr || biotope.hslHabitat.pixels == nullptr ||
        biotope.rgbHabitat.width != width || biotope.rgbHabitat.height != height ||
        biotope.bots == nullptr || biotope.botCount == 0)
        return false;
    for (uint32_t i = 0; i < biotope.botCount; ++i) {
        if (biotope.bots[i].trailLength != biotope.trailLength)
            return false;
    }
    return true;
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

    biotope.Create(kBots, static_cast<uint32_t>(surfaceWidth), static_cast<uint32_t>(surfaceHeight),
                   seed);
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
