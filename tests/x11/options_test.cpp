// The Linux saver's command line, and its frame clock.
#include "saver/x11/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tintwalk {
namespace {

// The options as one line: mode, window id, geometry, community, seed,
// ticks, [snapshot], [display], then gl, shm, timings, help and version.
std::string Fields(const SaverOptions& o) {
    const char* modes[] = {"none", "root", "window", "window-id", "fullscreen"};
    std::ostringstream s;
    s << modes[static_cast<int>(o.mode)] << ' ' << o.windowId << ' ' << o.width << 'x' << o.height;
    if (o.positionGiven)
        s << '+' << o.x << '+' << o.y;
    s << ' ' << o.community << ' ' << (o.seedGiven ? std::to_string(o.seed) : "clock") << ' '
      << o.ticks << " [" << o.snapshot << "] [" << o.display << "] " << o.openGl << o.sharedMemory
      << o.timings << o.help << o.version;
    return s.str();
}

// Accepted command lines with what they set (one or two dashes, "=" or a
// separate value, the last mode wins); refusals with a part of the message.
TEST(CommandLine, AcceptedAndRefusedValues) {
    const std::pair<std::vector<const char*>, const char*> accepted[] = {
        {{}, "none 0 1280x720 -1 clock -1 [] [] 01000"},
        {{"-window", "--community", "fel", "-seed", "4294967295", "--ticks=250", "-geometry",
          "203X117+10+20", "--snapshot", "out.png", "-display=:5", "--gl", "-no-shm", "--timings"},
         "window 0 203x117+10+20 5 4294967295 250 [out.png] [:5] 10100"},
        {{"-root", "-window-id", "0x1a00003", "--community=tegelswitzwart", "-geometry", "16384x1"},
         "window-id 27262979 16384x1 9 clock -1 [] [] 01000"},
        {{"-window-id", "4294967295", "--fullscreen", "--community", "0", "--seed", "007"},
         "fullscreen 4294967295 1280x720 0 7 -1 [] [] 01000"},
        {{"-window-id", "0X1F", "--ticks", "9223372036854775807", "--help", "-version"},
         "window-id 31 1280x720 -1 clock 9223372036854775807 [] [] 01011"},
    };
    for (const auto& [arguments, expected] : accepted) {
        SaverOptions options;
        std::string error;
        EXPECT_TRUE(ParseSaverOptions(int(arguments.size()), arguments.data(), options, error))
            << error;
        EXPECT_EQ(Fields(options), expected) << ::testing::PrintToString(arguments);
    }
    const std::pair<std::vector<const char*>, const char*> refused[] = {
        {{"-window-id", "0"}, "bad window id '0'"},
        {{"-window-id", "0x100000000"}, "bad window id"},
        {{"-window-id", "0x1g"}, "bad window id"},
        {{"picture.png"}, "unexpected argument 'picture.png'"},
        {{"-geometry", "640x"}, "bad geometry '640x'"},
        {{"-geometry", "16385x1"}, "bad geometry"},
        {{"-geometry", "640x480+10"}, "bad geometry"},
        {{"--community", "10"}, "unknown community '10' (an index 0..9 or a name"},
        {{"--seed", "4294967296"}, "seed '4294967296' is not a whole number from 0 to"},
        {{"--ticks", "0"}, "tick count"},
        {{"--ticks", "18446744073709551616"}, "tick count"},     // 2^64 must not wrap to 0
        {{"--snapshot="}, "option '--snapshot' needs a value"},  // the renderer's words
        {{"--seed", "--ticks", "5"}, "option '--seed' needs a value"},
        {{"-root=yes"}, "option '-root' takes no value"},
        {{"--bogus"}, "unknown option '--bogus'"},
    };
    for (const auto& [arguments, errorPart] : refused) {
        SaverOptions options;
        std::string error;
        EXPECT_FALSE(ParseSaverOptions(int(arguments.size()), arguments.data(), options, error));
        EXPECT_NE(error.find(errorPart), std::string::npos) << error << " lacks " << errorPart;
    }
}

TEST(FrameClock, MissedTicksAreDroppedNotQueued) {
    // Period 13 ms from 1000 ms: due at 1013, 1026, ...; a frame ending at
    // 1050 missed 1026 and 1039; a clock before the start waits for it.
    for (const auto& [now, due] :
         {std::pair{1000, 1013}, {1013, 1026}, {1050, 1052}, {2312, 2313}, {990, 1000}})
        EXPECT_EQ(NextTickDue(1000, now, 13), due) << now;
}

}  // namespace
}  // namespace tintwalk
