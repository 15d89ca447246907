// The ten built-in communities: one preset row each (name, hue shift,
// background, and per bot its genes and rule), and the table of all ten.
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
// Bots of every community.
constexpr uint32_t kCommunityBots = 8;

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

// The row named by an index ("0".."9") or a community name; -1 for none.
int32_t FindCommunity(const char* text);

}  // namespace tintwalk
