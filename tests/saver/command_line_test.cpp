// The saver's command line: the program name the system puts first, then
// the mode letter, the window handle after it and the exit code when
// nothing can run.
#include "saver/command_line.h"

#include <gtest/gtest.h>

namespace tintwalk {
namespace {

TEST(SkipProgramName, UnquotedNameEndsAtTheFirstBlank) {
    EXPECT_STREQ(SkipProgramName("tintwalk.scr /s"), "/s");
    EXPECT_STREQ(SkipProgramName("C:\\WINDOWS\\TINTWALK.SCR /p 1234"), "/p 1234");
    EXPECT_STREQ(SkipProgramName("tintwalk.scr"), "");
    EXPECT_STREQ(SkipProgramName(""), "");
}

TEST(SkipProgramName, QuotedNameRunsToTheClosingQuote) {
    EXPECT_STREQ(SkipProgramName("\"C:\\Program Files\\tintwalk.scr\" /c"), "/c");
    // Nothing needs to separate the name from the arguments.
    EXPECT_STREQ(SkipProgramName("\"a b.scr\"/s"), "/s");
    // An unclosed quote takes the whole line.
    EXPECT_STREQ(SkipProgramName("\"a b.scr /s"), "");
}

TEST(SkipProgramName, SkipsBlanksAndControlCharactersAfterTheName) {
    EXPECT_STREQ(SkipProgramName("t.scr \t\x01\x1f  /s"), "/s");
    EXPECT_STREQ(SkipProgramName("\"t.scr\"\t\t/p 7"), "/p 7");
}

TEST(SkipProgramName, HighBytesAreOrdinaryCharacters) {
    // Part of the name...
    EXPECT_STREQ(SkipProgramName("t\xe9l\xe9.scr /c"), "/c");
    // ...and not skipped as blanks after it.
    EXPECT_STREQ(SkipProgramName("t.scr \xa0/s"), "\xa0/s");
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

TEST(ParseWindowHandle, ReadsDecimalDigitsUpToTheFirstOther) {
    EXPECT_EQ(ParseWindowHandle("1234"), 1234u);
    EXPECT_EQ(ParseWindowHandle("12ab"), 12u);
    EXPECT_EQ(ParseWindowHandle("0042"), 42u);
    EXPECT_EQ(ParseWindowHandle(""), 0u);
    EXPECT_EQ(ParseWindowHandle(":1234"), 0u);
    EXPECT_EQ(ParseWindowHandle(" 1234"), 0u);
}

TEST(ParseWindowHandle, WrapsAt32Bits) {
    EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
    EXPECT_EQ(ParseWindowHandle("4294967297"), 1u);
    // 10^10 - 2 x 2^32
    EXPECT_EQ(ParseWindowHandle("10000000000"), 1410065408u);
}

void ExpectCommand(const char* arguments, SaverMode mode, uint32_t handle = 0,
                   bool olderFamily = false) {
    const SaverCommand command = ParseSaverCommand(arguments, olderFamily);
    EXPECT_EQ(command.mode, mode) << '"' << arguments << '"';
    EXPECT_EQ(command.windowHandle, handle) << '"' << arguments << '"';
    EXPECT_EQ(command.exitCode, mode == SaverMode::kUnrecognised ? -1 : 0)
        << '"' << arguments << '"';
}

TEST(ParseSaverCommand, NothingOrOnlySeparatorsOpensTheDialogWithoutParent) {
    ExpectCommand("", SaverMode::kConfigure);
    ExpectCommand("   ", SaverMode::kConfigure);
    ExpectCommand("/ - /", SaverMode::kConfigure);
}

TEST(ParseSaverCommand, LetterCOpensTheDialogAndIgnoresTheRest) {
    ExpectCommand("/c", SaverMode::kConfigureForeground);
    ExpectCommand("-C", SaverMode::kConfigureForeground);
    ExpectCommand("c:1234", SaverMode::kConfigureForeground);
    ExpectCommand("/c 1234", SaverMode::kConfigureForeground);
}

TEST(ParseSaverCommand, LetterSRunsFullScreen) {
    ExpectCommand("/s", SaverMode::kFullScreen);
    ExpectCommand("-S", SaverMode::kFullScreen);
    ExpectCommand("s", SaverMode::kFullScreen);
    ExpectCommand("/saver", SaverMode::kFullScreen);
    ExpectCommand("--//  s", SaverMode::kFullScreen);
}

TEST(ParseSaverCommand, LettersPAndLRunAPreviewInTheGivenWindow) {
    ExpectCommand("/p 1234", SaverMode::kPreview, 1234);
    ExpectCommand("/l 1234", SaverMode::kPreview, 1234);
    ExpectCommand("-P1234", SaverMode::kPreview, 1234);
    ExpectCommand("/L   77 88", SaverMode::kPreview, 77);
    ExpectCommand("/p 4294967297", SaverMode::kPreview, 1);
}

TEST(ParseSaverCommand, PreviewWithoutAHandleIsUnrecognised) {
    ExpectCommand("/p 0", SaverMode::kUnrecognised);
    ExpectCommand("/p", SaverMode::kUnrecognised);
    // The colon stops the number before it starts.
    ExpectCommand("/p:1234", SaverMode::kUnrecognised);
    // Only blanks are skipped after the letter.
    ExpectCommand("/p\t1234", SaverMode::kUnrecognised);
    ExpectCommand("/p 4294967296", SaverMode::kUnrecognised);
}

TEST(ParseSaverCommand, OtherCharactersAreUnrecognised) {
    ExpectCommand("/x", SaverMode::kUnrecognised);
    ExpectCommand("/1", SaverMode::kUnrecognised);
    ExpectCommand("/\ts", SaverMode::kUnrecognised);
    ExpectCommand("\xe9", SaverMode::kUnrecognised);
    ExpectCommand("?", SaverMode::kUnrecognised);
}

TEST(ParseSaverCommand, LetterAChangesThePasswordOnlyOnTheOlderFamily) {
    ExpectCommand("/a 1234", SaverMode::kUnrecognised);
    ExpectCommand("-A", SaverMode::kUnrecognised);
    ExpectCommand("/a 1234", SaverMode::kChangePassword, 1234, true);
    ExpectCommand("/A", SaverMode::kChangePassword, 0, true);
    ExpectCommand("a:5", SaverMode::kChangePassword, 0, true);
    // The older family reads every other letter the same way.
    ExpectCommand("/s", SaverMode::kFullScreen, 0, true);
    ExpectCommand("/p 9", SaverMode::kPreview, 9, true);
}

}  // namespace
}  // namespace tintwalk
