#include "tintwalk_web.h"

#include <cstdlib>
#include <cstring>
#include <new>

#ifdef __EMSCRIPTEN__
#include <emscripten/heap.h>
#endif

#include "communities/clock_choice.h"
#include "communities/community.h"
#include "communities/community_memory.h"
#include "core/biotope.h"
#include "core/frame_clock.h"
#include "saver/pointer_travel.h"

namespace tintwalk {
namespace {

uint8_t* canvas = nullptr;

// The most memory the module may grow to; natively, the address space.
uint64_t MemoryLimit() {
#ifdef __EMSCRIPTEN__
    return emscripten_get_heap_max();
#else
    return SIZE_MAX / 2;
#endif
}
char textBuffer[kTextBufferSize] = {};

// Each pass's points land on the canvas in the order the saver draws them:
// bot by bot, point by point. Habitat row 0 is the bottom of the screen.
void PaintPass() {
    const int32_t width = biotope.rgbHabitat.width;
    const int32_t height = biotope.rgbHabitat.height;
    for (uint32_t i = 0; i < biotope.botCount; ++i) {
        const Bot& bot = biotope.bots[i];
        const uint32_t count = bot.stepIndex < bot.trailLength ? bot.stepIndex : bot.trailLength;
        for (uint32_t k = 0; k < count; ++k) {
            const TrailPoint point = bot.trailPoints[k];
            const RgbPixel colour = bot.trailColours[k];
            uint8_t* pixel =
                canvas + (static_cast<size_t>(height - 1 - point.y) * static_cast<size_t>(width) +
                          static_cast<size_t>(point.x)) *
                             4;
            pixel[0] = colour.red;
            pixel[1] = colour.green;
            pixel[2] = colour.blue;
        }
    }
}

}  // namespace
}  // namespace tintwalk

using namespace tintwalk;

int32_t tw_start(int32_t row, uint32_t seed, int32_t width, int32_t height) {
    tw_stop();
    // The renderer's largest side; width x height x 4 then still fits a
    // 32-bit size once checked against the address space below.
    if (row < 0 || row >= kCommunityCount || width < 1 || height < 1 ||
        static_cast<uint32_t>(width) > kMaxPictureSide ||
        static_cast<uint32_t>(height) > kMaxPictureSide)
        return -1;
    // A picture that cannot fit in the most memory there may be is refused
    // before the memory grows for it.
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
    if (bytes + CommunityBytes(width, height) > MemoryLimit())
        return 0;
    surfaceWidth = width;
    surfaceHeight = height;
    InitCommunity(row, seed);
    // The Biotope reports a failed allocation and carries on with what it
    // has; a picture needs both habitats and every bot's whole trail.
    bool complete = CommunityLoaded(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    if (complete) {
        canvas = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes)));
        complete = canvas != nullptr;
    }
    if (!complete) {
        tw_stop();
        return 0;
    }
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    const uint8_t fill[4] = {backgroundColour.red, backgroundColour.green, backgroundColour.blue,
                             255};
    for (size_t i = 0; i < cells; ++i)
        std::memcpy(canvas + 4 * i, fill, 4);
    return 1;
}

void tw_ticks(int32_t count) {
    if (canvas == nullptr)
        return;
    for (int32_t tick = 0; tick < count; ++tick) {
        StepTick(biotope, PaintPass);
    }
}

void tw_stop() {
    biotope.Release();
    std::free(canvas);
    canvas = nullptr;
}

uint8_t* tw_rgba() {
    return canvas;
}

uint8_t* tw_rgb() {
    return canvas != nullptr ? biotope.rgbHabitat.pixels : nullptr;
}

double tw_steps_per_tick() {
    return canvas != nullptr ? double{kPassesPerTick} * biotope.botCount * biotope.trailLength
                             : 0.0;
}

uint32_t tw_frame_period_ms() {
    return kFramePeriodMs;
}

uint32_t tw_max_side() {
    return kMaxPictureSide;
}

int32_t tw_pointer_travel_wakes(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y) {
    return PointerTravelWakes({anchorX, anchorY}, {x, y}) ? 1 : 0;
}

int32_t tw_community_count() {
    return kCommunityCount;
}

const char* tw_community_name(int32_t row) {
    return row >= 0 && row < kCommunityCount ? kCommunityPresets[row]->name : "";
}

uint32_t tw_community_background(int32_t row) {
    if (row < 0 || row >= kCommunityCount)
        return 0;
    const RgbPixel colour = kCommunityPresets[row]->background;
    return static_cast<uint32_t>(colour.red) << 16 | static_cast<uint32_t>(colour.green) << 8 |
           colour.blue;
}

char* tw_text_buffer() {
    return textBuffer;
}

int32_t tw_find_community() {
    textBuffer[kTextBufferSize - 1] = '\0';
    return FindCommunity(textBuffer);
}

int32_t tw_row_from_time(double seconds) {
    return CommunityRowFromTime(static_cast<int64_t>(seconds));
}

uint32_t tw_seed_from_time(double seconds) {
    return SeedFromTime(static_cast<int64_t>(seconds));
}
