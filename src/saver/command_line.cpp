#include "saver/command_line.h"

#include <string_view>

#include "cli/decimal.h"

namespace tintwalk {

namespace {

const char* NextByte(const char* text) {
    return *text != '\0' ? text + 1 : text;
}

// Blanks and control characters, 0x01 to 0x20; the terminator is not one.
bool IsBlankOrControl(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x01 && u <= 0x20;
}

const char* SkipBlanks(const char* text) {
    while (*text == ' ')
        ++text;
    return text;
}

}  // namespace

const char* SkipProgramName(const char* line, CharStep step) {
    if (step == nullptr)
        step = NextByte;
    const char* p = line;
    if (*p == '"') {
        p = step(p);
        while (*p != '\0' && *p != '"')
            p = step(p);
        if (*p == '"')
            p = step(p);
    } else {
        while (static_cast<unsigned char>(*p) > ' ')
            p = step(p);
    }
    while (IsBlankOrControl(*p))
        ++p;
    return p;
}

uint32_t ParseWindowHandle(const char* text) {
    // The digits read modulo 2^64 are the same modulo 2^32.
    std::string_view digits = text;
    uint64_t value = 0;
    ReadDigits(digits, UINT64_MAX, value);
    return static_cast<uint32_t>(value);
}

SaverCommand ParseSaverCommand(const char* arguments, bool olderFamily) {
    const SaverCommand unrecognised = {SaverMode::kUnrecognised, 0, kUnrecognisedExitCode};
    for (const char* p = arguments;; ++p) {
        switch (*p) {
            case ' ':
            case '-':
            case '/':
                continue;
            case '\0':
                return {SaverMode::kConfigure, 0, 0};
            case 'A':
            case 'a':
                if (!olderFamily)
                    return unrecognised;
                return {SaverMode::kChangePassword, ParseWindowHandle(SkipBlanks(p + 1)), 0};
            case 'C':
            case 'c':
                return {SaverMode::kConfigureForeground, 0, 0};
            case 'L':
            case 'l':
            case 'P':
            case 'p': {
                const uint32_t handle = ParseWindowHandle(SkipBlanks(p + 1));
                if (handle == 0)
                    return unrecognised;
                return {SaverMode::kPreview, handle, 0};
            }
            case 'S':
            case 's':
                return {SaverMode::kFullScreen, 0, 0};
            default:
                return unrecognised;
        }
    }
}

}  // namespace tintwalk
