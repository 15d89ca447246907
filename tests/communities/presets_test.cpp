// The preset table against the published one, and loading a row.
#include <gtest/gtest.h>

#include <string>

#include "communities/community.h"

namespace tintwalk {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

TEST(Presets, RowsAreThePublishedOnes) {
    struct Row {
        const char* name;
        int32_t hueShift;
        int red, green, blue;
    };
    const Row rows[kCommunityCount] = {
        {"amorfwit", 128, 201, 202, 196},
        {"paarsebergen", 192, 198, 200, 203},
        {"somspaars", 192, 200, 207, 202},
        {"fijnwerk", 232, 198, 205, 197},
        {"geo&vlekkensnel", 0, 202, 202, 200},
        {"fel", 143, 198, 204, 199},
        {"rock", 0, 200, 204, 203},
        {"zoetkoraal", 212, 203, 207, 203},
        {"zwavelgrot", 224, 197, 206, 202},
        {"tegelswitzwart", 220, 199, 205, 196},
    };
    // FNV-1a 64 of the 80 published gene rows, 13 bytes each, in row and
    // bot order: the genes printed at start-up enter no picture.
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < kCommunityCount; ++i) {
        const CommunityPreset& p = *kCommunityPresets[i];
        EXPECT_STREQ(p.name, rows[i].name);
        EXPECT_EQ(FindCommunity(rows[i].name), i);
        EXPECT_EQ(p.hueShift, rows[i].hueShift) << p.name;
        EXPECT_EQ(p.background.red, rows[i].red) << p.name;
        EXPECT_EQ(p.background.green, rows[i].green) << p.name;
        EXPECT_EQ(p.background.blue, rows[i].blue) << p.name;
        for (const GenePreset& genes : p.genes) {
            for (uint8_t g : genes.genes)
                hash = (hash ^ g) * 1099511628211ull;
        }
    }
    EXPECT_EQ(hash, 0x52580faeeb519faaull);
}

TEST(Presets, RowNamesAndClockChoice) {
    struct Case {
        const char* text;
        int32_t row;
    };
    for (const Case& c : {Case{"0", 0}, Case{"9", 9}, Case{"10", -1}, Case{"", -1}, Case{"Fel", -1},
                          Case{"rock ", -1}, Case{"/", -1}, Case{":", -1}})
        EXPECT_EQ(FindCommunity(c.text), c.row) << c.text;
    EXPECT_EQ(FindCommunity(nullptr), -1);
    EXPECT_EQ(CommunityRowFromTime(1765000007), 7);
    EXPECT_EQ(CommunityRowFromTime(4102444805), 5);  // past 2038
    EXPECT_EQ(CommunityRowFromTime(-1), 9);
    EXPECT_EQ(SeedFromTime(4294967296 + 3), 3u);
}

TEST(Presets, LoadingPrintsItsLinesAndSetsTheTrailLength) {
    struct Case {
        int32_t width, height;
        uint32_t trail;
    };
    const Case cases[] = {{1024, 768, 655},   {800, 600, 400}, {640, 480, 256},
                          {1280, 1024, 1092}, {152, 112, 14},  {40, 29, 0}};
    for (const Case& c : cases) {
        surfaceWidth = c.width;
        surfaceHeight = c.height;
        CaptureStdout();
        CaptureStderr();
        ASSERT_TRUE(InitCommunity(5, 3));
        const std::string out = GetCapturedStdout();
        EXPECT_EQ(GetCapturedStderr(),
                  "InitCommunity(5)\ncommunity 'fel' : habitat " + std::to_string(c.width) + " x " +
                      std::to_string(c.height) + ", rgb(198, 204, 199) hue_shift 143\n");
        EXPECT_EQ(out.find("Biotope::Create(8, " + std::to_string(c.width)), 0u) << out;
        EXPECT_EQ(biotope.bots[7].trailLength, c.trail);
        EXPECT_EQ(backgroundColour.green, 204);
    }
    biotope.Release();
    for (int32_t row : {10, -1}) {
        CaptureStderr();
        EXPECT_FALSE(InitCommunity(row, 3));
        EXPECT_EQ(GetCapturedStderr(), "InitCommunity(" + std::to_string(row) + ")\ncommunity " +
                                           std::to_string(row) + " : no such community!\n");
        EXPECT_EQ(biotope.botCount, 0u);
    }
}

}  // namespace
}  // namespace tintwalk
