// Pictures against fingerprints from an independent model of the
// simulation: every community at ordinary, odd and one-cell-wide sizes.
// Each case runs its frame ticks (two passes each) and hashes both habitats.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <sstream>
#include <string>

#include "communities/community.h"
#include "core/biotope.h"
#include "fingerprints_table.h"

namespace tintwalk {
namespace {

uint64_t Fnv1a64(const uint8_t* bytes, size_t count) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < count; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

TEST(Fingerprints, EveryCaseOfTheIndependentModelHolds) {
    std::istringstream table(kFingerprintTable);
    std::string line;
    std::getline(table, line);  // column names
    int cases = 0;
    while (std::getline(table, line)) {
        if (line.empty())
            continue;
        std::istringstream fields(line);
        int32_t row;
        int32_t width;
        int32_t height;
        uint32_t seed;
        int ticks;
        std::string rgb;
        std::string hsl;
        fields >> row >> width >> height >> seed >> ticks >> rgb >> hsl;
        ASSERT_FALSE(fields.fail()) << line;

        surfaceWidth = width;
        surfaceHeight = height;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ASSERT_TRUE(InitCommunity(row, seed)) << line;
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        for (int i = 0; i < 2 * ticks; ++i)
            biotope.Step();
        const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
        EXPECT_EQ(Hex(Fnv1a64(biotope.rgbHabitat.pixels, bytes)), rgb) << line;
        EXPECT_EQ(Hex(Fnv1a64(biotope.hslHabitat.pixels, bytes)), hsl) << line;
        biotope.Release();
        ++cases;
    }
    EXPECT_EQ(cases, 50);
}

}  // namespace
}  // namespace tintwalk
