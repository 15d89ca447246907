#include "communities/presets.h"

#include <cstring>

namespace tintwalk {

const CommunityPreset* const kCommunityPresets[kCommunityCount] = {
    &kAmorfwit, &kPaarsebergen, &kSomspaars,  &kFijnwerk,   &kGeoVlekkensnel,
    &kFel,      &kRock,         &kZoetkoraal, &kZwavelgrot, &kTegelswitzwart,
};

int32_t FindCommunity(const char* text) {
    if (text == nullptr || *text == '\0')
        return -1;
    if (text[0] >= '0' && text[0] <= '9' && text[1] == '\0')
        return text[0] - '0';
    for (int32_t row = 0; row < kCommunityCount; ++row) {
        if (std::strcmp(text, kCommunityPresets[row]->name) == 0)
            return row;
    }
    return -1;
}

}  // namespace tintwalk
