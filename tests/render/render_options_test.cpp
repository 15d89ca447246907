#include "render/render_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

// Action, community row, size, seed, ticks, output, then verbose and quiet.
std::string Fields(const RenderOptions& o) {
    std::ostringstream s;
    s << (o.action == RenderAction::kHelp ? "help " : "render ") << o.row << ' ' << o.width << 'x'
      << o.height << ' ' << (o.seedGiven ? std::to_string(o.seed) : "clock") << ' ' << o.ticks
      << ' ' << o.output << ' ' << o.verbose << o.quiet;
    return s.str();
}

// Accepted arguments with what they set; refusals with a part of their one-line message.
TEST(RenderOptions, AcceptedAndRefusedArguments) {
    const std::pair<std::vector<std::string>, const char*> accepted[] = {
        // The saver's full-HD minute: 60000 ms / 13 ms = 4615.38 ticks.
        {{}, "render -1 1920x1080 clock 4615 tintwalk.png 00"},
        {{"--community=fel", "--size", "640X480", "--seed=4294967295", "--ticks", "0", "-o", "-"},
         "render 5 640x480 4294967295 0 - 00"},
        {{"--community", "geo&vlekkensnel", "--size=1x1", "--size", "32768x32768"},
         "render 4 32768x32768 clock 4615 tintwalk.png 00"},
        {{"-v", "-q", "--output=a=b.png", "--ticks", "4294967295", "--seed", "007"},
         "render -1 1920x1080 7 4294967295 a=b.png 11"},
        {{"--help"}, "help -1 1920x1080 clock 4615 tintwalk.png 00"},
    };
    for (const auto& [arguments, expected] : accepted) {
        RenderOptions options;
        std::string error;
        EXPECT_TRUE(ParseRenderOptions(arguments, options, error)) << error;
        EXPECT_EQ(Fields(options), expected) << ::testing::PrintToString(arguments);
    }
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"--community", "Fel"}, "unknown community 'Fel'"},
        {{"--seed", "4294967296"}, "seed '4294967296'"},
        {{"--seed", "18446744073709551617"}, "seed '"},  // 2^64 + 1 must not wrap to 1
        {{"--ticks", "-5"}, "not a whole number"},
        {{"--ticks", "4294967296"}, "too large"},
        {{"--size", "0x10"}, "width must be at least 1"},
        {{"--size", "10x99999999999999999999"}, "too large"},
        {{"--size", "1e3x5"}, "WIDTHxHEIGHT"},
        {{"--seed", "--ticks", "5"}, "'--seed' needs a value"},  // no option taken as a value
        {{"--size", "32769x10"}, "too large"},
        {{"picture.png"}, "unexpected argument 'picture.png'"},
        {{"--quiet=1"}, "'--quiet' takes no value"},
    };
    for (const auto& [arguments, problem] : refused) {
        RenderOptions options;
        std::string error;
        EXPECT_FALSE(ParseRenderOptions(arguments, options, error));
        EXPECT_NE(error.find(problem), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace tintwalk
