// What a community needs of the memory, and whether it got it.
#pragma once

#include <cstdint>
#include <string>

namespace tintwalk {

// The largest width or height of a picture that the renderer and the web
// page accept. At this size the two habitat images take 6 GiB, and
// width x height (2^30) still fits a signed 32-bit product.
constexpr uint32_t kMaxPictureSide = 32768;

// The bytes InitCommunity takes for a width x height surface: both habitat
// images and the eight bots' trails.
uint64_t CommunityBytes(int32_t width, int32_t height);

// True when the Biotope holds a whole community of width x height: both
// habitat images, the bots and every bot's full trail. The Biotope reports a
// failed allocation and carries on with what it has; a picture needs all.
bool CommunityLoaded(uint32_t width, uint32_t height);

// The line every program gives when a width x height picture does not fit
// in the memory the process may use.
std::string NoMemoryText(int64_t width, int64_t height);

}  // namespace tintwalk
