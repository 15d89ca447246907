// The Linux saver's command line, window ids (from -window-id and from
// $XSCREENSAVER_WINDOW) and -geometry: no input may crash them or read out
// of bounds; what they accept lies in its documented range; the number
// parsers agree with a plain reference.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "saver/x11/options.h"

using namespace tintwalk;
using fuzz::Check;

namespace {

// A window id as documented: decimal, or hexadecimal after 0x; 1 to 2^32 - 1.
bool ReferenceWindowId(const std::string& text, uint64_t& id) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string digits = text.substr(2);
        if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        const size_t first = digits.find_first_not_of('0');
        if (first != std::string::npos && digits.size() - first > 8)
            return false;
        id = std::strtoull(digits.c_str(), nullptr, 16);
    } else if (!fuzz::ReferenceDecimal(text, UINT32_MAX, id)) {
        return false;
    }
    return id != 0;
}

void CheckOneArgument(const std::string& text) {
    unsigned long id = 0;
    uint64_t expected = 0;
    const bool parsed = ParseWindowId(text.c_str(), id);
    Check(parsed == ReferenceWindowId(text, expected), "ParseWindowId accepts what it documents");
    Check(!parsed || id == expected, "ParseWindowId gives the documented value");

    for (const uint64_t high : {uint64_t{kMaxSide}, uint64_t{UINT32_MAX}, uint64_t{INT64_MAX}}) {
        uint64_t value = 0;
        const bool whole = ParseWholeNumber(text.c_str(), 1, high, value);
        const bool reference = fuzz::ReferenceDecimal(text, high, expected) && expected >= 1;
        Check(whole == reference, "ParseWholeNumber accepts what the reference does");
        Check(!whole || value == expected, "ParseWholeNumber gives the reference's value");
    }

    SaverOptions options;
    if (ParseGeometry(text.c_str(), options)) {
        Check(options.width >= 1 && options.width <= kMaxSide && options.height >= 1 &&
                  options.height <= kMaxSide,
              "a parsed geometry has sides of 1..kMaxSide");
        Check(options.x >= 0 && options.x <= kMaxSide && options.y >= 0 && options.y <= kMaxSide,
              "a parsed geometry has a position of 0..kMaxSide");
        Check(options.positionGiven || (options.x == 0 && options.y == 0),
              "no position without +X+Y");
    } else {
        const SaverOptions untouched;
        Check(options.width == untouched.width && options.height == untouched.height &&
                  options.positionGiven == untouched.positionGiven,
              "a refused geometry changes nothing");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> arguments = fuzz::SplitArguments(data, size);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());

    SaverOptions options;
    std::string error;
    if (ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
        Check(options.width >= 1 && options.width <= kMaxSide && options.height >= 1 &&
                  options.height <= kMaxSide,
              "the window size lies in 1..kMaxSide");
        Check(options.community >= -1 && options.community <= 9, "the community is -1 or 0..9");
        Check(options.ticks == -1 || options.ticks >= 1, "the tick count is -1 or positive");
        Check(options.mode != ModeRequest::kWindowId ||
                  (options.windowId >= 1 && options.windowId <= UINT32_MAX),
              "a -window-id is 1..2^32 - 1");
        // The last argument doubles as $XSCREENSAVER_WINDOW.
        const char* host = argv.empty() ? nullptr : argv.back();
        SaverTarget target;
        std::string targetError;
        if (ResolveTarget(options, host, target, targetError)) {
            Check(target.mode != TargetKind::kHostWindow || target.windowId != 0,
                  "a host window has an id");
        } else {
            Check(!targetError.empty(), "a refused host window explains itself");
        }
        const PictureChoice choice = ChoosePicture(options, 0);
        Check(choice.row >= 0 && choice.row <= 9, "the picture's community is 0..9");
    } else {
        Check(!error.empty(), "a refused command line explains itself");
    }
    for (const std::string& argument : arguments)
        CheckOneArgument(argument);
    return 0;
}
