// The simulated world: a wrap-around habitat held twice (as RGB for drawing
// and as HSL for the bots to read) and a community of bots that walk it.
#pragma once

#include <cstdint>

#include "core/colour.h"
#include "core/image.h"

namespace tintwalk {

struct Offset {
    int32_t dx;
    int32_t dy;
};

// The eight headings as cell offsets; consecutive headings are 45 degrees
// apart and heading h + 4 is the opposite of heading h.
extern const Offset kDirectionOffsets[8];

struct TrailPoint {
    int32_t x;
    int32_t y;
};

class Bot;

// A behaviour rule: reads its bot and delivers the new inner state, the new
// heading and the colour to paint. It is called once per step.
using BotRule = void (*)(const Bot& bot, int32_t& newState, int32_t& newHeading,
                         HslPixel& newColour);

// A whole pass of one bot with its rule built in (see bot_step.h); the
// communities provide one for each of their rules.
using BotPass = void (*)(Bot& bot, uint8_t* hsl, uint8_t* rgb, int32_t width, int32_t height);

// The habitat a pass runs on: packed HSL and RGB cells of width x height.
// A trial run of a parallel pass has no RGB cells (null).
struct PassTarget {
    uint8_t* hsl;
    uint8_t* rgb;
    int32_t width;
    int32_t height;
};

// What a parallel pass keeps of each step besides the trail: the state and
// heading the bot had before it, and the HSL colour it painted.
struct StepRecord {
    int32_t state;
    HslPixel colour;
    uint8_t heading;
};

// Steps `first` to the end of the trail, each recorded (see
// core/recorded_pass.h); the communities provide one for each rule.
using BotRecordedPass = void (*)(Bot& bot, const PassTarget& target, uint32_t first,
                                 StepRecord* records);

void DefaultRule(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour);

class Bot {
  public:
    Bot();
    ~Bot();
    Bot(const Bot&) = delete;
    Bot& operator=(const Bot&) = delete;

    // Resizes both trail arrays (contents undefined); true even when the
    // memory is not there, in which case the bot keeps empty trails.
    bool SetTrailLength(uint32_t length);
    // One pass: trailLength steps on the habitat.
    void RunFrame(Image& hslHabitat, Image& rgbHabitat);
    // One step on a habitat of width x height packed cells.
    void StepOnce(uint8_t* hsl, uint8_t* rgb, int32_t width, int32_t height);
    void PrintGenes() const;

    int32_t state = 128;
    int32_t heading = 0;
    int32_t primaryBase = 0;
    int32_t secondaryBase = 0;
    const uint8_t* primary = nullptr;
    const uint8_t* secondary = nullptr;
    const uint8_t* colour = nullptr;
    const uint8_t* cell = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t startX = 0;
    int32_t startY = 0;
    TrailPoint* trailPoints = nullptr;
    HslPixel baseColour = {0, 0, 0};
    uint8_t genes[13] = {};
    uint8_t hue[9] = {};
    uint8_t sat[9] = {};
    uint8_t lum[9] = {};
    RgbPixel* trailColours = nullptr;
    uint8_t hueShift = 0;
    uint32_t trailLength = 0;
    uint32_t stepIndex = 0;
    BotRule rule = DefaultRule;
    // A pass with `passRule` built in; RunFrame uses it only while `rule`
    // is still that rule, and steps through the `rule` pointer otherwise.
    BotPass pass = nullptr;
    BotRule passRule = nullptr;
    // The same pass recorded, and the draws `passRule` takes per call; a
    // parallel pass needs the latter (-1: not known).
    BotRecordedPass recordedPass = nullptr;
    int32_t passDraws = -1;
};

class Biotope {
  public:
    Biotope() = default;
    ~Biotope();
    Biotope(const Biotope&) = delete;
    Biotope& operator=(const Biotope&) = delete;

    bool Create(uint32_t bots, uint32_t width, uint32_t height, uint32_t seed);
    bool CreateHabitat(uint32_t width, uint32_t height);
    bool CreateCommunity(uint32_t bots, uint32_t seed);
    void SetTrailLength(uint32_t length);
    void SetHueShift(uint8_t value);
    void SetBackground(const RgbPixel& colour);
    bool Reset();
    bool Step();
    void Release();

    Image rgbHabitat;
    Image hslHabitat;
    Bot* bots = nullptr;
    uint32_t botCount = 0;
    uint32_t trailLength = 1024;
    uint32_t seed = 0;
    uint32_t passCount = 0;
    uint8_t hueShift = 0;
    // Counts the changes of the habitat through the operations above, so
    // that a copy of it knows whether it is still the same.
    uint64_t edits = 0;

  private:
    void FreeCommunity();
};

// The process-wide world that the saver and the tools run.
extern Biotope biotope;

}  // namespace tintwalk
