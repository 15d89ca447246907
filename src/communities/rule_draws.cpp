// The draws each rule takes per call. Every rule takes the same number on
// every call, whatever its bot sees; a parallel pass relies on that to know
// where in the generator's sequence each bot's steps begin.
#include <iterator>

#include "communities/presets.h"
#include "communities/rules.h"

namespace tintwalk {

namespace {

struct RuleDraws {
    BotRule rule;
    int32_t draws;
};

constexpr RuleDraws kRuleDraws[] = {
    {AmorfwitRule0, 2},
    {AmorfwitRule1, 1},
    {AmorfwitRule2, 2},
    {AmorfwitRule3, 2},
    {AmorfwitRule4, 2},
    {AmorfwitRule5, 1},
    {AmorfwitRule6, 1},
    {AmorfwitRule7, 2},
    {PaarsebergenRule0, 2},
    {PaarsebergenRule2, 0},
    {PaarsebergenRule3, 1},
    {PaarsebergenRule4, 1},
    {PaarsebergenRule5, 0},
    {PaarsebergenRule6, 1},
    {PaarsebergenRule7, 1},
    {SomspaarsRule0, 3},
    {SomspaarsRule1, 1},
    {SomspaarsRule2, 0},
    {SomspaarsRule3, 1},
    {SomspaarsRule5, 1},
    {SomspaarsRule6, 1},
    {SomspaarsRule7, 1},
    {FijnwerkRule0, 0},
    {FijnwerkRule1, 3},
    {FijnwerkRule2, 0},
    {FijnwerkRule3, 1},
    {FijnwerkRule4, 0},
    {FijnwerkRule5, 2},
    {FijnwerkRule6, 0},
    {FijnwerkRule7, 3},
    {GeoVlekkensnelRule0, 1},
    {GeoVlekkensnelRule1, 0},
    {GeoVlekkensnelRule2, 1},
    {GeoVlekkensnelRule3, 1},
    {GeoVlekkensnelRule4, 1},
    {GeoVlekkensnelRule5, 1},
    {GeoVlekkensnelRule6, 1},
    {GeoVlekkensnelRule7, 2},
    {FelRule0, 0},
    {FelRule1, 2},
    {FelRule2, 0},
    {FelRule3, 0},
    {RockRule0, 2},
    {RockRule1, 0},
    {RockRule2, 1},
    {RockRule3, 1},
    {RockRule4, 1},
    {RockRule5, 1},
    {RockRule6, 0},
    {RockRule7, 1},
    {ZoetkoraalRule0, 0},
    {ZoetkoraalRule1, 1},
    {ZoetkoraalRule2, 1},
    {ZoetkoraalRule4, 0},
    {ZoetkoraalRule5, 1},
    {ZoetkoraalRule6, 3},
    {ZoetkoraalRule7, 2},
    {ZwavelgrotRule0, 1},
    {ZwavelgrotRule2, 0},
    {ZwavelgrotRule3, 0},
    {ZwavelgrotRule4, 1},
    {ZwavelgrotRule5, 1},
    {ZwavelgrotRule6, 1},
    {ZwavelgrotRule7, 1},
    {TegelswitzwartRule0, 2},
    {TegelswitzwartRule1, 0},
    {TegelswitzwartRule2, 0},
    {TegelswitzwartRule3, 0},
    {TegelswitzwartRule4, 1},
    {TegelswitzwartRule5, 1},
    {TegelswitzwartRule6, 2},
    {TegelswitzwartRule7, 2},
};
static_assert(std::size(kRuleDraws) == 72, "one entry for each of the 72 rules");

}  // namespace

int32_t DrawsPerCall(BotRule rule) {
    for (const RuleDraws& entry : kRuleDraws) {
        if (entry.rule == rule)
            return entry.draws;
    }
    return -1;
}

}  // namespace tintwalk
