// The Linux saver's command line and the choices made from it before any
// display is opened.
#include "saver/x11/options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

struct Parsed {
    bool ok;
    SaverOptions options;
    std::string error;
};

Parsed Parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv(arguments);
    Parsed p;
    p.ok = ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), p.options, p.error);
    return p;
}

TEST(Parsers, AcceptedAndRefusedValues) {
    unsigned long id = 0;
    for (const auto& [text, value] : {std::pair{"12345", 12345ul},
                                      {"0x1a00003", 27262979ul},
                                      {"0X1F", 31ul},
                                      {"4294967295", 4294967295ul},
                                      {"0xffffffff", 4294967295ul}})
        EXPECT_TRUE(ParseWindowId(text, id) && id == value) << text;
    for (const char* bad : {"", "0", "0x0", "0x", "12a", "-5", "+5", " 5", "5 ", "0x1g", "abc",
                            "4294967296", "0x100000000", "99999999999999999999999"})
        EXPECT_FALSE(ParseWindowId(bad, id)) << "'" << bad << "'";
    EXPECT_EQ(id, 4294967295u) << "a refused id leaves the old value";

    SaverOptions o;
    ASSERT_TRUE(ParseGeometry("203X117+10+20", o));
    EXPECT_EQ(std::vector({o.width, o.height, o.x, o.y, int{o.positionGiven}}),
              std::vector({203, 117, 10, 20, 1}));
    ASSERT_TRUE(ParseGeometry("16384x1", o));
    EXPECT_EQ(std::vector({o.width, o.height, int{o.positionGiven}}), std::vector({16384, 1, 0}));
    for (const char* bad :
         {"", "640", "640x", "x480", "0x480", "640x0", "16385x1", "1x16385", "640x480+10",
          "640x480-0-0", "640x480+1+2junk", "640*480", "-640x480", "640 x 480"})
        EXPECT_FALSE(ParseGeometry(bad, o)) << "'" << bad << "'";
    EXPECT_EQ(o.width, 16384) << "a refused geometry leaves the size alone";

    uint64_t value = 0;
    EXPECT_TRUE(ParseWholeNumber("18446744073709551615", 0, UINT64_MAX, value) &&
                value == UINT64_MAX);
    EXPECT_TRUE(ParseWholeNumber("007", 0, 10, value) && value == 7);
    // One past the largest 64-bit number must not wrap to 0.
    EXPECT_FALSE(ParseWholeNumber("18446744073709551616", 0, UINT64_MAX, value));
    EXPECT_FALSE(ParseWholeNumber("4294967296", 0, UINT32_MAX, value));
    for (const char* bad : {"0", "11", "", "0x5"})
        EXPECT_FALSE(ParseWholeNumber(bad, 1, 10, value)) << bad;
}

TEST(CommandLine, DefaultsAndEveryOptionWithOneOrTwoDashes) {
    const SaverOptions none = Parse({}).options;
    EXPECT_EQ(std::vector({int{none.mode == ModeRequest::kNone}, none.width, none.height,
                           none.community, int{none.seedGiven}, int(none.ticks)}),
              std::vector({1, 1280, 720, -1, 0, -1}));
    const Parsed parsed =
        Parse({"-window", "--community", "fel", "-seed", "4294967295", "--ticks=250", "-geometry",
               "203x117", "--snapshot", "out.png", "-display=:5", "--help", "-version", "--gl",
               "-no-shm", "--timings"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const SaverOptions& o = parsed.options;
    EXPECT_EQ(o.mode, ModeRequest::kWindow);
    EXPECT_EQ(std::vector<int64_t>({o.community, o.seed, o.ticks, o.width, o.height}),
              std::vector<int64_t>({5, 4294967295, 250, 203, 117}));
    EXPECT_TRUE(o.seedGiven && o.snapshot == "out.png" && o.display == ":5");
    EXPECT_TRUE(o.help && o.version && o.openGl && o.timings && !o.sharedMemory);
    EXPECT_EQ(Parse({"--community=tegelswitzwart"}).options.community, 9);
    EXPECT_EQ(Parse({"--community", "0"}).options.community, 0);
    EXPECT_EQ(Parse({"--ticks", "9223372036854775807"}).options.ticks, INT64_MAX);
    // The last mode wins.
    EXPECT_EQ(Parse({"-root", "-window"}).options.mode, ModeRequest::kWindow);
    EXPECT_EQ(Parse({"-window", "--fullscreen"}).options.mode, ModeRequest::kFullscreen);
    const SaverOptions id = Parse({"-root", "-window-id", "0x400001"}).options;
    EXPECT_TRUE(id.mode == ModeRequest::kWindowId && id.windowId == 0x400001u);
}

TEST(CommandLine, ClearErrors) {
    struct Case {
        std::initializer_list<const char*> arguments;
        const char* errorPart;
    };
    const Case cases[] = {
        {{"-window-id", "abc"}, "bad window id 'abc'"},
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
        {{"--ticks", "0"}, "tick count"},
        {{"--ticks", "9223372036854775808"}, "tick count"},
        {{"--snapshot="}, "snapshot"},
    };
    for (const auto& [arguments, errorPart] : cases) {
        const Parsed parsed = Parse(arguments);
        EXPECT_FALSE(parsed.ok) << errorPart;
        EXPECT_NE(parsed.error.find(errorPart), std::string::npos)
            << "'" << parsed.error << "' lacks '" << errorPart << "'";
    }
}

// Where the picture goes when the mode and XSCREENSAVER_WINDOW disagree (the
// end-to-end scripts drive the plain cases).
TEST(Target, ExplicitModesBeatTheEnvironment) {
    const struct {
        ModeRequest mode;
        const char* environment;
        TargetKind target;
        unsigned long windowId;  // checked unless 0
    } cases[] = {
        {ModeRequest::kFullscreen, "0x200001", TargetKind::kFullscreen, 0},
        {ModeRequest::kWindowId, "0x200001", TargetKind::kHostWindow, 4242},
        {ModeRequest::kRoot, "2097153", TargetKind::kHostWindow, 0x200001},
        {ModeRequest::kNone, "", TargetKind::kOwnWindow, 0},
    };
    SaverOptions options;
    options.windowId = 4242;
    SaverTarget target;
    std::string error;
    for (const auto& c : cases) {
        options.mode = c.mode;
        ASSERT_TRUE(ResolveTarget(options, c.environment, target, error));
        EXPECT_EQ(target.mode, c.target) << static_cast<int>(c.mode);
        EXPECT_TRUE(c.windowId == 0 || target.windowId == c.windowId) << static_cast<int>(c.mode);
    }
}

TEST(Choice, TheClockChoosesWhatTheCommandLineLeavesOpen) {
    struct Case {
        int32_t community;  // -1: not given
        bool seedGiven;
        int64_t now;
        int32_t row;
        uint32_t seed;
    };
    // Past 2038 and 32-bit seconds the seed is the low 32 bits (2^32 + 5).
    for (const Case& c : {Case{-1, false, 1700000003, 3, 1700000003},
                          {-1, false, 4294967301, 1, 5},
                          {7, false, 1700000003, 7, 1700000003},
                          {-1, true, 1700000008, 8, 0}}) {
        SaverOptions options;
        options.community = c.community;
        options.seedGiven = c.seedGiven;
        const PictureChoice choice = ChoosePicture(options, c.now);
        EXPECT_TRUE(choice.row == c.row && choice.seed == c.seed) << c.now;
    }
}

TEST(FrameClock, MissedTicksAreDroppedNotQueued) {
    // Period 13 ms from 1000 ms: due at 1013, 1026, ...; a frame ending at
    // 1050 missed 1026 and 1039; a clock before the start waits for it.
    for (const auto& [now, due] : {std::pair{1000, 1013},
                                   {1012, 1013},
                                   {1013, 1026},
                                   {1050, 1052},
                                   {2312, 2313},
                                   {990, 1000}})
        EXPECT_EQ(NextTickDue(1000, now, 13), due) << now;
}

TEST(Usage, NamesEveryOption) {
    for (const char* option :
         {"-window ", "-root ", "-window-id ID", "--fullscreen", "-geometry WxH",
          "--community N|NAME", "--seed S", "--ticks T", "--snapshot FILE.png", "-display NAME",
          "--help", "--version", "--gl", "--no-shm", "--timings"})
        EXPECT_NE(std::string(UsageText()).find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace tintwalk
