#include "core/biotope.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "core/bot_step.h"
#include "core/diagnostics.h"
#include "core/random.h"

namespace tintwalk {

const Offset kDirectionOffsets[8] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                     {1, 1},   {0, 1},  {-1, 1}, {-1, 0}};

Biotope biotope;

void DefaultRule(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour) {
    newState = randomGenerator.Next() & 0xff;
    newHeading = randomGenerator.Next() & 7;
    newColour.hue = bot.colour[0];
    newColour.saturation = bot.colour[1];
    newColour.lightness = static_cast<uint8_t>(newState);
}

// ---------------------------------------------------------------------------
// Bot

Bot::Bot() {
    colour = &baseColour.hue;
    // Genes of zero choose the hue for both channels.
    primary = hue;
    secondary = hue;
    SetTrailLength(1024);
}

Bot::~Bot() {
    delete[] trailPoints;
    delete[] trailColours;
}

bool Bot::SetTrailLength(uint32_t length) {
    if (length == trailLength && (length == 0 || trailPoints != nullptr))
        return true;
    delete[] trailPoints;
    delete[] trailColours;
    trailPoints = nullptr;
    trailColours = nullptr;
    trailLength = 0;
    if (length == 0)
        return true;
    trailPoints = new (std::nothrow) TrailPoint[length];
    trailColours = new (std::nothrow) RgbPixel[length];
    if (trailPoints == nullptr || trailColours == nullptr) {
        // Out of memory: the bot keeps empty trails, so no step or draw ever
        // touches a missing array.
        delete[] trailPoints;
        delete[] trailColours;
        trailPoints = nullptr;
        trailColours = nullptr;
        return true;
    }
    trailLength = length;
    return true;
}

#if defined(TINTWALK_SSSE3_GATHER)
namespace {

bool ProcessorHasSsse3() {
    // Set up the feature flags first: this runs among the static
    // constructors, which may come before the runtime's own.
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3");
}

}  // namespace

bool useSsse3Gather = ProcessorHasSsse3();
#else
bool useSsse3Gather = false;
#endif

void Bot::StepOnce(uint8_t* hsl, uint8_t* rgb, int32_t width, int32_t height) {
    // A step fills trail slot stepIndex; there is none past the trail.
    if (stepIndex >= trailLength)
        return;
    PassState pass(*this, hsl, rgb, width, height);
    StepWith<Gather::kPortable>(*this, pass, stepIndex, rule);
    pass.Finish(*this);
}

void Bot::RunFrame(Image& hslHabitat, Image& rgbHabitat) {
    if (hslHabitat.pixels == nullptr || rgbHabitat.pixels == nullptr)
        return;
    const int32_t width = static_cast<int32_t>(hslHabitat.width);
    const int32_t height = static_cast<int32_t>(hslHabitat.height);
    if (pass != nullptr && passRule == rule) {
        pass(*this, hslHabitat.pixels, rgbHabitat.pixels, width, height);
        return;
    }
    PassState state(*this, hslHabitat.pixels, rgbHabitat.pixels, width, height);
    for (stepIndex = 0; stepIndex < trailLength; ++stepIndex) {
        StepWith<Gather::kPortable>(*this, state, stepIndex, rule);
    }
    state.Finish(*this);
}

void Bot::PrintGenes() const {
    Diagnostic(stdout, "genes [%d] %2d %2d %2d %2d  ", genes[8], genes[0], genes[1], genes[2],
               genes[3]);
    Diagnostic(stdout, "[%d] %2d %2d %2d %2d ", genes[9], genes[4], genes[5], genes[6], genes[7]);
    Diagnostic(stdout, "(%2d, %2d, %2d)\n", genes[10], genes[11], genes[12]);
}

// ---------------------------------------------------------------------------
// Biotope

Biotope::~Biotope() {
    Release();
}

void Biotope::FreeCommunity() {
    delete[] bots;
    bots = nullptr;
    botCount = 0;
}

bool Biotope::Create(uint32_t bots_, uint32_t width, uint32_t height, uint32_t seed_) {
    Diagnostic(stdout, "Biotope::Create(%lu, %lu, %lu, %lu)\n", static_cast<unsigned long>(bots_),
               static_cast<unsigned long>(width), static_cast<unsigned long>(height),
               static_cast<unsigned long>(seed_));
    if (!CreateHabitat(width, height))
        return false;
    return CreateCommunity(bots_, seed_);
}

bool Biotope::CreateHabitat(uint32_t width, uint32_t height) {
    const auto fail = [&]() {
        Diagnostic(stderr, "Biotope::CreateHabitat() failure: cannot create %lux%lu habitat\n",
                   static_cast<unsigned long>(width), static_cast<unsigned long>(height));
        // Bots placed on an earlier habitat would walk off this one: a world
        // without a habitat has no community either.
        FreeCommunity();
        rgbHabitat.Destroy();
        hslHabitat.Destroy();
        return false;
    };
    // Bots are placed by remainders of the size and wrap by it: a habitat
    // needs at least one cell each way.
    ++edits;
    if (width == 0 || height == 0)
        return fail();
    if (!rgbHabitat.CreateWithDepth(width, height, 24))
        return fail();
    Diagnostic(stdout, "created %lux%lu habitat (3 8-bit rgb components)\n",
               static_cast<unsigned long>(width), static_cast<unsigned long>(height));
    if (!hslHabitat.CreateWithDepth(width, height, 24))
        return fail();
    Diagnostic(stdout, "created %lux%lu habitat (3 8-bit hsl components)\n",
               static_cast<unsigned long>(width), static_cast<unsigned long>(height));
    SetBackground({196, 196, 196});
    return true;
}

bool Biotope::CreateCommunity(uint32_t bots_, uint32_t seed_) {
    Diagnostic(stdout, "Biotope::CreateCommunity(%lu, %lu)\n", static_cast<unsigned long>(bots_),
               static_cast<unsigned long>(seed_));
    FreeCommunity();
    seed = seed_;
    const uint32_t width = hslHabitat.width;
    const uint32_t height = hslHabitat.height;
    if (hslHabitat.pixels == nullptr || width == 0 || height == 0) {
        Diagnostic(stderr, "Biotope::CreateCommunity() failure: no habitat\n");
        return false;
    }
    bots = new (std::nothrow) Bot[bots_];
    if (bots == nullptr) {
        Diagnostic(stderr, "CreateCommunity() failure: cannot create %lu bots\n",
                   static_cast<unsigned long>(bots_));
        return false;
    }
    botCount = bots_;
    randomGenerator.Seed(static_cast<int32_t>(seed));
    for (uint32_t i = 0; i < botCount; ++i) {
        Bot& bot = bots[i];
        bot.x = static_cast<int32_t>(static_cast<uint32_t>(randomGenerator.Next()) % width);
        bot.y = static_cast<int32_t>(static_cast<uint32_t>(randomGenerator.Next()) % height);
        bot.startX = bot.x;
        bot.startY = bot.y;
        bot.hueShift = hueShift;
    }
    for (uint32_t i = 0; i < botCount; ++i)
        bots[i].SetTrailLength(trailLength);
    return true;
}

void Biotope::SetTrailLength(uint32_t length) {
    if (bots == nullptr || length == trailLength)
        return;
    trailLength = length;
    for (uint32_t i = 0; i < botCount; ++i)
        bots[i].SetTrailLength(length);
}

void Biotope::SetHueShift(uint8_t value) {
    hueShift = value;
    for (uint32_t i = 0; i < botCount; ++i)
        bots[i].hueShift = value;
}

void Biotope::SetBackground(const RgbPixel& colour) {
    ++edits;
    const size_t cells = static_cast<size_t>(rgbHabitat.width) * rgbHabitat.height;
    if (rgbHabitat.pixels != nullptr) {
        for (size_t i = 0; i < cells; ++i)
            std::memcpy(rgbHabitat.pixels + 3 * i, &colour, 3);
    }
    if (hslHabitat.pixels != nullptr) {
        HslPixel hsl;
        RgbToHsl(colour, hsl);
        const size_t hslCells = static_cast<size_t>(hslHabitat.width) * hslHabitat.height;
        const size_t n = cells < hslCells ? cells : hslCells;
        for (size_t i = 0; i < n; ++i)
            std::memcpy(hslHabitat.pixels + 3 * i, &hsl, 3);
    }
}

namespace {

// Gene 0 chooses the hue, 1 the saturation, anything else the lightness.
void ChooseChannel(Bot& bot, uint8_t gene, const uint8_t*& array, int32_t& base) {
    switch (gene) {
        case 0:
            array = bot.hue;
            base = bot.baseColour.hue;
            break;
        case 1:
            array = bot.sat;
            base = bot.baseColour.saturation;
            break;
        default:
            array = bot.lum;
            base = bot.baseColour.lightness;
            break;
    }
}

}  // namespace

bool Biotope::Reset() {
    randomGenerator.Seed(static_cast<int32_t>(seed));
    for (uint32_t i = 0; i < botCount; ++i) {
        Bot& bot = bots[i];
        bot.baseColour = {bot.genes[10], bot.genes[11], bot.genes[12]};
        ChooseChannel(bot, bot.genes[8], bot.primary, bot.primaryBase);
        ChooseChannel(bot, bot.genes[9], bot.secondary, bot.secondaryBase);
        bot.state = randomGenerator.Next() & 0xff;
        bot.heading = randomGenerator.Next() & 7;
        bot.PrintGenes();
    }
    randomGenerator.Seed(static_cast<int32_t>(seed));
    passCount = 0;
    return true;
}

bool Biotope::Step() {
    ++passCount;
    ++edits;
    for (uint32_t i = 0; i < botCount; ++i)
        bots[i].RunFrame(hslHabitat, rgbHabitat);
    return true;
}

void Biotope::Release() {
    ++edits;
    FreeCommunity();
    rgbHabitat.Destroy();
    hslHabitat.Destroy();
}

}  // namespace tintwalk
