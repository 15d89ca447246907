#include "render/render_options.h"

#include <cstdio>

#include "cli/decimal.h"
#include "cli/option_table.h"
#include "communities/presets.h"

namespace tintwalk {

namespace {

// One side of a size: "1920". Names the side in the error.
bool ParseSide(const std::string& whole, const std::string& text, const char* side, uint32_t& value,
               std::string& error) {
    if (text.size() > 1 && text[0] == '-' && IsDigits(text.substr(1))) {
        error = "size '" + whole + "': the " + side + " must be positive";
        return false;
    }
    if (!IsDigits(text)) {
        error = "size '" + whole + "' is not WIDTHxHEIGHT (for example 1920x1080)";
        return false;
    }
    uint64_t number = 0;
    if (!ParseDecimal(text, kMaxPictureSide, number)) {
        error = "size '" + whole + "' is too large (at most " + std::to_string(kMaxPictureSide) +
                " per side)";
        return false;
    }
    if (number == 0) {
        error = "size '" + whole + "': the " + side + " must be at least 1";
        return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
}

enum class Option {
    kCommunity,
    kSize,
    kSeed,
    kTicks,
    kOutput,
    kThreads,
    kVerbose,
    kQuiet,
    kList,
    kHelp,
    kVersion,
};

constexpr OptionName kOptions[] = {
    {"--community", int(Option::kCommunity), true},
    {"--size", int(Option::kSize), true},
    {"--seed", int(Option::kSeed), true},
    {"--ticks", int(Option::kTicks), true},
    {"--output", int(Option::kOutput), true},
    {"-o", int(Option::kOutput), true},
    {"--threads", int(Option::kThreads), true},
    {"--verbose", int(Option::kVerbose), false},
    {"-v", int(Option::kVerbose), false},
    {"--quiet", int(Option::kQuiet), false},
    {"-q", int(Option::kQuiet), false},
    {"--list", int(Option::kList), false},
    {"--help", int(Option::kHelp), false},
    {"-h", int(Option::kHelp), false},
    {"--version", int(Option::kVersion), false},
};

bool ApplyOption(Option option, const std::string& value, RenderOptions& options,
                 std::string& error) {
    uint64_t number = 0;
    switch (option) {
        case Option::kCommunity: {
            const int32_t row = FindCommunity(value.c_str());
            if (row < 0) {
                error = "unknown community '" + value + "' (an index 0..9 or a name; see --list)";
                return false;
            }
            options.row = row;
            return true;
        }
        case Option::kSize:
            return ParseSize(value, options.width, options.height, error);
        case Option::kSeed:
            if (!ParseDecimal(value, UINT32_MAX, number)) {
                error = "seed '" + value + "' is not a whole number from 0 to 4294967295";
                return false;
            }
            options.seed = static_cast<uint32_t>(number);
            options.seedGiven = true;
            return true;
        case Option::kTicks:
            if (!ParseDecimal(value, UINT32_MAX, number)) {
                if (IsDigits(value))
                    error = "tick count '" + value + "' is too large (at most 4294967295)";
                else
                    error = "tick count '" + value + "' is not a whole number of 0 or more";
                return false;
            }
            options.ticks = number;
            return true;
        case Option::kOutput:
            options.output = value;
            return true;
        case Option::kThreads:
            if (!ParseDecimal(value, kMaxRenderThreads, number) || number == 0) {
                error = "thread count '" + value + "' is not a whole number from 1 to " +
                        std::to_string(kMaxRenderThreads);
                return false;
            }
            options.threads = static_cast<uint32_t>(number);
            return true;
        case Option::kVerbose:
            options.verbose = true;
            return true;
        case Option::kQuiet:
            options.quiet = true;
            return true;
        case Option::kList:
            options.action = RenderAction::kList;
            return true;
        case Option::kHelp:
            options.action = RenderAction::kHelp;
            return true;
        case Option::kVersion:
            options.action = RenderAction::kVersion;
            return true;
        default:
            return true;
    }
}

}  // namespace

bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height, std::string& error) {
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos) {
        error = "size '" + text + "' is not WIDTHxHEIGHT (for example 1920x1080)";
        return false;
    }
    uint32_t newWidth = 0;
    uint32_t newHeight = 0;
    if (!ParseSide(text, text.substr(0, cross), "width", newWidth, error) ||
        !ParseSide(text, text.substr(cross + 1), "height", newHeight, error))
        return false;
    width = newWidth;
    height = newHeight;
    return true;
}

bool ParseRenderOptions(const std::vector<std::string>& arguments, RenderOptions& options,
                        std::string& error) {
    return ReadOptions(
        arguments, kOptions, OptionDashes::kAsWritten,
        [&options](const OptionName& option, const std::string& value, std::string& problem) {
            return ApplyOption(static_cast<Option>(option.id), value, options, problem);
        },
        error);
}

std::string RenderUsage() {
    const std::string side = std::to_string(kMaxPictureSide);
    const std::string ticks = std::to_string(kDefaultRenderTicks);
    const std::string period = std::to_string(kFramePeriodMs);
    return "Usage: tintwalk-render [options]\n"
           "Runs one community without a display and writes the picture the screen\n"
           "would show after the given number of frame ticks to a PNG file.\n"
           "\n"
           "  --community N|NAME  index 0..9 or name (default: the saver's choice now)\n"
           "  --size WxH          picture size in pixels, at most " +
           side +
           " per side\n"
           "                      (default 1920x1080)\n"
           "  --seed S            seed 0..4294967295 (default: the current time)\n"
           "  --ticks T           frame ticks of two passes each; 0 writes the bare\n"
           "                      background (default " +
           ticks + ", one minute at " + period +
           " ms)\n"
           "  -o, --output FILE   the PNG to write (default tintwalk.png); - writes it\n"
           "                      to standard output\n"
           "  --threads N         simulate on N threads, 1 to 256 (default: the\n"
           "                      processors this process may use); every number\n"
           "                      gives the same picture, and small pictures run\n"
           "                      on one thread\n"
           "  -v, --verbose       the simulation's diagnostic lines on standard error\n"
           "  -q, --quiet         no result line\n"
           "  --list              list the communities and exit\n"
           "  -h, --help          show this help and exit\n"
           "  --version           show the version and exit\n"
           "\n"
           "Options take their value as the next argument or after '='. A regular\n"
           "file is replaced whole, a symbolic link's target receives the picture,\n"
           "and a device or pipe is written directly. A progress line shows on a\n"
           "terminal for renders longer than a second.\n"
           "Exit status: 0 on success, 1 when the file cannot be written,\n"
           "2 for bad input or a picture too large for the memory the process may use.\n";
}

std::string CommunityList() {
    std::string list = "index  name             hue shift  background\n";
    for (int32_t row = 0; row < kCommunityCount; ++row) {
        const CommunityPreset& preset = *kCommunityPresets[row];
        char line[128];
        std::snprintf(line, sizeof(line), "%5d  %-15s  %9d  rgb(%d, %d, %d)\n", row, preset.name,
                      preset.hueShift & 0xff, preset.background.red, preset.background.green,
                      preset.background.blue);
        list += line;
    }
    return list;
}

}  // namespace tintwalk
