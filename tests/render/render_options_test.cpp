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
        {{"--size", "0x10"}, "width must be at least 1"},
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

TEST(ParseDecimal, DigitsOnlyUpToTheLimitWithoutWrapping) {
    const std::tuple<const char*, uint64_t, bool, uint64_t> cases[] = {
        {"0", 10, true, 0},
        {"10", 10, true, 10},
        {"007", 10, true, 7},
        {"11", 10, false, 5},
        {"18446744073709551615", UINT64_MAX, true, UINT64_MAX},
        {"18446744073709551616", UINT64_MAX, false, 5},
        {"99999999999999999999999", UINT64_MAX, false, 5},
    };
    for (const auto& [text, limit, ok, result] : cases) {
        uint64_t value = 5;
        EXPECT_EQ(ParseDecimal(text, limit, value), ok) << text;
        EXPECT_EQ(value, result) << text;
    }
    uint64_t value = 5;
    for (const char* text : {"", "-1", "+1", " 1", "1 ", "1e3", "0x1", "1.5"})
        EXPECT_FALSE(ParseDecimal(text, UINT64_MAX, value)) << text;
    EXPECT_EQ(value, 5u);
}

TEST(ParseSize, AcceptsOneToTheMaximumAndNamesWhatIsWrong) {
    const std::tuple<const char*, uint32_t, uint32_t> good[] = {
        {"1x1", 1, 1}, {"32768x32768", 32768, 32768}, {"152X112", 152, 112}};
    for (const auto& [text, width, height] : good) {
        uint32_t w = 0;
        uint32_t h = 0;
        std::string error;
        EXPECT_TRUE(ParseSize(text, w, h, error)) << text;
        EXPECT_EQ(std::pair(w, h), std::pair(width, height)) << text;
    }
    const std::pair<const char*, const char*> bad[] = {
        {"0x10", "width must be at least 1"},
        {"10x0", "height must be at least 1"},
        {"-5x10", "width must be positive"},
        {"10x-5", "height must be positive"},
        {"32769x10", "too large"},
        {"1920", "WIDTHxHEIGHT"},
        {"x10", "WIDTHxHEIGHT"},
        {"10x", "WIDTHxHEIGHT"},
        {"10x10x10", "WIDTHxHEIGHT"},
        {" 10x10", "WIDTHxHEIGHT"},
        {"10 x 10", "WIDTHxHEIGHT"},
        {"1e3x5", "WIDTHxHEIGHT"},
    };
    for (const auto& [text, problem] : bad) {
        uint32_t width = 7;
        uint32_t height = 9;  // a refused size leaves the previous one in place
        std::string error;
        EXPECT_FALSE(ParseSize(text, width, height, error)) << text;
        EXPECT_EQ(std::pair(width, height), std::pair(7u, 9u)) << text;
        EXPECT_NE(error.find(problem), std::string::npos) << text << ": " << error;
    }
}

}  // namespace
}  // namespace tintwalk
