// The 72 behaviour rules, by community and bot. Several bots share a rule;
// each rule is defined once, in its community's file.
#pragma once

#include <cstdint>

#include "core/biotope.h"

namespace tintwalk {

#define TINTWALK_RULE(name) \
    void name(const Bot& bot, int32_t& newState, int32_t& newHeading, HslPixel& newColour)

TINTWALK_RULE(AmorfwitRule0);
TINTWALK_RULE(AmorfwitRule1);
TINTWALK_RULE(AmorfwitRule2);
TINTWALK_RULE(AmorfwitRule3);
TINTWALK_RULE(AmorfwitRule4);
TINTWALK_RULE(AmorfwitRule5);
TINTWALK_RULE(AmorfwitRule6);
TINTWALK_RULE(AmorfwitRule7);

TINTWALK_RULE(PaarsebergenRule0);
TINTWALK_RULE(PaarsebergenRule2);
TINTWALK_RULE(PaarsebergenRule3);
TINTWALK_RULE(PaarsebergenRule4);
TINTWALK_RULE(PaarsebergenRule5);
TINTWALK_RULE(PaarsebergenRule6);
TINTWALK_RULE(PaarsebergenRule7);

TINTWALK_RULE(SomspaarsRule0);
TINTWALK_RULE(SomspaarsRule1);
TINTWALK_RULE(SomspaarsRule2);
TINTWALK_RULE(SomspaarsRule3);
TINTWALK_RULE(SomspaarsRule5);
TINTWALK_RULE(SomspaarsRule6);
TINTWALK_RULE(SomspaarsRule7);

TINTWALK_RULE(FijnwerkRule0);
TINTWALK_RULE(FijnwerkRule1);
TINTWALK_RULE(FijnwerkRule2);
TINTWALK_RULE(FijnwerkRule3);
TINTWALK_RULE(FijnwerkRule4);
TINTWALK_RULE(FijnwerkRule5);
TINTWALK_RULE(FijnwerkRule6);
TINTWALK_RULE(FijnwerkRule7);

TINTWALK_RULE(GeoVlekkensnelRule0);
TINTWALK_RULE(GeoVlekkensnelRule1);
TINTWALK_RULE(GeoVlekkensnelRule2);
TINTWALK_RULE(GeoVlekkensnelRule3);
TINTWALK_RULE(GeoVlekkensnelRule4);
TINTWALK_RULE(GeoVlekkensnelRule5);
TINTWALK_RULE(GeoVlekkensnelRule6);
TINTWALK_RULE(GeoVlekkensnelRule7);

TINTWALK_RULE(FelRule0);
TINTWALK_RULE(FelRule1);
TINTWALK_RULE(FelRule2);
TINTWALK_RULE(FelRule3);

TINTWALK_RULE(RockRule0);
TINTWALK_RULE(RockRule1);
TINTWALK_RULE(RockRule2);
TINTWALK_RULE(RockRule3);
TINTWALK_RULE(RockRule4);
TINTWALK_RULE(RockRule5);
TINTWALK_RULE(RockRule6);
TINTWALK_RULE(RockRule7);

TINTWALK_RULE(ZoetkoraalRule0);
TINTWALK_RULE(ZoetkoraalRule1);
TINTWALK_RULE(ZoetkoraalRule2);
TINTWALK_RULE(ZoetkoraalRule4);
TINTWALK_RULE(ZoetkoraalRule5);
TINTWALK_RULE(ZoetkoraalRule6);
TINTWALK_RULE(ZoetkoraalRule7);

TINTWALK_RULE(ZwavelgrotRule0);
TINTWALK_RULE(ZwavelgrotRule2);
TINTWALK_RULE(ZwavelgrotRule3);
TINTWALK_RULE(ZwavelgrotRule4);
TINTWALK_RULE(ZwavelgrotRule5);
TINTWALK_RULE(ZwavelgrotRule6);
TINTWALK_RULE(ZwavelgrotRule7);

TINTWALK_RULE(TegelswitzwartRule0);
TINTWALK_RULE(TegelswitzwartRule1);
TINTWALK_RULE(TegelswitzwartRule2);
TINTWALK_RULE(TegelswitzwartRule3);
TINTWALK_RULE(TegelswitzwartRule4);
TINTWALK_RULE(TegelswitzwartRule5);
TINTWALK_RULE(TegelswitzwartRule6);
TINTWALK_RULE(TegelswitzwartRule7);

}  // namespace tintwalk
