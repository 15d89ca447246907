// Choosing the visual to draw with among those a screen offers. The picture
// wants a single-buffered RGB surface with 8 bits per colour; when the
// screen has none, the closest one is taken (a double-buffered visual is
// then drawn in its front buffer).
#pragma once

#include <cstdint>
#include <vector>

namespace tintwalk {

// What matters of one visual, as the OpenGL binding describes it.
struct VisualTraits {
    bool openGl = false;      // usable for OpenGL rendering at all
    bool rgba = false;        // RGBA rather than colour-index mode
    bool trueColour = false;  // a fixed colour map: the bytes drawn are the colours shown
    bool doubleBuffer = false;
    bool stereo = false;
    int level = 0;  // 0 is the main plane
    int red = 0;
    int green = 0;
    int blue = 0;
    int extraBits = 0;       // alpha, depth, stencil and accumulation bits, all unused
    bool isDefault = false;  // the screen's default visual
};

// The index of the best visual in `visuals`, or -1 when none can draw the
// picture (it needs OpenGL, RGBA, the main plane and no stereo). Preference,
// in this order: a fixed colour map; exactly 8 bits per colour, then more,
// then fewer; single buffering; the fewest unused bits; the default visual;
// the earlier in the list.
int PickVisual(const std::vector<VisualTraits>& visuals);

}  // namespace tintwalk
