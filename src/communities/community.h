// The loading of one community into the process-wide Biotope, and the
// surface size and background colour that the loading shares with the
// drawing surface.
#pragma once

#include <cstdint>

#include "communities/presets.h"
#include "core/colour.h"
#include "core/recorded_pass.h"

namespace tintwalk {

<<<<<<< HEAD
struct GenePreset {
    // genes[0..7] are carried and printed only; genes[8] and genes[9] choose
    // the primary and secondary channels; genes[10..12] are the base colour.
    uint8_t genes[13];
};

struct CommunityPreset {
    const char* name;
    int32_t hueShift;
    RgbPixel background;
    GenePreset genes[8];
    BotRule rules[8];
    // The same rules compiled into whole passes (RunPassWith), for speed,
    // and into the recorded passes of a parallel pass.
    BotPass passes[8];
    BotRecordedPass recordedPasses[8];
};

// A preset row whose eight rules, in bot order, are kRules; the passes are
// made from the same list, so that the two cannot disagree.
template <BotRule... kRules>
constexpr CommunityPreset MakePreset(const char* name, int32_t hueShift, RgbPixel background,
                                     const GenePreset (&genes)[8]) {
    static_assert(sizeof...(kRules) == 8, "a community has eight bots");
    return {name,
            hueShift,
            background,
            {genes[0], genes[1], genes[2], genes[3], genes[4], genes[5], genes[6], genes[7]},
            {kRules...},
            {RunPassWith<kRules>...},
            {RunRecordedPassWith<kRules>...}};
}

constexpr int32_t kCommunityCount = 10;

// The draws `rule` takes per call, the same on every call; -1 for a
// function that is none of the communities' rules.
int32_t DrawsPerCall(BotRule rule);

// The preset rows in index order; each row lives in its community's file.
extern const CommunityPreset kAmorfwit;
extern const CommunityPreset kPaarsebergen;
extern const CommunityPreset kSomspaars;
extern const CommunityPreset kFijnwerk;
extern const CommunityPreset kGeoVlekkensnel;
extern const CommunityPreset kFel;
extern const CommunityPreset kRock;
extern const CommunityPreset kZoetkoraal;
extern const CommunityPreset kZwavelgrot;
extern const CommunityPreset kTegelswitzwart;
extern const CommunityPreset* const kCommunityPresets[kCommunityCount];

=======
>>>>>>> main
// Shared with the drawing surface, which sets the size before loading a
// community. The background is the loaded preset's: the habitat starts
// filled with it, and the first tick shows the whole habitat.
extern int32_t surfaceWidth;
extern int32_t surfaceHeight;
extern RgbPixel backgroundColour;

// Steps of each bot in one pass over a width x height surface: one per
// 1200 cells.
uint32_t TrailLength(int32_t width, int32_t height);

// Loads preset `row` into the process-wide Biotope at the surface's size,
// seeded from the clock. Prints its progress lines; false for a row
// outside 0..9, which leaves the Biotope untouched.
bool InitCommunity(int32_t row);
// The same with a seed chosen by the caller, for a reproducible picture.
bool InitCommunity(int32_t row, uint32_t seed);

}  // namespace tintwalk
