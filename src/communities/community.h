// The ten built-in communities and the loading of one into the world.
#pragma once

#include <cstdint>

#include "core/biotope.h"
#include "core/bot_step.h"
#include "core/colour.h"
#include "core/recorded_pass.h"

namespace tintwalk {

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

// Shared with the drawing surface, which sets the size before loading a
// community and clears the screen to the background on its first frame.
extern int32_t surfaceWidth;
extern int32_t surfaceHeight;
extern RgbPixel backgroundColour;

// Loads preset `row` into the process-wide Biotope at the surface's size,
// seeded from the clock. Prints its progress lines; false for a row
// outside 0..9, which leaves the Biotope untouched.
bool InitCommunity(int32_t row);
// The same with a seed chosen by the caller, for a reproducible picture.
bool InitCommunity(int32_t row, uint32_t seed);

// The bytes InitCommunity takes for a width x height surface: both habitat
// images and the eight bots' trails.
uint64_t CommunityBytes(int32_t width, int32_t height);

// True when the Biotope holds a whole community of width x height: both
// habitat images, the bots and every bot's full trail. The Biotope reports a
// failed allocation and carries on with what it has; a picture needs all.
bool CommunityLoaded(uint32_t width, uint32_t height);

// The preset row and the seed that a clock reading in whole seconds since
// the epoch chooses. Every time gives a row from 0 to 9, also past 2038.
int32_t CommunityRowFromTime(int64_t seconds);
uint32_t SeedFromTime(int64_t seconds);
// Seconds since the epoch, now.
int64_t ClockSeconds();

// The row named by an index ("0".."9") or a community name; -1 for none.
int32_t FindCommunity(const char* text);

}  // namespace tintwalk
