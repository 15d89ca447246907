// The platform-neutral parts of the saver shell: the command line (program
// name, mode letter, window handle, exit code) and what decides a close
// without asking the system (pointer travel, password retry).
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "saver/command_line.h"
#include "saver/password_retry.h"
#include "saver/pointer_travel.h"

namespace tintwalk {
namespace {

// Nothing needs to separate a quoted name from the arguments; an unclosed
// quote takes the whole line; high bytes are ordinary characters, not blanks.
TEST(SkipProgramName, FindsWhereTheArgumentsStart) {
    const std::pair<const char*, const char*> cases[] = {
        {"tintwalk.scr /s", "/s"},
        {"tintwalk.scr", ""},
        {"", ""},
        {"\"C:\\Program Files\\tintwalk.scr\" /c", "/c"},
        {"\"a b.scr\"/s", "/s"},
        {"\"a b.scr /s", ""},
        {"t.scr \t\x01\x1f  /s", "/s"},
        {"t\xe9l\xe9.scr /c", "/c"},
        {"t.scr \xa0/s", "\xa0/s"}};
    for (const auto& [line, arguments] : cases)
        EXPECT_STREQ(SkipProgramName(line), arguments) << line;
    // A double-byte code page in miniature: 0x81 leads a two-byte character,
    // whose trail byte is no quote, unless stepped byte by byte.
    const auto step = [](const char* text) {
        return text + (*text == '\0' ? 0 : *text == '\x81' && text[1] != '\0' ? 2 : 1);
    };
    EXPECT_STREQ(SkipProgramName("\"ab\x81\"c\" /s", step), "/s");
    EXPECT_STREQ(SkipProgramName("\"ab\x81\"c\" /s"), "c\" /s");
}

TEST(ParseSaverCommand, ModeLettersHandlesAndExitCodes) {
    using enum SaverMode;
    // Arguments and the mode they choose. After the letter only blanks are
    // skipped; the handle ends at the first other character.
    const std::pair<SaverMode, std::vector<const char*>> modes[] = {
        {kConfigure, {"", "/ - /"}},
        {kConfigureForeground, {"/c", "c:1234"}},
        {kFullScreen, {"/s", "-S", "/saver", "--//  s"}},
        {kUnrecognised,
         {"/p 0", "/p", "/p:1234", "/p\t1234", "/p 4294967296", "/x", "/1", "/\ts", "\xe9",
          "/a 1234"}},
        {kPreview, {"/p 1234", "-P1234", "/L   1234 88", "/p 4294968530"}}};  // 2^32 + 1234
    for (const auto& [mode, list] : modes) {
        for (const char* arguments : list) {
            const SaverCommand command = ParseSaverCommand(arguments, false);
            EXPECT_EQ(command.mode, mode) << '"' << arguments << '"';
            EXPECT_EQ(command.windowHandle, mode == kPreview ? 1234u : 0u) << arguments;
            EXPECT_EQ(command.exitCode, mode == kUnrecognised ? -1 : 0) << arguments;
        }
    }
    // The older family also changes the password.
    for (const auto& [arguments, mode, handle] : {std::tuple{"/a 1234", kChangePassword, 1234u},
                                                  {"a:5", kChangePassword, 0u},
                                                  {"/p 9", kPreview, 9u}}) {
        const SaverCommand command = ParseSaverCommand(arguments, true);
        EXPECT_EQ(command.mode, mode) << arguments;
        EXPECT_EQ(command.windowHandle, handle) << arguments;
    }
}

// From (x, y) to (x, y) and the travel; from corner to corner it is
// (2^32 - 1) x 2 = 2^33 - 2, kept in 32 bits.
TEST(PointerTravel, FourPixelsInTotalAreToleratedAFifthWakes) {
    const int64_t cases[][5] = {
        {640, 512, 642, 514, 4}, {640, 512, 643, 514, 5},
        {640, 512, 636, 512, 4}, {640, 512, 640, 507, 5},
        {-10, 20, 10, -20, 60},  {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 4294967294}};
    for (const auto& [x0, y0, x1, y1, travel] : cases) {
        const PointerPosition from = {int32_t(x0), int32_t(y0)}, to = {int32_t(x1), int32_t(y1)};
        EXPECT_EQ(PointerTravel(from, to), travel) << x1 << "," << y1;
        EXPECT_EQ(PointerTravelWakes(from, to), travel > 4) << x1 << "," << y1;
    }
}

// Last verify, now, and whether to ask again; 0xFFFFFF9C is 100 ms before
// the tick count wraps.
TEST(VerifyRetry, AsksFirstThenAfter200MillisecondsAcrossTheTickWrap) {
    const uint32_t cases[][3] = {{kNeverVerified, 0, 1}, {kNeverVerified, 0xFFFFFFFFu, 1},
                                 {1000, 1000, 0},        {1000, 1199, 0},
                                 {1000, 1200, 1},        {1000, 90000, 1},
                                 {0xFFFFFF9Cu, 99, 0},   {0xFFFFFF9Cu, 100, 1}};
    for (const auto& [last, now, due] : cases)
        EXPECT_EQ(VerifyRetryDue(last, now), due == 1) << last << " " << now;
}

}  // namespace
}  // namespace tintwalk
