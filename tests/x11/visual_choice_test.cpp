// Which OpenGL visual the Linux saver draws with.
#include "saver/x11/visual_choice.h"

#include <gtest/gtest.h>

#include <vector>

namespace tintwalk {
namespace {

VisualTraits Rgb(int red, int green, int blue, bool doubleBuffer = false, int extraBits = 0,
                 bool isDefault = false) {
    VisualTraits v;
    v.openGl = v.rgba = v.trueColour = true;
    v.doubleBuffer = doubleBuffer;
    v.red = red;
    v.green = green;
    v.blue = blue;
    v.extraBits = extraBits;
    v.isDefault = isDefault;
    return v;
}

template <class T>
VisualTraits With(T VisualTraits::*field, T value) {
    VisualTraits v = Rgb(8, 8, 8);
    v.*field = value;
    return v;
}

TEST(PickVisual, RanksTheVisuals) {
    const VisualTraits noGl = With(&VisualTraits::openGl, false);
    const VisualTraits indexed = With(&VisualTraits::rgba, false);
    const VisualTraits stereo = With(&VisualTraits::stereo, true);
    const VisualTraits overlay = With(&VisualTraits::level, 1);
    const VisualTraits direct = With(&VisualTraits::trueColour, false);
    const struct {
        std::vector<VisualTraits> visuals;
        int expected;
        const char* why;
    } cases[] = {
        {{}, -1, "nothing to choose"},
        {{noGl, indexed, stereo, overlay}, -1, "none can draw the picture"},
        {{noGl, indexed, stereo, overlay, Rgb(5, 6, 5, true)}, 4, "the only usable one"},
        {{Rgb(8, 8, 8, true, 0, true), Rgb(10, 10, 10), Rgb(8, 8, 8)}, 2, "single, 8 bits first"},
        {{Rgb(5, 6, 5), Rgb(8, 8, 8, true)}, 1, "exact colours before single buffering"},
        {{Rgb(5, 6, 5), Rgb(10, 10, 10, true)}, 1, "more bits beat fewer"},
        {{Rgb(8, 8, 7), Rgb(10, 10, 10)}, 1, "one short channel counts as fewer bits"},
        {{direct, Rgb(5, 6, 5, true)}, 1, "a fixed colour map first"},
        {{direct}, 0, "a colour map that can change, if nothing else"},
        {{Rgb(8, 8, 8, false, 24), Rgb(8, 8, 8, false, 8)}, 1, "fewer unused bits"},
        {{Rgb(8, 8, 8), Rgb(8, 8, 8, false, 0, true)}, 1, "then the default"},
        {{Rgb(8, 8, 8, false, 8, true), Rgb(8, 8, 8)}, 1, "unused bits outrank the default"},
        {{Rgb(8, 8, 8), Rgb(8, 8, 8)}, 0, "then the first"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PickVisual(c.visuals), c.expected) << c.why;
}

}  // namespace
}  // namespace tintwalk
