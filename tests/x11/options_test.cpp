// The Linux saver's command line and the choices made from it before any
// display is opened.
#include "saver/x11/options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

// Parses the arguments (without a program name); the error is kept.
struct Parsed {
    bool ok;
    SaverOptions options;
    std::string error;
};

Parsed Parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv(arguments);
    Parsed parsed;
    parsed.ok =
        ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), parsed.options, parsed.error);
    return parsed;
}

TEST(Parsers, AcceptedAndRefusedValues) {
    unsigned long id = 0;
    for (const auto& [text, value] : {std::pair{"12345", 12345ul},
                                      {"0x1a00003", 27262979ul},
                                      {"0X1F", 31ul},
                                      {"4294967295", 4294967295ul},
                                      {"0xffffffff", 4294967295ul}}) {
        EXPECT_TRUE(ParseWindowId(text, id) && id == value) << text;
    }
    for (const char* bad : {"", "0", "0x0", "0x", "12a", "-5", "+5", " 5", "5 ", "0x1g", "abc",
                            "4294967296", "0x100000000", "99999999999999999999999"})
        EXPECT_FALSE(ParseWindowId(bad, id)) << "'" << bad << "'";
    EXPECT_EQ(id, 4294967295u) << "a refused id leaves the old value";

    SaverOptions o;
    ASSERT_TRUE(ParseGeometry("203X117+10+20", o));
    EXPECT_EQ(std::vector({o.width, o.height, o.x, o.y}), std::vector({203, 117, 10, 20}));
    EXPECT_TRUE(o.positionGiven);
    ASSERT_TRUE(ParseGeometry("16384x1", o));
    EXPECT_EQ(std::vector({o.width, o.height}), std::vector({16384, 1}));
    EXPECT_FALSE(o.positionGiven);
    for (const char* bad :
         {"", "640", "640x", "x480", "0x480", "640x0", "16385x1", "1x16385", "640x480+10",
          "640x480-0-0", "640x480+1+2junk", "640*480", "-640x480", "640 x 480"})
        EXPECT_FALSE(ParseGeometry(bad, o)) << "'" << bad << "'";
    EXPECT_EQ(o.width, 16384) << "a refused geometry leaves the size alone";

    uint64_t value = 0;
    ASSERT_TRUE(ParseWholeNumber("18446744073709551615", 0, UINT64_MAX, value));
    EXPECT_EQ(value, UINT64_MAX);
    // One more than the largest 64-bit number must not wrap to 0.
    EXPECT_FALSE(ParseWholeNumber("18446744073709551616", 0, UINT64_MAX, value));
    EXPECT_FALSE(ParseWholeNumber("4294967296", 0, UINT32_MAX, value));
    EXPECT_FALSE(ParseWholeNumber("0", 1, 10, value) || ParseWholeNumber("11", 1, 10, value));
    EXPECT_FALSE(ParseWholeNumber("", 0, 10, value) || ParseWholeNumber("0x5", 0, 10, value));
    EXPECT_TRUE(ParseWholeNumber("007", 0, 10, value) && value == 7);
}

TEST(CommandLine, DefaultsAndEveryOptionWithOneOrTwoDashes) {
    const Parsed none = Parse({});
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.options.mode, ModeRequest::kNone);
    EXPECT_EQ(none.options.width * 10000 + none.options.height, 1280 * 10000 + 720);
    EXPECT_EQ(none.options.community, -1);
    EXPECT_FALSE(none.options.seedGiven);
    EXPECT_EQ(none.options.ticks, -1);
    const Parsed parsed =
        Parse({"-window", "--community", "fel", "-seed", "4294967295", "--ticks=250", "-geometry",
               "203x117", "--snapshot", "out.png", "-display=:5", "--help", "-version", "--gl",
               "-no-shm", "--timings"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const SaverOptions& o = parsed.options;
    EXPECT_EQ(o.mode, ModeRequest::kWindow);
    EXPECT_EQ(o.community, 5);
    EXPECT_TRUE(o.seedGiven);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.ticks, 250);
    EXPECT_EQ(o.width * 10000 + o.height, 203 * 10000 + 117);
    EXPECT_EQ(o.snapshot, "out.png");
    EXPECT_EQ(o.display, ":5");
    EXPECT_TRUE(o.help && o.version);
    EXPECT_TRUE(o.openGl && o.timings);
    EXPECT_FALSE(o.sharedMemory);
    EXPECT_EQ(Parse({"--community=tegelswitzwart"}).options.community, 9);
    EXPECT_EQ(Parse({"--community", "0"}).options.community, 0);
    EXPECT_EQ(Parse({"--ticks", "9223372036854775807"}).options.ticks, INT64_MAX);
    // The last mode wins.
    EXPECT_EQ(Parse({"-root", "-window"}).options.mode, ModeRequest::kWindow);
    EXPECT_EQ(Parse({"-window", "--fullscreen"}).options.mode, ModeRequest::kFullscreen);
    const Parsed id = Parse({"-root", "-window-id", "0x400001"});
    EXPECT_EQ(id.options.mode, ModeRequest::kWindowId);
    EXPECT_EQ(id.options.windowId, 0x400001u);
}

TEST(CommandLine, ClearErrors) {
    struct Case {
        std::initializer_list<const char*> arguments;
        const char* errorPart;
    };
    const Case cases[] = {
        {{"-window-id", "abc"}, "bad window id 'abc'"},
        {{"-window-id", "0"}, "bad window id '0'"},
        {{"-window-id"}, "needs a value"},
        {{"--seed"}, "needs a value"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-"}, "unexpected argument '-'"},
        {{"picture.png"}, "unexpected argument 'picture.png'"},
        {{"--root=yes"}, "takes no value"},
        {{"-geometry", "640x"}, "bad geometry '640x'"},
        {{"--community", "10"}, "community"},
        {{"--community", "Fel"}, "community"},
        {{"--seed", "4294967296"}, "seed"},
        {{"--seed", "-1"}, "seed"},
        {{"--ticks", "0"}, "tick count"},
        {{"--ticks", "9223372036854775808"}, "tick count"},
        {{"--snapshot="}, "snapshot"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.arguments);
        EXPECT_FALSE(parsed.ok) << c.errorPart;
        EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos)
            << "'" << parsed.error << "' lacks '" << c.errorPart << "'";
    }
}

// Where the picture goes for each mode request, with and without a host
// window in the environment.
TEST(Target, ExplicitModesBeatTheEnvironment) {
    struct Case {
        ModeRequest mode;
        const char* environment;
        TargetKind target;
        unsigned long windowId;
    };
    const Case cases[] = {
        {ModeRequest::kWindow, "0x200001", TargetKind::kOwnWindow, 0},
        {ModeRequest::kFullscreen, "0x200001", TargetKind::kFullscreen, 0},
        {ModeRequest::kWindowId, "0x200001", TargetKind::kHostWindow, 4242},
        {ModeRequest::kNone, "0x200001", TargetKind::kHostWindow, 0x200001},
        {ModeRequest::kRoot, "2097153", TargetKind::kHostWindow, 0x200001},
        {ModeRequest::kNone, nullptr, TargetKind::kOwnWindow, 0},
        {ModeRequest::kNone, "", TargetKind::kOwnWindow, 0},
        {ModeRequest::kRoot, nullptr, TargetKind::kRoot, 0},
    };
    for (const Case& c : cases) {
        SaverOptions options;
        options.mode = c.mode;
        options.windowId = 4242;
        SaverTarget target;
        std::string error;
        ASSERT_TRUE(ResolveTarget(options, c.environment, target, error));
        EXPECT_EQ(target.mode, c.target) << static_cast<int>(c.mode);
        if (c.windowId != 0) {
            EXPECT_EQ(target.windowId, c.windowId);
        }
    }
    SaverOptions options;
    SaverTarget target;
    std::string error;
    EXPECT_FALSE(ResolveTarget(options, "window", target, error));
    EXPECT_NE(error.find("XSCREENSAVER_WINDOW"), std::string::npos) << error;
}

TEST(Choice, TheClockChoosesWhatTheCommandLineLeavesOpen) {
    SaverOptions options;
    PictureChoice choice = ChoosePicture(options, 1700000003);
    EXPECT_EQ(choice.row, 3);
    EXPECT_EQ(choice.seed, 1700000003u);
    // Past 2038 and past the 32-bit seconds: the row stays in 0..9 and the
    // seed is the low 32 bits (4294967301 = 2^32 + 5).
    choice = ChoosePicture(options, 4294967301);
    EXPECT_EQ(choice.row, 1);
    EXPECT_EQ(choice.seed, 5u);

    options.community = 7;
    choice = ChoosePicture(options, 1700000003);
    EXPECT_EQ(choice.row, 7);
    EXPECT_EQ(choice.seed, 1700000003u);
    options.community = -1;
    options.seedGiven = true;
    options.seed = 0;
    choice = ChoosePicture(options, 1700000008);
    EXPECT_EQ(choice.row, 8);
    EXPECT_EQ(choice.seed, 0u);
}

TEST(FrameClock, MissedTicksAreDroppedNotQueued) {
    // Period 13 ms from a start at 1000 ms: ticks fall due at 1013, 1026, ...
    EXPECT_EQ(NextTickDue(1000, 1000, 13), 1013);
    EXPECT_EQ(NextTickDue(1000, 1012, 13), 1013);
    EXPECT_EQ(NextTickDue(1000, 1013, 13), 1026);
    // A frame that ended at 1050 missed 1026 and 1039: the next is 1052.
    EXPECT_EQ(NextTickDue(1000, 1050, 13), 1052);
    // A hundred periods late: 1000 + 13 x 101 = 2313.
    EXPECT_EQ(NextTickDue(1000, 2312, 13), 2313);
    // A clock that reads before the start waits for the start.
    EXPECT_EQ(NextTickDue(1000, 990, 13), 1000);
}

TEST(Usage, NamesEveryOption) {
    const std::string usage = UsageText();
    for (const char* option :
         {"-window ", "-root ", "-window-id ID", "--fullscreen", "-geometry WxH",
          "--community N|NAME", "--seed S", "--ticks T", "--snapshot FILE.png", "-display NAME",
          "--help", "--version", "--gl", "--no-shm", "--timings"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace tintwalk
