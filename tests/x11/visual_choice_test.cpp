// Which OpenGL visual the Linux saver draws with.
#include "saver/x11/visual_choice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tintwalk {
namespace {

// An RGB OpenGL visual; each letter of `traits` changes one trait: d double buffered,
// D the default visual, x 8 unused bits, X 24, g no OpenGL, i colour index, s stereo,
// o overlay, c a colour map that can change.
VisualTraits V(int red, int green, int blue, const char* traits = "") {
    const auto has = [traits](char trait) { return std::strchr(traits, trait) != nullptr; };
    VisualTraits v;
    v.openGl = !has('g');
    v.rgba = !has('i');
    v.trueColour = !has('c');
    v.doubleBuffer = has('d');
    v.isDefault = has('D');
    v.stereo = has('s');
    v.level = has('o') ? 1 : 0;
    v.extraBits = has('x') ? 8 : has('X') ? 24 : 0;
    v.red = red;
    v.green = green;
    v.blue = blue;
    return v;
}

TEST(PickVisual, RanksTheVisuals) {
    const struct {
        std::vector<VisualTraits> visuals;
        int expected;
        const char* why;
    } cases[] = {
        {{}, -1, "nothing to choose"},
        {{V(8, 8, 8, "g"), V(8, 8, 8, "i"), V(8, 8, 8, "s"), V(8, 8, 8, "o"), V(5, 6, 5, "d")},
         4,
         "the only usable one"},
        {{V(8, 8, 8, "dD"), V(10, 10, 10), V(8, 8, 8)}, 2, "single, 8 bits first"},
        {{V(5, 6, 5), V(8, 8, 8, "d")}, 1, "exact colours before single buffering"},
        {{V(5, 6, 5), V(10, 10, 10, "d")}, 1, "more bits beat fewer"},
        {{V(8, 8, 7), V(10, 10, 10)}, 1, "one short channel counts as fewer bits"},
        {{V(8, 8, 8, "c"), V(5, 6, 5, "d")}, 1, "a fixed colour map first"},
        {{V(8, 8, 8, "c")}, 0, "a colour map that can change, if nothing else"},
        {{V(8, 8, 8, "X"), V(8, 8, 8, "x")}, 1, "fewer unused bits"},
        {{V(8, 8, 8), V(8, 8, 8, "D")}, 1, "then the default"},
        {{V(8, 8, 8, "xD"), V(8, 8, 8)}, 1, "unused bits outrank the default"},
        {{V(8, 8, 8), V(8, 8, 8)}, 0, "then the first"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PickVisual(c.visuals), c.expected) << c.why;
}

}  // namespace
}  // namespace tintwalk
