#include "render/render_options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tintwalk {
namespace {

auto Fields(const RenderOptions& o) {
    return std::tuple(o.action, o.row, o.width, o.height, o.seedGiven, o.seed, o.ticks, o.output,
                      o.verbose, o.quiet);
}

TEST(RenderOptions, AcceptedArgumentsGiveEveryField) {
    struct Case {
        std::vector<std::string> arguments;
        RenderOptions expected;
    };
    const Case cases[] = {
        // The saver's full-HD minute: 60000 ms / 13 ms = 4615.38 ticks.
        {{}, {.ticks = 4615}},
        {{"--community", "fel", "--size", "640x480", "--seed", "4294967295", "--ticks", "0",
          "--output", "a.png"},
         {.row = 5,
          .width = 640,
          .height = 480,
          .seedGiven = true,
          .seed = 4294967295u,
          .ticks = 0,
          .output = "a.png"}},
        {{"--community=fel", "--size=640x480", "--seed=4294967295", "--ticks=0", "--output=a.png"},
         {.row = 5,
          .width = 640,
          .height = 480,
          .seedGiven = true,
          .seed = 4294967295u,
          .ticks = 0,
          .output = "a.png"}},
        {{"--community", "amorfwit"}, {.row = 0}},
        {{"--community", "geo&vlekkensnel"}, {.row = 4}},
        {{"--community", "tegelswitzwart"}, {.row = 9}},
        {{"--size", "10x10", "--seed", "1", "--size=20x30", "--seed", "2"},
         {.width = 20, .height = 30, .seedGiven = true, .seed = 2}},
        {{"-v", "-q", "-o", "-"}, {.output = "-", .verbose = true, .quiet = true}},
        {{"--output=a=b.png"}, {.output = "a=b.png"}},
        {{"--ticks", "4294967295"}, {.ticks = 4294967295u}},
        {{"--seed", "007"}, {.seedGiven = true, .seed = 7}},
        {{"--size", "1x1"}, {.width = 1, .height = 1}},
        {{"--size", "32768x32768"}, {.width = 32768, .height = 32768}},
        {{"--size", "152X112"}, {.width = 152, .height = 112}},
        {{"--help"}, {.action = RenderAction::kHelp}},

    };
    for (const Case& c : cases) {
        RenderOptions options;
        std::string error;
        EXPECT_TRUE(ParseRenderOptions(c.arguments, options, error)) << error;
        EXPECT_EQ(Fields(options), Fields(c.expected)) << ::testing::PrintToString(c.arguments);
    }
}

TEST(RenderOptions, RefusalsNameTheProblemInOneLine) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--community", "10"}, "unknown community '10'"},
        {{"--community", "Fel"}, "unknown community 'Fel'"},
        {{"--community", "05"}, "unknown community '05'"},
        {{"--seed", "4294967296"}, "seed '4294967296'"},
        {{"--seed", "+7"}, "seed '+7'"},
        {{"--ticks", "-5"}, "not a whole number"},
        {{"--ticks", "4294967296"}, "too large"},
        {{"--seed", "18446744073709551617"}, "seed '"},  // 2^64 + 1 must not wrap to 1
        {{"--seed", "99999999999999999999999"}, "seed '"},
        {{"--seed", "1.5"}, "seed '"},
        {{"--seed", " 7"}, "seed '"},
        {{"--size", "0x10"}, "width must be at least 1"},
        {{"--size", "10x0"}, "height must be at least 1"},
        {{"--size", "-5x10"}, "width must be positive"},
        {{"--size", "10x-5"}, "height must be positive"},
        {{"--size", "32769x10"}, "too large"},
        {{"--size", "10x99999999999999999999"}, "too large"},
        {{"--size", "1920"}, "WIDTHxHEIGHT"},
        {{"--size", "x10"}, "WIDTHxHEIGHT"},
        {{"--size", "10x"}, "WIDTHxHEIGHT"},
        {{"--size", "10x10x10"}, "WIDTHxHEIGHT"},
        {{"--size", " 10x10"}, "WIDTHxHEIGHT"},
        {{"--size", "1e3x5"}, "WIDTHxHEIGHT"},
        {{"--seed"}, "'--seed' needs a value"},
        {{"--output="}, "'--output' needs a value"},
        {{"--seed", "--ticks", "5"}, "'--seed' needs a value"},  // no option taken as a value
        {{"--colour=red"}, "unknown option '--colour'"},
        {{"-x"}, "unknown option '-x'"},
        {{"picture.png"}, "unexpected argument 'picture.png'"},
        {{"--help=yes"}, "'--help' takes no value"},
        {{"--quiet=1"}, "'--quiet' takes no value"},
    };
    for (const auto& [arguments, problem] : cases) {
        RenderOptions options;
        std::string error;
        EXPECT_FALSE(ParseRenderOptions(arguments, options, error));
        EXPECT_NE(error.find(problem), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace tintwalk
