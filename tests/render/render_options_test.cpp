#include "render/render_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tintwalk {
namespace {

RenderOptions Parse(const std::vector<std::string>& arguments) {
    RenderOptions options;
    std::string error;
    EXPECT_TRUE(ParseRenderOptions(arguments, options, error)) << error;
    return options;
}

// Parses arguments that must be refused; returns the one-line problem.
std::string Refuse(const std::vector<std::string>& arguments) {
    RenderOptions options;
    std::string error;
    EXPECT_FALSE(ParseRenderOptions(arguments, options, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    return error;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(RenderOptions, DefaultsAreTheSaversFullHdMinute) {
    const RenderOptions options = Parse({});
    EXPECT_EQ(options.action, RenderAction::kRender);
    EXPECT_EQ(options.row, -1);
    EXPECT_EQ(options.width, 1920u);
    EXPECT_EQ(options.height, 1080u);
    EXPECT_FALSE(options.seedGiven);
    // 60000 ms / 13 ms = 4615.38...: 4615 whole ticks.
    EXPECT_EQ(options.ticks, 4615u);
    EXPECT_EQ(options.output, "tintwalk.png");
}

TEST(RenderOptions, ValuesFollowAsNextArgumentOrAfterEquals) {
    const RenderOptions separate = Parse({"--community", "fel", "--size", "640x480", "--seed",
                                          "4294967295", "--ticks", "0", "--output", "a.png"});
    const RenderOptions joined = Parse(
        {"--community=fel", "--size=640x480", "--seed=4294967295", "--ticks=0", "--output=a.png"});
    for (const RenderOptions& options : {separate, joined}) {
        EXPECT_EQ(options.row, 5);
        EXPECT_EQ(options.width, 640u);
        EXPECT_EQ(options.height, 480u);
        EXPECT_TRUE(options.seedGiven);
        EXPECT_EQ(options.seed, 4294967295u);
        EXPECT_EQ(options.ticks, 0u);
        EXPECT_EQ(options.output, "a.png");
    }
}

TEST(RenderOptions, CommunityByIndexOrByName) {
    EXPECT_EQ(Parse({"--community", "0"}).row, 0);
    EXPECT_EQ(Parse({"--community", "9"}).row, 9);
    EXPECT_EQ(Parse({"--community", "amorfwit"}).row, 0);
    EXPECT_EQ(Parse({"--community", "geo&vlekkensnel"}).row, 4);
    EXPECT_EQ(Parse({"--community", "tegelswitzwart"}).row, 9);
}

TEST(RenderOptions, TheLastOfARepeatedOptionWins) {
    const RenderOptions options =
        Parse({"--size", "10x10", "--seed", "1", "--size=20x30", "--seed", "2"});
    EXPECT_EQ(options.width, 20u);
    EXPECT_EQ(options.height, 30u);
    EXPECT_EQ(options.seed, 2u);
}

TEST(RenderOptions, PipelineSwitchesAndStandardOutput) {
    const RenderOptions options = Parse({"-v", "-q", "-o", "-"});
    EXPECT_TRUE(options.verbose);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.output, "-");
    EXPECT_EQ(Parse({"--verbose", "--output", "-"}).output, "-");
    EXPECT_FALSE(Parse({}).verbose || Parse({}).quiet);
    EXPECT_TRUE(Contains(Refuse({"--quiet=1"}), "'--quiet' takes no value"));
}

TEST(RenderOptions, AnEqualsSignInTheFileNameIsKept) {
    EXPECT_EQ(Parse({"--output=a=b.png"}).output, "a=b.png");
    EXPECT_EQ(Parse({"--output", "x=1.png"}).output, "x=1.png");
}

TEST(RenderOptions, RefusesUnknownCommunities) {
    EXPECT_TRUE(Contains(Refuse({"--community", "10"}), "unknown community '10'"));
    EXPECT_TRUE(Contains(Refuse({"--community", "-1"}), "unknown community '-1'"));
    EXPECT_TRUE(Contains(Refuse({"--community", "Fel"}), "unknown community 'Fel'"));
    EXPECT_TRUE(Contains(Refuse({"--community", "05"}), "unknown community '05'"));
}

TEST(RenderOptions, RefusesBadSeeds) {
    for (const char* seed : {"abc", "-1", "4294967296", "1.5", "0x10", " 7", "+7"})
        EXPECT_TRUE(Contains(Refuse({"--seed", seed}), "seed '")) << seed;
}

TEST(RenderOptions, RefusesBadTickCounts) {
    EXPECT_TRUE(Contains(Refuse({"--ticks", "-5"}), "not a whole number"));
    EXPECT_TRUE(Contains(Refuse({"--ticks", "ten"}), "not a whole number"));
    EXPECT_TRUE(Contains(Refuse({"--ticks", "2.5"}), "not a whole number"));
    EXPECT_TRUE(Contains(Refuse({"--ticks", "4294967296"}), "too large"));
    EXPECT_EQ(Parse({"--ticks", "4294967295"}).ticks, 4294967295u);
}

TEST(RenderOptions, RefusesMissingValuesAndStrayArguments) {
    EXPECT_TRUE(Contains(Refuse({"--seed"}), "'--seed' needs a value"));
    EXPECT_TRUE(Contains(Refuse({"--output="}), "'--output' needs a value"));
    // The next option is not swallowed as the value.
    EXPECT_TRUE(Contains(Refuse({"--seed", "--ticks", "5"}), "'--seed' needs a value"));
    EXPECT_TRUE(Contains(Refuse({"--colour", "red"}), "unknown option '--colour'"));
    EXPECT_TRUE(Contains(Refuse({"--colour=red"}), "unknown option '--colour'"));
    EXPECT_TRUE(Contains(Refuse({"-x"}), "unknown option '-x'"));
    EXPECT_TRUE(Contains(Refuse({"picture.png"}), "unexpected argument 'picture.png'"));
    EXPECT_TRUE(Contains(Refuse({"--help=yes"}), "'--help' takes no value"));
}

TEST(ParseDecimal, DigitsOnlyUpToTheLimit) {
    uint64_t value = 99;
    EXPECT_TRUE(ParseDecimal("0", 10, value));
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(ParseDecimal("10", 10, value));
    EXPECT_EQ(value, 10u);
    EXPECT_FALSE(ParseDecimal("11", 10, value));
    EXPECT_TRUE(ParseDecimal("007", 10, value));
    EXPECT_EQ(value, 7u);
    // The largest 64-bit value and one past it, which must not wrap.
    EXPECT_TRUE(ParseDecimal("18446744073709551615", UINT64_MAX, value));
    EXPECT_EQ(value, UINT64_MAX);
    value = 5;
    EXPECT_FALSE(ParseDecimal("18446744073709551616", UINT64_MAX, value));
    EXPECT_FALSE(ParseDecimal("99999999999999999999999", UINT64_MAX, value));
    for (const char* text : {"", "-1", "+1", " 1", "1 ", "1e3", "0x1"})
        EXPECT_FALSE(ParseDecimal(text, UINT64_MAX, value)) << text;
    EXPECT_EQ(value, 5u);
}

TEST(ParseSize, AcceptsOneToTheMaximumPerSide) {
    uint32_t width = 0;
    uint32_t height = 0;
    std::string error;
    EXPECT_TRUE(ParseSize("1x1", width, height, error));
    EXPECT_EQ(width, 1u);
    EXPECT_EQ(height, 1u);
    EXPECT_TRUE(ParseSize("32768x32768", width, height, error));
    EXPECT_EQ(width, 32768u);
    EXPECT_EQ(height, 32768u);
    EXPECT_TRUE(ParseSize("152X112", width, height, error));
    EXPECT_EQ(width, 152u);
    EXPECT_EQ(height, 112u);
}

TEST(ParseSize, NamesWhatIsWrong) {
    const auto problem = [](const char* text) {
        uint32_t width = 7;
        uint32_t height = 9;
        std::string error;
        EXPECT_FALSE(ParseSize(text, width, height, error)) << text;
        // A refused size leaves the previous one in place.
        EXPECT_EQ(width, 7u);
        EXPECT_EQ(height, 9u);
        return error;
    };
    EXPECT_TRUE(Contains(problem("0x10"), "width must be at least 1"));
    EXPECT_TRUE(Contains(problem("10x0"), "height must be at least 1"));
    EXPECT_TRUE(Contains(problem("-5x10"), "width must be positive"));
    EXPECT_TRUE(Contains(problem("10x-5"), "height must be positive"));
    EXPECT_TRUE(Contains(problem("32769x10"), "too large"));
    EXPECT_TRUE(Contains(problem("10x99999999999999999999"), "too large"));
    for (const char* text : {"1920", "x10", "10x", "10x10x10", "axb", " 10x10", "10 x 10", "1e3x5"})
        EXPECT_TRUE(Contains(problem(text), "WIDTHxHEIGHT")) << text;
}

}  // namespace
}  // namespace tintwalk
