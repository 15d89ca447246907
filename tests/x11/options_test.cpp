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

TEST(WindowId, DecimalAndHexadecimal) {
    unsigned long id = 0;
    ASSERT_TRUE(ParseWindowId("12345", id));
    EXPECT_EQ(id, 12345u);
    ASSERT_TRUE(ParseWindowId("0x1a00003", id));
    EXPECT_EQ(id, 27262979u);
    ASSERT_TRUE(ParseWindowId("0X1F", id));
    EXPECT_EQ(id, 31u);
    ASSERT_TRUE(ParseWindowId("4294967295", id));
    EXPECT_EQ(id, 4294967295u);
    ASSERT_TRUE(ParseWindowId("0xffffffff", id));
    EXPECT_EQ(id, 4294967295u);
}

TEST(WindowId, RefusesAnythingElse) {
    unsigned long id = 77;
    for (const char* bad : {"", "0", "0x0", "0x", "12a", "-5", "+5", " 5", "5 ", "0x1g", "abc",
                            "4294967296", "0x100000000", "99999999999999999999999"}) {
        EXPECT_FALSE(ParseWindowId(bad, id)) << "'" << bad << "'";
    }
    EXPECT_FALSE(ParseWindowId(nullptr, id));
    EXPECT_EQ(id, 77u) << "a refused id leaves the old value";
}

TEST(Geometry, SizeAndPosition) {
    SaverOptions options;
    ASSERT_TRUE(ParseGeometry("640x480", options));
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    EXPECT_FALSE(options.positionGiven);
    ASSERT_TRUE(ParseGeometry("203X117+10+20", options));
    EXPECT_EQ(options.width, 203);
    EXPECT_EQ(options.height, 117);
    EXPECT_TRUE(options.positionGiven);
    EXPECT_EQ(options.x, 10);
    EXPECT_EQ(options.y, 20);
    ASSERT_TRUE(ParseGeometry("16384x1", options));
    EXPECT_EQ(options.width, 16384);
    EXPECT_EQ(options.height, 1);
    EXPECT_FALSE(options.positionGiven);
}

TEST(Geometry, RefusesMalformedOrOutOfRange) {
    SaverOptions options;
    for (const char* bad :
         {"", "640", "640x", "x480", "0x480", "640x0", "16385x1", "1x16385", "640x480+10",
          "640x480-0-0", "640x480+1+2junk", "640*480", "-640x480", "640 x 480"}) {
        EXPECT_FALSE(ParseGeometry(bad, options)) << "'" << bad << "'";
    }
    EXPECT_EQ(options.width, kDefaultWidth) << "a refused geometry leaves the size alone";
    EXPECT_EQ(options.height, kDefaultHeight);
}

TEST(WholeNumber, LimitsWithoutWrapping) {
    uint64_t value = 0;
    ASSERT_TRUE(ParseWholeNumber("18446744073709551615", 0, UINT64_MAX, value));
    EXPECT_EQ(value, UINT64_MAX);
    // One more than the largest 64-bit number must not wrap to 0.
    EXPECT_FALSE(ParseWholeNumber("18446744073709551616", 0, UINT64_MAX, value));
    EXPECT_FALSE(ParseWholeNumber("4294967296", 0, UINT32_MAX, value));
    EXPECT_FALSE(ParseWholeNumber("0", 1, 10, value));
    EXPECT_FALSE(ParseWholeNumber("11", 1, 10, value));
    EXPECT_FALSE(ParseWholeNumber("", 0, 10, value));
    EXPECT_FALSE(ParseWholeNumber("0x5", 0, 10, value));
    ASSERT_TRUE(ParseWholeNumber("007", 0, 10, value));
    EXPECT_EQ(value, 7u);
}

TEST(CommandLine, Defaults) {
    const Parsed parsed = Parse({});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.options.mode, ModeRequest::kNone);
    EXPECT_EQ(parsed.options.width, 1280);
    EXPECT_EQ(parsed.options.height, 720);
    EXPECT_EQ(parsed.options.community, -1);
    EXPECT_FALSE(parsed.options.seedGiven);
    EXPECT_EQ(parsed.options.ticks, -1);
    EXPECT_TRUE(parsed.options.snapshot.empty());
    EXPECT_FALSE(parsed.options.help);
    EXPECT_FALSE(parsed.options.version);
}

TEST(CommandLine, EveryOptionWithOneOrTwoDashes) {
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
    EXPECT_EQ(o.width, 203);
    EXPECT_EQ(o.height, 117);
    EXPECT_EQ(o.snapshot, "out.png");
    EXPECT_EQ(o.display, ":5");
    EXPECT_TRUE(o.help);
    EXPECT_TRUE(o.version);
    EXPECT_TRUE(o.openGl);
    EXPECT_FALSE(o.sharedMemory);
    EXPECT_TRUE(o.timings);
}

TEST(CommandLine, CommunityByIndexOrName) {
    EXPECT_EQ(Parse({"--community", "0"}).options.community, 0);
    EXPECT_EQ(Parse({"--community", "9"}).options.community, 9);
    EXPECT_EQ(Parse({"--community", "amorfwit"}).options.community, 0);
    EXPECT_EQ(Parse({"--community", "geo&vlekkensnel"}).options.community, 4);
    EXPECT_EQ(Parse({"--community=tegelswitzwart"}).options.community, 9);
    for (const char* bad : {"10", "-1", "Fel", "", "felx"}) {
        const Parsed parsed = Parse({"--community", bad});
        EXPECT_FALSE(parsed.ok) << "'" << bad << "'";
        EXPECT_NE(parsed.error.find("community"), std::string::npos) << parsed.error;
    }
}

TEST(CommandLine, SeedAndTicksRanges) {
    EXPECT_EQ(Parse({"--seed", "0"}).options.seed, 0u);
    EXPECT_TRUE(Parse({"--seed", "0"}).options.seedGiven);
    EXPECT_FALSE(Parse({"--seed", "4294967296"}).ok);
    EXPECT_FALSE(Parse({"--seed", "-1"}).ok);
    EXPECT_FALSE(Parse({"--seed", "1e3"}).ok);
    EXPECT_EQ(Parse({"--ticks", "9223372036854775807"}).options.ticks, INT64_MAX);
    EXPECT_FALSE(Parse({"--ticks", "9223372036854775808"}).ok);
    EXPECT_FALSE(Parse({"--ticks", "0"}).ok);
    EXPECT_FALSE(Parse({"--snapshot="}).ok);
}

TEST(CommandLine, TheLastModeWins) {
    EXPECT_EQ(Parse({"-root", "-window"}).options.mode, ModeRequest::kWindow);
    EXPECT_EQ(Parse({"--fullscreen", "-root"}).options.mode, ModeRequest::kRoot);
    EXPECT_EQ(Parse({"-window", "--fullscreen"}).options.mode, ModeRequest::kFullscreen);
    const Parsed parsed = Parse({"-root", "-window-id", "0x400001"});
    EXPECT_EQ(parsed.options.mode, ModeRequest::kWindowId);
    EXPECT_EQ(parsed.options.windowId, 0x400001u);
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
    SaverOptions options;
    SaverTarget target;
    std::string error;

    options.mode = ModeRequest::kWindow;
    ASSERT_TRUE(ResolveTarget(options, "0x200001", target, error));
    EXPECT_EQ(target.mode, TargetKind::kOwnWindow);

    options.mode = ModeRequest::kFullscreen;
    ASSERT_TRUE(ResolveTarget(options, "0x200001", target, error));
    EXPECT_EQ(target.mode, TargetKind::kFullscreen);

    options.mode = ModeRequest::kWindowId;
    options.windowId = 4242;
    ASSERT_TRUE(ResolveTarget(options, "0x200001", target, error));
    EXPECT_EQ(target.mode, TargetKind::kHostWindow);
    EXPECT_EQ(target.windowId, 4242u);
}

TEST(Target, TheEnvironmentNamesTheHostWindow) {
    SaverOptions options;
    SaverTarget target;
    std::string error;
    for (ModeRequest mode : {ModeRequest::kNone, ModeRequest::kRoot}) {
        options.mode = mode;
        ASSERT_TRUE(ResolveTarget(options, "0x200001", target, error));
        EXPECT_EQ(target.mode, TargetKind::kHostWindow);
        EXPECT_EQ(target.windowId, 0x200001u);
        ASSERT_TRUE(ResolveTarget(options, "2097153", target, error));
        EXPECT_EQ(target.windowId, 0x200001u);
    }
    options.mode = ModeRequest::kNone;
    ASSERT_TRUE(ResolveTarget(options, nullptr, target, error));
    EXPECT_EQ(target.mode, TargetKind::kOwnWindow);
    ASSERT_TRUE(ResolveTarget(options, "", target, error));
    EXPECT_EQ(target.mode, TargetKind::kOwnWindow);
    options.mode = ModeRequest::kRoot;
    ASSERT_TRUE(ResolveTarget(options, nullptr, target, error));
    EXPECT_EQ(target.mode, TargetKind::kRoot);

    options.mode = ModeRequest::kNone;
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
