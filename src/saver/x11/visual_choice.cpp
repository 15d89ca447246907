#include "saver/x11/visual_choice.h"

#include <tuple>

namespace tintwalk {

namespace {

// 0 for exactly 8 bits in each colour, 1 for at least 8 in each, 2 for less.
int ColourClass(const VisualTraits& v) {
    if (v.red == 8 && v.green == 8 && v.blue == 8)
        return 0;
    if (v.red >= 8 && v.green >= 8 && v.blue >= 8)
        return 1;
    return 2;
}

// Smaller is better; the index breaks ties.
auto Rank(const VisualTraits& v, int index) {
    return std::make_tuple(v.trueColour ? 0 : 1, ColourClass(v), v.doubleBuffer ? 1 : 0,
                           v.extraBits, v.isDefault ? 0 : 1, index);
}

}  // namespace

int PickVisual(const std::vector<VisualTraits>& visuals) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(visuals.size()); ++i) {
        const VisualTraits& v = visuals[i];
        if (!v.openGl || !v.rgba || v.stereo || v.level != 0)
            continue;
        if (best < 0 || Rank(v, i) < Rank(visuals[best], best))
            best = i;
    }
    return best;
}

}  // namespace tintwalk
