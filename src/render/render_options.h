// The command line of tintwalk-render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "communities/community_memory.h"
#include "core/frame_clock.h"

namespace tintwalk {

// One minute of saver time: whole frame ticks in 60 seconds.
constexpr uint64_t kDefaultRenderTicks = 60000 / kFramePeriodMs;
// The most threads --threads accepts.
constexpr uint32_t kMaxRenderThreads = 256;

enum class RenderAction { kRender, kHelp, kVersion, kList };

struct RenderOptions {
    RenderAction action = RenderAction::kRender;
    // -1 until given: the row the clock chooses, as in the saver.
    int32_t row = -1;
    uint32_t width = 1920;
    uint32_t height = 1080;
    bool seedGiven = false;
    uint32_t seed = 0;
    uint64_t ticks = kDefaultRenderTicks;
    // "-" is standard output.
    std::string output = "tintwalk.png";
    // --verbose: the simulation's diagnostic lines on standard error.
    bool verbose = false;
    // --quiet: no result line.
    bool quiet = false;
    // --threads: 0 until given, for the processors the process may use.
    uint32_t threads = 0;
};

// Reads the arguments after the program name. Options take their value as
// the next argument or after '='; the last of a repeated option wins.
// Returns false with a one-line description of the first problem.
bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions& options,
                        std::string& error);

// "WIDTHxHEIGHT", each side from 1 to kMaxPictureSide.
bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height, std::string& error);

std::string RenderUsage();

// One line per community: index, name, hue shift and background.
std::string CommunityList();

}  // namespace tintwalk
