// Pictures against the recorded fingerprints (tests/data/fingerprints.tsv):
// every community at ordinary, odd and one-cell-wide sizes.
// Each case runs its frame ticks (two passes each) and hashes both habitats.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "communities/community.h"
#include "core/biotope.h"
#include "fingerprints_table.h"

namespace tintwalk {
namespace {

uint64_t Fnv1a64(const uint8_t* bytes, size_t count) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < count; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

TEST(Fingerprints, EveryRecordedPictureMatches) {
    std::istringstream table(kFingerprintTable);
    std::string line;
    std::getline(table, line);  // column names
    int cases = 0;
    for (; std::getline(table, line); ++cases) {
        std::istringstream fields(line);
        int32_t row, ticks;
        uint32_t seed;
        std::string rgb, hsl;
        ASSERT_TRUE(fields >> row >> surfaceWidth >> surfaceHeight >> seed >> ticks >> rgb >> hsl)
            << line;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ASSERT_TRUE(InitCommunity(row, seed)) << line;
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        for (int i = 0; i < 2 * ticks; ++i)
            biotope.Step();
        const size_t bytes = static_cast<size_t>(surfaceWidth) * surfaceHeight * 3;
        EXPECT_EQ(Fnv1a64(biotope.rgbHabitat.pixels, bytes), std::stoull(rgb, nullptr, 16)) << line;
        EXPECT_EQ(Fnv1a64(biotope.hslHabitat.pixels, bytes), std::stoull(hsl, nullptr, 16)) << line;
        biotope.Release();
    }
    EXPECT_EQ(cases, 50);
}

}  // namespace
}  // namespace tintwalk
