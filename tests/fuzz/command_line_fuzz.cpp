// The Windows saver's command line and its window handle: no line may
// crash the parser or make it read past the line's end, with single-byte
// characters or with a double-byte character set; the mode, handle and exit
// code fit together as documented.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "saver/command_line.h"

using namespace tintwalk;
using fuzz::Check;

namespace {

// A double-byte character set as the platform steps it: a lead byte of
// 0x81 and above takes the next byte with it, unless that is the end.
const char* DoubleByteStep(const char* p) {
    if (*p == '\0')
        return p;
    if (static_cast<unsigned char>(*p) >= 0x81 && p[1] != '\0')
        return p + 2;
    return p + 1;
}

// Decimal digits up to the first non-digit, wrapping at 32 bits.
uint32_t ReferenceHandle(const char* text) {
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = (value * 10 + static_cast<uint64_t>(*text - '0')) % (uint64_t{1} << 32);
    return static_cast<uint32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the system family and the character set; the
    // rest is the line, which ends at its first zero byte.
    const bool olderFamily = (data[0] & 1) != 0;
    const CharStep step = (data[0] & 2) != 0 ? DoubleByteStep : nullptr;
    const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    const char* text = line.c_str();
    const size_t length = std::strlen(text);

    const char* arguments = SkipProgramName(text, step);
    Check(arguments >= text && arguments <= text + length, "the arguments lie within the line");
    const unsigned char first = static_cast<unsigned char>(*arguments);
    Check(first == 0 || first > ' ', "no blank or control character starts the arguments");

    Check(ParseWindowHandle(text) == ReferenceHandle(text), "the handle wraps at 32 bits");

    const SaverCommand command = ParseSaverCommand(arguments, olderFamily);
    const SaverCommand again = ParseSaverCommand(arguments, olderFamily);
    Check(command.mode == again.mode && command.windowHandle == again.windowHandle &&
              command.exitCode == again.exitCode,
          "parsing is deterministic");
    Check((command.mode == SaverMode::kUnrecognised) == (command.exitCode == kUnrecognisedExitCode),
          "only an unrecognised command has the unrecognised exit code");
    Check(command.mode == SaverMode::kUnrecognised || command.exitCode == 0,
          "a command that runs starts from exit code 0");
    Check(command.mode != SaverMode::kPreview || command.windowHandle != 0,
          "a preview has a window handle");
    Check(command.mode != SaverMode::kChangePassword || olderFamily,
          "only the older family changes the password");
    Check(command.windowHandle == 0 || command.mode == SaverMode::kPreview ||
              command.mode == SaverMode::kChangePassword,
          "only a preview or a password change carries a handle");
    return 0;
}
