// Which OpenGL visual the Linux saver draws with.
#include "saver/x11/visual_choice.h"

#include <gtest/gtest.h>

namespace tintwalk {
namespace {

VisualTraits Rgb(int red, int green, int blue, bool doubleBuffer = false) {
    VisualTraits v;
    v.openGl = true;
    v.rgba = true;
    v.trueColour = true;
    v.doubleBuffer = doubleBuffer;
    v.red = red;
    v.green = green;
    v.blue = blue;
    return v;
}

TEST(PickVisual, NoneWhenNothingCanDrawThePicture) {
    EXPECT_EQ(PickVisual({}), -1);
    VisualTraits noGl = Rgb(8, 8, 8);
    noGl.openGl = false;
    VisualTraits indexed = Rgb(8, 8, 8);
    indexed.rgba = false;
    VisualTraits stereo = Rgb(8, 8, 8);
    stereo.stereo = true;
    VisualTraits overlay = Rgb(8, 8, 8);
    overlay.level = 1;
    EXPECT_EQ(PickVisual({noGl, indexed, stereo, overlay}), -1);
    EXPECT_EQ(PickVisual({noGl, indexed, stereo, overlay, Rgb(5, 6, 5, true)}), 4);
}

TEST(PickVisual, SingleBufferedWithEightBitsPerColourFirst) {
    VisualTraits defaultDouble = Rgb(8, 8, 8, true);
    defaultDouble.isDefault = true;
    EXPECT_EQ(PickVisual({defaultDouble, Rgb(10, 10, 10), Rgb(8, 8, 8)}), 2);
    // Exact colours matter more than single buffering: a double-buffered
    // visual is drawn in its front buffer, a 16-bit one loses colours.
    EXPECT_EQ(PickVisual({Rgb(5, 6, 5), Rgb(8, 8, 8, true)}), 1);
    // More bits beat fewer.
    EXPECT_EQ(PickVisual({Rgb(5, 6, 5), Rgb(10, 10, 10, true)}), 1);
    // One short channel puts a visual among the ones with fewer bits.
    EXPECT_EQ(PickVisual({Rgb(8, 8, 7), Rgb(10, 10, 10)}), 1);
}

TEST(PickVisual, FixedColourMapFirst) {
    VisualTraits direct = Rgb(8, 8, 8);
    direct.trueColour = false;
    EXPECT_EQ(PickVisual({direct, Rgb(5, 6, 5, true)}), 1);
    EXPECT_EQ(PickVisual({direct}), 0);
}

TEST(PickVisual, TiesGoToFewerUnusedBitsThenTheDefaultThenTheFirst) {
    VisualTraits withDepth = Rgb(8, 8, 8);
    withDepth.extraBits = 24;
    VisualTraits withAlpha = Rgb(8, 8, 8);
    withAlpha.extraBits = 8;
    EXPECT_EQ(PickVisual({withDepth, withAlpha}), 1);

    VisualTraits plainDefault = Rgb(8, 8, 8);
    plainDefault.isDefault = true;
    EXPECT_EQ(PickVisual({Rgb(8, 8, 8), plainDefault}), 1);
    withAlpha.isDefault = true;
    EXPECT_EQ(PickVisual({withAlpha, Rgb(8, 8, 8)}), 1) << "unused bits outrank the default";
    EXPECT_EQ(PickVisual({Rgb(8, 8, 8), Rgb(8, 8, 8)}), 0);
}

}  // namespace
}  // namespace tintwalk
