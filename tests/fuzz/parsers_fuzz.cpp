// Every parser of outside input, one per fuzzer: the build names in
// TINTWALK_FUZZ_TARGET the function below that a binary feeds. No input may
// crash a parser or make it read out of bounds; what it accepts lies in its
// documented range, a refusal explains itself, and the number parsers agree
// with the reference here.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// The input cut at every zero byte: the fuzzer chooses the arguments and
// their number.
std::vector<std::string> SplitArguments(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    for (size_t start = 0; size != 0 && start <= size;) {
        const size_t end = std::min(text.find('\0', start), size);
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

// `text` as a whole number from `low` to `high`: decimal digits only, or
// with `hex` also hexadecimal digits after 0x.
bool Reference(std::string text, uint64_t low, uint64_t high, bool hex, uint64_t& value) {
    const bool prefixed = hex && text.size() > 2 && text[0] == '0' && (text[1] | 0x20) == 'x';
    if (prefixed)
        text.erase(0, 2);
    const char* digits = prefixed ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.empty() || text.find_first_not_of(digits) != std::string::npos)
        return false;
    errno = 0;
    value = std::strtoull(text.c_str(), nullptr, prefixed ? 16 : 10);
    return errno != ERANGE && value >= low && value <= high;
}

void CheckNumber(bool parsed, uint64_t value, bool expected, uint64_t reference) {
    Check(parsed == expected && (!parsed || value == reference), "a number parser errs");
}

void RenderOptionsTarget(const uint8_t* data, size_t size) {
    const std::vector<std::string> arguments = SplitArguments(data, size);
    RenderOptions options;
    std::string error;
    if (ParseRenderOptions(arguments, options, error)) {
        Check(options.width >= 1 && options.width <= kMaxRenderSide && options.height >= 1 &&
                  options.height <= kMaxRenderSide && options.row >= -1 && options.row <= 9 &&
                  options.ticks <= UINT32_MAX && !options.output.empty(),
              "the options lie in their ranges");
    } else {
        Check(!error.empty(), "a refused command line explains itself");
    }
    for (const std::string& text : arguments) {
        for (const uint64_t high : {uint64_t{kMaxRenderSide}, UINT64_MAX}) {
            uint64_t value = 0;
            uint64_t reference = 0;
            const bool parsed = ParseDecimal(text, high, value);
            CheckNumber(parsed, value, Reference(text, 0, high, false, reference), reference);
        }
    }
}

void X11OptionsTarget(const uint8_t* data, size_t size) {
    const std::vector<std::string> arguments = SplitArguments(data, size);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    SaverOptions options;
    std::string error;
    if (!ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
        Check(!error.empty(), "a refused command line explains itself");
    } else {
        Check(options.width >= 1 && options.width <= kMaxSide && options.height >= 1 &&
                  options.height <= kMaxSide && options.x >= 0 && options.x <= kMaxSide &&
                  options.y >= 0 && options.y <= kMaxSide && options.community >= -1 &&
                  options.community <= 9 && (options.ticks == -1 || options.ticks >= 1),
              "the options lie in their ranges");
        Check(options.positionGiven || (options.x == 0 && options.y == 0), "a position unasked");
        Check(options.mode != ModeRequest::kWindowId ||
                  (options.windowId >= 1 && options.windowId <= UINT32_MAX),
              "a -window-id is 1..2^32 - 1");
        // The last argument doubles as $XSCREENSAVER_WINDOW.
        SaverTarget target;
        const bool resolved =
            ResolveTarget(options, argv.empty() ? nullptr : argv.back(), target, error);
        Check(resolved ? target.mode != TargetKind::kHostWindow || target.windowId != 0
                       : !error.empty(),
              "a host window has an id");
    }
    for (const std::string& text : arguments) {
        unsigned long id = 0;
        uint64_t value = 0;
        uint64_t reference = 0;
        const bool parsed = ParseWindowId(text.c_str(), id);
        CheckNumber(parsed, id, Reference(text, 1, UINT32_MAX, true, reference), reference);
        for (const uint64_t high : {uint64_t{kMaxSide}, uint64_t{INT64_MAX}}) {
            const bool whole = ParseWholeNumber(text.c_str(), 1, high, value);
            CheckNumber(whole, value, Reference(text, 1, high, false, reference), reference);
        }
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
    Check(arguments >= text && arguments <= text + std::strlen(text), "arguments past the line");
    Check(*arguments == 0 || static_cast<unsigned char>(*arguments) > ' ', "a blank starts them");

    uint64_t handle = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        handle = (handle * 10 + static_cast<uint64_t>(*p - '0')) % (uint64_t{1} << 32);
    Check(ParseWindowHandle(text) == handle, "the handle wraps at 32 bits");

    const SaverCommand command = ParseSaverCommand(arguments, olderFamily);
    const bool unrecognised = command.mode == SaverMode::kUnrecognised;
    Check(command.exitCode == (unrecognised ? kUnrecognisedExitCode : 0), "a wrong exit code");
    Check(command.mode != SaverMode::kPreview || command.windowHandle != 0,
          "a preview lacks a handle");
    Check(command.mode != SaverMode::kChangePassword || olderFamily, "a newer system's password");
    Check(command.windowHandle == 0 || command.mode == SaverMode::kPreview ||
              command.mode == SaverMode::kChangePassword,
          "only a preview or a password change carries a handle");
}

// Up to four bytes are taken whole, least significant first; longer values
// leave the speed as it was.
void SettingsValueTarget(const uint8_t* data, size_t size) {
    int32_t speed = 49;
    const bool taken = SpeedFromStoredBytes(data, size, speed);
    uint32_t expected = 49;
    if (size <= 4) {
        expected = 0;
        for (size_t i = size; i-- > 0;)
            expected = expected << 8 | data[i];
    }
    Check(taken == (size <= 4) && speed == static_cast<int32_t>(expected), "the speed is wrong");
}

}  // namespace tintwalk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tintwalk::fuzz::TINTWALK_FUZZ_TARGET(data, size);
    return 0;
}
