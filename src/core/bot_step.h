// The bot step, written once as an inline template so that a pass can be
// compiled with its rule built in (RunPassWith) as well as through the
// bot's rule pointer (Bot::StepOnce and Bot::RunFrame). Both run exactly the
// same step.
#pragma once

#include <bit>
#include <cstddef>
#include <cstring>

#include "core/biotope.h"
#include "core/colour.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define TINTWALK_SSSE3_GATHER 1
#include <tmmintrin.h>
#endif

#if defined(__GNUC__)
#define TINTWALK_ALWAYS_INLINE __attribute__((always_inline)) inline
#define TINTWALK_FLATTEN __attribute__((flatten))
#else
#define TINTWALK_ALWAYS_INLINE inline
#define TINTWALK_FLATTEN
#endif

namespace tintwalk {

namespace detail {

// The neighbourhood arrives as three rows of three cells, 9 bytes each:
// `above` holds directions 0, 1, 2; `here` holds 7, the centre and 3;
// `below` holds 6, 5, 4 (see kDirectionOffsets).

// Portable fill: each channel's ring packed into a word, byte k holding
// direction k; entry j of the turned array is direction (heading + j) & 7,
// that is the word rotated right by whole bytes.
TINTWALK_ALWAYS_INLINE void FillTurnedChannel(uint8_t* out, const uint8_t* above,
                                              const uint8_t* here, const uint8_t* below, int c,
                                              int32_t heading) {
    const uint8_t ring[8] = {above[c],     above[3 + c], above[6 + c], here[6 + c],
                             below[6 + c], below[3 + c], below[c],     here[c]};
    uint64_t word = 0;
    for (int k = 7; k >= 0; --k)
        word = (word << 8) | ring[k];
    const uint64_t turned = std::rotr(word, 8 * heading);
    for (int j = 0; j < 8; ++j)
        out[j] = static_cast<uint8_t>(turned >> (8 * j));
    out[8] = here[3 + c];
}

TINTWALK_ALWAYS_INLINE void FillTurnedPortable(Bot& bot, const uint8_t* above, const uint8_t* here,
                                               const uint8_t* below, int32_t heading) {
    FillTurnedChannel(bot.hue, above, here, below, 0, heading);
    FillTurnedChannel(bot.sat, above, here, below, 1, heading);
    FillTurnedChannel(bot.lum, above, here, below, 2, heading);
}

#if defined(TINTWALK_SSSE3_GATHER)

// Byte shuffles that turn the 27 bytes of the neighbourhood into the bot's
// hue, sat and lum arrays (which lie back to back) in two 16-byte stores:
// one at hue[0] (hue[0..8], sat[0..6]) and one at sat[2] (sat[2..8],
// lum[0..8]; sat[2..6] are written twice with the same values). The bytes
// come from two registers: `low` = above[0..7] and below[0..7]; `high` =
// here[0..7], here[7..8], above[7..8], below[7..8].
struct TurnShuffles {
    // [heading][store][register], 0x80 where the other register supplies.
    alignas(16) int8_t masks[8][2][2][16];

    // Where byte c of direction d (d = 8: the centre) lies: 0..15 in `low`,
    // 16..31 in `high`.
    static constexpr int Source(int d, int c) {
        switch (d) {
            case 0:
                return c;
            case 1:
                return 3 + c;
            case 2:
                return c < 2 ? 6 + c : 16 + 11;
            case 3:
                return c < 2 ? 16 + 6 + c : 16 + 9;
            case 4:
                return c < 2 ? 14 + c : 16 + 13;
            case 5:
                return 11 + c;
            case 6:
                return 8 + c;
            case 7:
                return 16 + c;
            default:
                return 16 + 3 + c;
        }
    }

    constexpr TurnShuffles() : masks() {
        for (int heading = 0; heading < 8; ++heading) {
            for (int store = 0; store < 2; ++store) {
                for (int lane = 0; lane < 16; ++lane) {
                    // Byte offset from hue[0] that this lane writes.
                    const int at = store == 0 ? lane : 11 + lane;
                    const int c = at / 9;
                    const int j = at % 9;
                    const int d = j == 8 ? 8 : (j + heading) & 7;
                    const int from = Source(d, c);
                    masks[heading][store][0][lane] = static_cast<int8_t>(from < 16 ? from : 0x80);
                    masks[heading][store][1][lane] =
                        static_cast<int8_t>(from >= 16 ? from - 16 : 0x80);
                }
            }
        }
    }
};
inline constexpr TurnShuffles kTurnShuffles;

inline __m128i LoadLow8(const uint8_t* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

inline int LoadPair(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

__attribute__((target("ssse3"))) inline void FillTurnedSsse3(Bot& bot, const uint8_t* above,
                                                             const uint8_t* here,
                                                             const uint8_t* below,
                                                             int32_t heading) {
    static_assert(offsetof(Bot, sat) == offsetof(Bot, hue) + 9, "hue, sat, lum back to back");
    static_assert(offsetof(Bot, lum) == offsetof(Bot, sat) + 9, "hue, sat, lum back to back");
    const __m128i low = _mm_unpacklo_epi64(LoadLow8(above), LoadLow8(below));
    __m128i high = LoadLow8(here);
    high = _mm_insert_epi16(high, LoadPair(here + 7), 4);
    high = _mm_insert_epi16(high, LoadPair(above + 7), 5);
    high = _mm_insert_epi16(high, LoadPair(below + 7), 6);
    const auto& m = kTurnShuffles.masks[heading];
    const auto mask = [](const int8_t* bytes) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
    };
    const __m128i first =
        _mm_or_si128(_mm_shuffle_epi8(low, mask(m[0][0])), _mm_shuffle_epi8(high, mask(m[0][1])));
    const __m128i second =
        _mm_or_si128(_mm_shuffle_epi8(low, mask(m[1][0])), _mm_shuffle_epi8(high, mask(m[1][1])));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bot.hue), first);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bot.sat + 2), second);
}

#endif

}  // namespace detail

// What a pass keeps at hand between steps: the habitat, and the bot's
// position, heading and trail, which only the step changes. The bot's state
// and heading are brought up to date after every step, as rules read them;
// its position (which no rule reads) by Finish.
struct PassState {
    PassState(Bot& bot, uint8_t* hslCells, uint8_t* rgbCells, int32_t habitatWidth,
              int32_t habitatHeight)
        : hsl(hslCells),
          rgb(rgbCells),
          width(habitatWidth),
          height(habitatHeight),
          rowBytes(static_cast<size_t>(habitatWidth) * 3),
          innerColumns(habitatWidth >= 2 ? static_cast<uint32_t>(habitatWidth - 2) : 0),
          innerRows(habitatHeight >= 2 ? static_cast<uint32_t>(habitatHeight - 2) : 0),
          x(bot.x),
          y(bot.y),
          heading(bot.heading),
          points(bot.trailPoints),
          colours(bot.trailColours),
          hueShift(bot.hueShift) {
        for (int h = 0; h < 8; ++h) {
            moves[h] = kDirectionOffsets[h].dx * 3 +
                       kDirectionOffsets[h].dy * static_cast<ptrdiff_t>(rowBytes);
        }
        cell = static_cast<ptrdiff_t>(y) * static_cast<ptrdiff_t>(rowBytes) + x * 3;
    }

    uint8_t* hsl;
    uint8_t* rgb;
    int32_t width;
    int32_t height;
    size_t rowBytes;
    // Columns and rows whose cells have all eight neighbours inside the
    // habitat: none when a side is 1 or 2, where every cell is on the border.
    uint32_t innerColumns;
    uint32_t innerRows;
    int32_t x;
    int32_t y;
    int32_t heading;
    TrailPoint* points;
    RgbPixel* colours;
    uint8_t hueShift;
    // Where the bot's cell starts in the habitat, followed from move to
    // move without multiplying (moves[h] for heading h); only used while the
    // bot is away from the border.
    ptrdiff_t cell;
    ptrdiff_t moves[8];

    void Finish(Bot& bot) const {
        bot.x = x;
        bot.y = y;
    }
};

enum class Gather { kPortable, kSsse3 };

// One step of `bot`, filling trail slot `slot`; returns the HSL colour it
// painted. `rule` is a BotRule pointer or a function known at compile time.
// Without kPaintRgb the step leaves the RGB habitat alone (a trial run of a
// parallel pass paints it later).
template <Gather kGather, typename Rule, bool kPaintRgb = true>
TINTWALK_ALWAYS_INLINE HslPixel StepWith(Bot& bot, PassState& pass, uint32_t slot, Rule rule) {
    int32_t x = pass.x;
    int32_t y = pass.y;
    const int32_t width = pass.width;
    const int32_t height = pass.height;
    const size_t rowBytes = pass.rowBytes;
    uint8_t* centre;
    const uint8_t* above;
    const uint8_t* here;
    const uint8_t* below;
    uint8_t border[3][9];

    // Away from the border the three rows of the neighbourhood are read in
    // place. A position one cell outside the habitat (after a move) is never
    // interior, so the wrap below sees it.
    if (static_cast<uint32_t>(x - 1) < pass.innerColumns &&
        static_cast<uint32_t>(y - 1) < pass.innerRows) [[likely]] {
        centre = pass.hsl + pass.cell;
        here = centre - 3;
        above = here - rowBytes;
        below = here + rowBytes;
        // The next step reads one row further up or down at most, and this
        // one ends by painting the RGB cell: ask for those lines now, while
        // the rule runs.
        if (y >= 2 && y + 2 < height) {
            __builtin_prefetch(above - rowBytes);
            __builtin_prefetch(below + rowBytes);
        }
        if constexpr (kPaintRgb)
            __builtin_prefetch(pass.rgb + pass.cell, 1);
    } else {
        if (x < 0) {
            x += width;
        } else if (x >= width) {
            x -= width;
        }
        if (y < 0) {
            y += height;
        } else if (y >= height) {
            y -= height;
        }
        const size_t columns[3] = {static_cast<size_t>(x == 0 ? width - 1 : x - 1) * 3,
                                   static_cast<size_t>(x) * 3,
                                   static_cast<size_t>(x == width - 1 ? 0 : x + 1) * 3};
        const size_t rows[3] = {static_cast<size_t>(y == 0 ? height - 1 : y - 1) * rowBytes,
                                static_cast<size_t>(y) * rowBytes,
                                static_cast<size_t>(y == height - 1 ? 0 : y + 1) * rowBytes};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                std::memcpy(&border[r][3 * c], pass.hsl + rows[r] + columns[c], 3);
        }
        centre = pass.hsl + rows[1] + columns[1];
        above = border[0];
        here = border[1];
        below = border[2];
    }
#if defined(TINTWALK_SSSE3_GATHER)
    if constexpr (kGather == Gather::kSsse3) {
        detail::FillTurnedSsse3(bot, above, here, below, pass.heading);
    } else {
        detail::FillTurnedPortable(bot, above, here, below, pass.heading);
    }
#else
    detail::FillTurnedPortable(bot, above, here, below, pass.heading);
#endif
    // Rules never write the habitat, so the cell can be read in place.
    bot.cell = centre;

    int32_t newState;
    int32_t newHeading;
    HslPixel newColour;
    rule(bot, newState, newHeading, newColour);

    std::memcpy(centre, &newColour, 3);
    HslPixel shifted = newColour;
    shifted.hue = static_cast<uint8_t>(shifted.hue + pass.hueShift);
    RgbPixel painted;
    HslToRgb(shifted, painted);
    if constexpr (kPaintRgb)
        std::memcpy(pass.rgb + (centre - pass.hsl), &painted, 3);
    pass.points[slot] = {x, y};
    pass.colours[slot] = painted;

    const int32_t h = newHeading & 7;
    pass.x = x + kDirectionOffsets[h].dx;
    pass.y = y + kDirectionOffsets[h].dy;
    pass.heading = h;
    pass.cell = (centre - pass.hsl) + pass.moves[h];
    bot.state = newState;
    bot.heading = h;
    return newColour;
}

// Whether this processor runs the byte-shuffle fill (tests may turn it off
// to check the portable fill against it).
extern bool useSsse3Gather;

// One pass of `bot`: the loop that both gathers share, inlined into each
// entry below so that it is compiled under that entry's target.
template <Gather kGather, BotRule kRule>
TINTWALK_ALWAYS_INLINE void RunPassLoop(Bot& bot, uint8_t* hsl, uint8_t* rgb, int32_t width,
                                        int32_t height) {
    PassState pass(bot, hsl, rgb, width, height);
    const uint32_t length = bot.trailLength;
    for (uint32_t slot = 0; slot < length; ++slot) {
        StepWith<kGather>(bot, pass, slot, kRule);
    }
    pass.Finish(bot);
    bot.stepIndex = length;
}

template <BotRule kRule>
TINTWALK_FLATTEN void RunPassPortable(Bot& bot, uint8_t* hsl, uint8_t* rgb, int32_t width,
                                      int32_t height) {
    RunPassLoop<Gather::kPortable, kRule>(bot, hsl, rgb, width, height);
}

#if defined(TINTWALK_SSSE3_GATHER)
template <BotRule kRule>
__attribute__((target("ssse3"))) TINTWALK_FLATTEN void RunPassSsse3(Bot& bot, uint8_t* hsl,
                                                                    uint8_t* rgb, int32_t width,
                                                                    int32_t height) {
    RunPassLoop<Gather::kSsse3, kRule>(bot, hsl, rgb, width, height);
}
#endif

// A whole pass with the rule built in: what Bot::RunFrame does through the
// rule pointer, without an indirect call per step.
template <BotRule kRule>
void RunPassWith(Bot& bot, uint8_t* hsl, uint8_t* rgb, int32_t width, int32_t height) {
#if defined(TINTWALK_SSSE3_GATHER)
    if (useSsse3Gather) {
        RunPassSsse3<kRule>(bot, hsl, rgb, width, height);
        return;
    }
#endif
    RunPassPortable<kRule>(bot, hsl, rgb, width, height);
}

}  // namespace tintwalk
