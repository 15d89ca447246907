// Every parser of outside input; TINTWALK_FUZZ_TARGET names the function
// below that a fuzzer feeds. No input may crash a parser or read out of
// bounds; what it accepts lies in its range, a refusal explains itself.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "cli/decimal.h"
#include "render/render_options.h"
#include "saver/command_line.h"
#include "saver/settings_value.h"
#include "saver/x11/options.h"

namespace tintwalk::fuzz {

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Holds a number parser's answer for `text` to the reference: a whole number
// from `low` to `high` of decimal digits only, or with `hex` also of
// hexadecimal digits after 0x.
void CheckNumber(std::string text, bool parsed, uint64_t value, uint64_t low, uint64_t high,
                 bool hex) {
    const bool prefixed = hex && text.size() > 2 && text[0] == '0' && (text[1] | 0x20) == 'x';
    if (prefixed)
        text.erase(0, 2);
    errno = 0;
    const uint64_t reference = std::strtoull(text.c_str(), nullptr, prefixed ? 16 : 10);
    const bool valid = !text.empty() && errno != ERANGE && reference >= low && reference <= high &&
                       text.find_first_not_of(prefixed ? "0123456789abcdefABCDEF" : "0123456789") ==
                           std::string::npos;
    Check(parsed == valid && (!parsed || value == reference), "a number parser errs");
}

// The renderer's and the Linux saver's command lines, the input cut at every
// zero byte into arguments (the last doubling as $XSCREENSAVER_WINDOW), and
// each argument as every number that they read.
void OptionsTarget(const uint8_t* data, size_t size) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> arguments;
    std::vector<const char*> argv;
    for (std::string piece; std::getline(input, piece, '\0');)
        arguments.push_back(piece);
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());

    RenderOptions r;
    std::string error;
    const bool rendered = ParseRenderOptions(arguments, r, error);
    Check(rendered ? r.width >= 1 && r.width <= kMaxPictureSide && r.height >= 1 &&
                         r.height <= kMaxPictureSide && r.row >= -1 && r.row <= 9 &&
                         r.ticks <= UINT32_MAX && !r.output.empty()
                   : !error.empty(),
          "renderer options out of range, or a refusal unexplained");
    SaverOptions o;
    error.clear();
    const bool saved = ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), o, error);
    Check(saved ? o.width >= 1 && o.width <= kMaxSide && o.height >= 1 && o.height <= kMaxSide &&
                      o.x >= 0 && o.x <= kMaxSide && o.y >= 0 && o.y <= kMaxSide &&
                      (o.positionGiven || (o.x == 0 && o.y == 0)) && o.community >= -1 &&
                      o.community <= 9 && (o.ticks == -1 || o.ticks >= 1)
                : !error.empty(),
          "saver options out of range, or a refusal unexplained");
    SaverTarget target;
    if (saved && !ResolveTarget(o, argv.empty() ? nullptr : argv.back(), target, error))
        Check(!error.empty(), "a refused host window explains itself");

    for (const std::string& text : arguments) {
        uint64_t value = 0;
        unsigned long id = 0;
        for (const uint64_t high : {uint64_t{kMaxSide}, uint64_t{UINT32_MAX}, UINT64_MAX}) {
            const bool decimal = ParseDecimal(text, high, value);
            CheckNumber(text, decimal, value, 0, high, false);
        }
        const bool taken = ParseWindowId(text.c_str(), id);
        CheckNumber(text, taken, id, 1, UINT32_MAX, true);
    }
}

// A double-byte character set as the platform steps it: a lead byte of
// 0x81 and above takes the next byte with it, unless that is the end.
const char* DoubleByteStep(const char* p) {
    if (*p == '\0')
        return p;
    return static_cast<unsigned char>(*p) >= 0x81 && p[1] != '\0' ? p + 2 : p + 1;
}

// The first byte chooses the system family and the character set; the rest
// is the line, which ends at its first zero byte.
void CommandLineTarget(const uint8_t* data, size_t size) {
    if (size == 0)
        return;
    const bool olderFamily = (data[0] & 1) != 0;
    const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    const char* text = line.c_str();
    const char* arguments = SkipProgramName(text, (data[0] & 2) != 0 ? DoubleByteStep : nullptr);
    Check(arguments >= text && arguments <= text + std::strlen(text) &&
              (*arguments == 0 || static_cast<unsigned char>(*arguments) > ' '),
          "the arguments lie past the program name, within the line");

    uint64_t handle = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        handle = (handle * 10 + static_cast<uint64_t>(*p - '0')) % (uint64_t{1} << 32);
    Check(ParseWindowHandle(text) == handle, "the handle wraps at 32 bits");

    // Only an unrecognised command has an exit code of its own; only a
    // preview (always) and a password change (on the older family) a handle.
    const SaverCommand c = ParseSaverCommand(arguments, olderFamily);
    Check(c.exitCode == (c.mode == SaverMode::kUnrecognised ? kUnrecognisedExitCode : 0) &&
              (c.mode != SaverMode::kPreview || c.windowHandle != 0) &&
              (c.mode != SaverMode::kChangePassword || olderFamily) &&
              (c.windowHandle == 0 || c.mode == SaverMode::kPreview ||
               c.mode == SaverMode::kChangePassword),
          "the command's mode, handle and exit code do not fit");
}

// Up to four bytes are taken whole, least significant first; longer values
// leave the speed as it was.
void SettingsValueTarget(const uint8_t* data, size_t size) {
    int32_t speed = 49;
    const bool taken = SpeedFromStoredBytes(data, size, speed);
    uint32_t whole = 0;
    for (size_t i = size; i-- > 0;)
        whole = whole << 8 | data[i];
    Check(taken == (size <= 4) && speed == (taken ? static_cast<int32_t>(whole) : 49),
          "the speed is not the value taken whole, nor left alone");
}

}  // namespace tintwalk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tintwalk::fuzz::TINTWALK_FUZZ_TARGET(data, size);
    return 0;
}
