// The saver's command line: the program name the system puts first, then
// the mode letter, the window handle after it and the exit code when
// nothing can run.
#include "saver/command_line.h"

#include <gtest/gtest.h>

#include <utility>

namespace tintwalk {
namespace {

TEST(SkipProgramName, FindsWhereTheArgumentsStart) {
    const std::pair<const char*, const char*> cases[] = {
        {"tintwalk.scr /s", "/s"},
        {"C:\\WINDOWS\\TINTWALK.SCR /p 1234", "/p 1234"},
        {"tintwalk.scr", ""},
        {"", ""},
        {"\"C:\\Program Files\\tintwalk.scr\" /c", "/c"},
        {"\"a b.scr\"/s", "/s"},  // nothing needs to separate the two
        {"\"a b.scr /s", ""},     // an unclosed quote takes the whole line
        {"t.scr \t\x01\x1f  /s", "/s"},
        {"\"t.scr\"\t\t/p 7", "/p 7"},
        {"t\xe9l\xe9.scr /c", "/c"},  // high bytes are ordinary characters,
        {"t.scr \xa0/s", "\xa0/s"},   // not blanks
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_STREQ(SkipProgramName(line), arguments) << line;
}

// A double-byte code page in miniature: 0x81 leads a two-byte character, so
// the quote byte that follows it is no quote.
const char* StepDoubleByte(const char* text) {
    if (*text == '\0')
        return text;
    if (static_cast<unsigned char>(*text) == 0x81 && text[1] != '\0')
        return text + 2;
    return text + 1;
}

TEST(SkipProgramName, QuotedNameStepsWholeCharacters) {
    const char* line = "\"ab\x81\"c\" /s";
    EXPECT_STREQ(SkipProgramName(line, StepDoubleByte), "/s");
    // Stepped byte by byte, the trail byte closes the quote too early.
    EXPECT_STREQ(SkipProgramName(line), "c\" /s");
}

TEST(ParseWindowHandle, ReadsDecimalDigitsUpToTheFirstOtherAndWrapsAt32Bits) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"1234", 1234},    {"12ab", 12},      {"", 0},
        {":1234", 0},      {" 1234", 0},      {"4294967295", 4294967295u},
        {"4294967296", 0}, {"4294967297", 1}, {"10000000000", 1410065408u},  // 10^10 - 2 x 2^32
    };
    for (const auto& [text, handle] : cases)
        EXPECT_EQ(ParseWindowHandle(text), handle) << text;
}

TEST(ParseSaverCommand, ModeLettersHandlesAndExitCodes) {
    struct Case {
        const char* arguments;
        SaverMode mode;
        uint32_t handle;
        bool olderFamily;
    };
    using enum SaverMode;
    const Case cases[] = {
        {"", kConfigure, 0, false},
        {"/ - /", kConfigure, 0, false},
        {"/c", kConfigureForeground, 0, false},
        {"c:1234", kConfigureForeground, 0, false},
        {"/s", kFullScreen, 0, false},
        {"-S", kFullScreen, 0, false},
        {"/saver", kFullScreen, 0, false},
        {"--//  s", kFullScreen, 0, false},
        {"/p 1234", kPreview, 1234, false},
        {"-P1234", kPreview, 1234, false},
        {"/L   77 88", kPreview, 77, false},
        {"/p 4294967297", kPreview, 1, false},
        {"/p 0", kUnrecognised, 0, false},
        {"/p", kUnrecognised, 0, false},
        {"/p:1234", kUnrecognised, 0, false},   // the colon stops the number
        {"/p\t1234", kUnrecognised, 0, false},  // only blanks are skipped
        {"/p 4294967296", kUnrecognised, 0, false},
        {"/x", kUnrecognised, 0, false},
        {"/1", kUnrecognised, 0, false},
        {"/\ts", kUnrecognised, 0, false},
        {"\xe9", kUnrecognised, 0, false},
        {"/a 1234", kUnrecognised, 0, false},
        {"/a 1234", kChangePassword, 1234, true},
        {"a:5", kChangePassword, 0, true},
        {"/p 9", kPreview, 9, true},
    };
    for (const Case& c : cases) {
        const SaverCommand command = ParseSaverCommand(c.arguments, c.olderFamily);
        EXPECT_EQ(command.mode, c.mode) << '"' << c.arguments << '"';
        EXPECT_EQ(command.windowHandle, c.handle) << '"' << c.arguments << '"';
        EXPECT_EQ(command.exitCode, c.mode == kUnrecognised ? -1 : 0) << '"' << c.arguments << '"';
    }
}

}  // namespace
}  // namespace tintwalk
