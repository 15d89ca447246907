// What every behaviour rule shares: the arithmetic helpers the rules are
// written in, and the small constant tables of random offsets and search
// orders. A rule reads only its own bot (state, heading, primary, secondary,
// primaryBase, secondaryBase, colour, cell), draws from the shared generator
// exactly where its steps say so, and sets all three outputs.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/biotope.h"
#include "core/random.h"

namespace tintwalk {

// One draw from the shared generator, 0 .. 2^31 - 1.
inline int32_t Draw() {
    return randomGenerator.Next();
}

inline int32_t Clamp(int32_t v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Weighted mean of two bytes, w being the weight of a; the divisor is 256.
inline int32_t Blend(int32_t a, int32_t b, int32_t w) {
    return (a * w + b * (255 - w)) >> 8;
}

// Mean of the odd ring positions: the neighbours at 45 and 135 degrees on
// either side of the heading.
inline int32_t Cross(const uint8_t* p) {
    return (p[1] + p[3] + p[5] + p[7]) >> 2;
}

// The centre weighted four times against the odd ring positions.
inline int32_t CentreMean(const uint8_t* p) {
    return (p[1] + p[3] + p[5] + p[7] + 4 * p[8]) >> 3;
}

// Sums of the three ring entries on the +1 side (1, 2, 3), the side a +1
// turn faces, and on the -1 side (5, 6, 7).
inline int32_t LeftSum(const uint8_t* s) {
    return s[1] + s[2] + s[3];
}
inline int32_t RightSum(const uint8_t* s) {
    return s[5] + s[6] + s[7];
}

// Largest minus smallest of three values.
inline int32_t Spread3(int32_t a, int32_t b, int32_t c) {
    const int32_t hi = a > b ? (a > c ? a : c) : (b > c ? b : c);
    const int32_t lo = a < b ? (a < c ? a : c) : (b < c ? b : c);
    return hi - lo;
}

// Spread of the three ring entries on the +1 side and on the -1 side.
inline int32_t LeftSpread(const uint8_t* s) {
    return Spread3(s[1], s[2], s[3]);
}
inline int32_t RightSpread(const uint8_t* s) {
    return Spread3(s[5], s[6], s[7]);
}

// Ring positions from straight ahead outwards: ahead, the pairs at 45, 90 and
// 135 degrees (the +1 side first), straight behind last.
inline constexpr int32_t kFanOrder[8] = {0, 1, 7, 2, 6, 3, 5, 4};
inline constexpr int32_t kFanOrderFront[7] = {0, 1, 7, 2, 6, 3, 5};

// The ring helpers look at entries 0..7 of a 9-entry array. Each is written
// once plainly (namespace scalar, the reference) and, where the processor
// has SSE2, once more on all eight bytes at a time; both give the same
// result for every input.
namespace scalar {

inline int32_t RingSum(const uint8_t* a) {
    return a[0] + a[1] + a[2] + a[3] + a[4] + a[5] + a[6] + a[7];
}

inline int32_t RingSpread(const uint8_t* a) {
    int32_t lo = a[0];
    int32_t hi = a[0];
    for (int k = 1; k < 8; ++k) {
        if (a[k] < lo)
            lo = a[k];
        if (a[k] > hi)
            hi = a[k];
    }
    return hi - lo;
}

inline int32_t FanArgMaxDiff(const uint8_t* a, int32_t ref) {
    int32_t best = 0;
    int32_t result = 0;
    for (int32_t k : kFanOrder) {
        const int32_t d = std::abs(a[k] - ref);
        if (d > best) {
            best = d;
            result = k;
        }
    }
    return result;
}

inline int32_t FanArgMinDiff(const uint8_t* a, int32_t ref) {
    int32_t best = 255;
    int32_t result = 0;
    for (int32_t k : kFanOrder) {
        const int32_t d = std::abs(a[k] - ref);
        if (d < best) {
            best = d;
            result = k;
        }
    }
    return result;
}

inline int32_t RingPickFarthest(const uint8_t* a, int32_t ref, int32_t fallback) {
    int32_t best = 0;
    int32_t result = fallback;
    for (int k = 0; k < 8; ++k) {
        const int32_t d = std::abs(a[k] - ref);
        if (d > best) {
            best = d;
            result = a[k];
        }
    }
    return result;
}

inline int32_t RingPickNearest(const uint8_t* a, int32_t ref, int32_t fallback) {
    int32_t best = 255;
    int32_t result = fallback;
    for (int k = 0; k < 8; ++k) {
        const int32_t d = std::abs(a[k] - ref);
        if (d < best) {
            best = d;
            result = a[k];
        }
    }
    return result;
}

}  // namespace scalar

#if defined(__SSE2__)

namespace simd {

// For each set of ring positions (bit k for position k), the first of them
// in fan order.
struct FanFirstTable {
    uint8_t first[256];
    constexpr FanFirstTable() : first() {
        for (int mask = 0; mask < 256; ++mask) {
            for (int32_t k : kFanOrder) {
                if (mask & (1 << k)) {
                    first[mask] = static_cast<uint8_t>(k);
                    break;
                }
            }
        }
    }
};
inline constexpr FanFirstTable kFanFirst;

inline __m128i LoadRing(const uint8_t* a) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a));
}

// |a[k] - ref| for the eight ring bytes; ref must be a byte.
inline __m128i AbsDiff(const uint8_t* a, int32_t ref) {
    const __m128i v = LoadRing(a);
    const __m128i r = _mm_set1_epi8(static_cast<char>(ref));
    return _mm_or_si128(_mm_subs_epu8(v, r), _mm_subs_epu8(r, v));
}

// The largest (smallest) of the low eight bytes, in each of them.
inline __m128i Max8(__m128i v) {
    v = _mm_max_epu8(v, _mm_srli_epi64(v, 32));
    v = _mm_max_epu8(v, _mm_srli_epi64(v, 16));
    v = _mm_max_epu8(v, _mm_srli_epi64(v, 8));
    return _mm_shufflelo_epi16(_mm_unpacklo_epi8(v, v), 0);
}
inline __m128i Min8(__m128i v) {
    v = _mm_min_epu8(v, _mm_srli_epi64(v, 32));
    v = _mm_min_epu8(v, _mm_srli_epi64(v, 16));
    v = _mm_min_epu8(v, _mm_srli_epi64(v, 8));
    return _mm_shufflelo_epi16(_mm_unpacklo_epi8(v, v), 0);
}

// Bit k set where byte k of a equals byte k of b, for k = 0..7.
inline uint32_t EqualMask(__m128i a, __m128i b) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b))) & 0xff;
}

inline int32_t Low(__m128i v) {
    return _mm_cvtsi128_si32(v) & 0xff;
}

inline bool IsByte(int32_t v) {
    return static_cast<uint32_t>(v) < 256;
}

}  // namespace simd

inline int32_t RingSum(const uint8_t* a) {
    return _mm_cvtsi128_si32(_mm_sad_epu8(simd::LoadRing(a), _mm_setzero_si128()));
}

// The largest of the eight ring values less the smallest.
inline int32_t RingSpread(const uint8_t* a) {
    const __m128i v = simd::LoadRing(a);
    return simd::Low(simd::Max8(v)) - simd::Low(simd::Min8(v));
}

// The first position in fan order whose value differs most from ref (0 when
// none differs).
inline int32_t FanArgMaxDiff(const uint8_t* a, int32_t ref) {
    if (!simd::IsByte(ref)) [[unlikely]] {
        return scalar::FanArgMaxDiff(a, ref);
    }
    const __m128i d = simd::AbsDiff(a, ref);
    return simd::kFanFirst.first[simd::EqualMask(d, simd::Max8(d))];
}

// The first position in fan order whose value lies nearest to ref.
inline int32_t FanArgMinDiff(const uint8_t* a, int32_t ref) {
    if (!simd::IsByte(ref)) [[unlikely]] {
        return scalar::FanArgMinDiff(a, ref);
    }
    const __m128i d = simd::AbsDiff(a, ref);
    return simd::kFanFirst.first[simd::EqualMask(d, simd::Min8(d))];
}

// The ring value farthest from ref, scanning in index order; fallback when
// all eight equal ref.
inline int32_t RingPickFarthest(const uint8_t* a, int32_t ref, int32_t fallback) {
    if (!simd::IsByte(ref)) [[unlikely]] {
        return scalar::RingPickFarthest(a, ref, fallback);
    }
    const __m128i d = simd::AbsDiff(a, ref);
    const __m128i most = simd::Max8(d);
    if (simd::Low(most) == 0)
        return fallback;
    return a[std::countr_zero(simd::EqualMask(d, most))];
}

// The ring value nearest to ref, scanning in index order; fallback when all
// eight lie 255 away.
inline int32_t RingPickNearest(const uint8_t* a, int32_t ref, int32_t fallback) {
    if (!simd::IsByte(ref)) [[unlikely]] {
        return scalar::RingPickNearest(a, ref, fallback);
    }
    const __m128i d = simd::AbsDiff(a, ref);
    const __m128i least = simd::Min8(d);
    if (simd::Low(least) == 255)
        return fallback;
    return a[std::countr_zero(simd::EqualMask(d, least))];
}

#else

using scalar::FanArgMaxDiff;
using scalar::FanArgMinDiff;
using scalar::RingPickFarthest;
using scalar::RingPickNearest;
using scalar::RingSpread;
using scalar::RingSum;

#endif

inline int32_t RingMean(const uint8_t* a) {
    return RingSum(a) >> 3;
}

// The centre reflected through the ring's mean: -255 .. 510.
inline int32_t RingReflect(const uint8_t* a) {
    return (RingSum(a) - 4 * a[8]) >> 2;
}

// True when all nine entries are equal: the ring has no spread and its
// entries equal the centre.
inline bool EvenGround(const uint8_t* a) {
    return RingSpread(a) == 0 && a[0] == a[8];
}

// Mean of a computed heading and the current one, pushed a half turn away
// when the two nearly agree. Not reduced: the step masks it.
inline int32_t HeadingMix(int32_t a, int32_t b) {
    const int32_t m = (a + b) >> 1;
    return std::abs(a - b) < 4 ? m + 4 : m;
}

// Hue helpers: bytes as points on a circle of 256, along the shorter way.
inline uint8_t HueMidpoint(int32_t a, int32_t b) {
    a &= 0xff;
    b &= 0xff;
    int32_t t = b;
    if (b - a > 127) {
        t = b - 256;
    } else if (b - a < -127) {
        t = b + 256;
    }
    return static_cast<uint8_t>((a + t) >> 1);
}

namespace detail {

template <int kShift>
inline uint8_t HueApproach(int32_t target, int32_t value) {
    target &= 0xff;
    value &= 0xff;
    int32_t t = value;
    if (value - target > 127) {
        t = value - 256;
    } else if (value - target < -127) {
        t = value + 256;
    }
    return static_cast<uint8_t>(t - ((t - target) >> kShift));
}

}  // namespace detail

// Moves value a sixteenth (a quarter) of the way towards target.
inline uint8_t HueApproach16(int32_t target, int32_t value) {
    return detail::HueApproach<4>(target, value);
}
inline uint8_t HueApproach4(int32_t target, int32_t value) {
    return detail::HueApproach<2>(target, value);
}

// Random offset tables, indexed by a draw masked to their length.
inline constexpr int8_t kJitter16[16] = {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
inline constexpr int8_t kJitter8[8] = {-1, 0, 0, 0, 0, 0, 0, 1};
inline constexpr int8_t kJitter4[4] = {-1, 0, 0, 1};
inline constexpr int32_t kJitterWide8[8] = {-2, 0, 0, 0, 0, 0, 0, 2};
inline constexpr int32_t kJitterWide4[4] = {-2, 0, 0, 2};
inline constexpr int8_t kSign2[2] = {-1, 1};
inline constexpr int32_t kSignWide2[2] = {-2, 2};
inline constexpr int8_t kDriftMinus16[16] = {-1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
inline constexpr int8_t kDriftMinus8[8] = {-1, -1, 0, 0, 0, 0, 0, 1};
inline constexpr int8_t kDriftPlus16[16] = {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
inline constexpr int8_t kDriftPlus8[8] = {-1, 0, 0, 0, 0, 0, 1, 1};
inline constexpr int8_t kNudgePlus16[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
inline constexpr int8_t kNudgePlus8[8] = {0, 0, 0, 0, 0, 0, 0, 1};
inline constexpr int8_t kNudgeMinus16[16] = {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Sets a colour from three computed values, each kept to its low byte.
inline void SetColour(HslPixel& colour, int32_t hue, int32_t saturation, int32_t lightness) {
    colour.hue = static_cast<uint8_t>(hue);
    colour.saturation = static_cast<uint8_t>(saturation);
    colour.lightness = static_cast<uint8_t>(lightness);
}

// Hue `hue` over the cell's saturation and lightness, each blended with the
// bot's base colour; the cell weighs `w` of 255 (Blend).
inline void SetHueOverCell(HslPixel& colour, const Bot& bot, int32_t hue, int32_t w) {
    SetColour(colour, hue, Blend(bot.cell[1], bot.colour[1], w),
              Blend(bot.cell[2], bot.colour[2], w));
}

}  // namespace tintwalk
