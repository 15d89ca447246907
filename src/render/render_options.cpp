#include "render/render_options.h"

#include <cstdio>

#include "communities/community.h"

namespace tintwalk {

namespace {

bool IsDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

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
    if (!ParseDecimal(text, kMaxRenderSide, number)) {
        error = "size '" + whole + "' is too large (at most " + std::to_string(kMaxRenderSide) +
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
    kNone
};

struct OptionName {
    const char* name;
    Option option;
    bool takesValue;
};

constexpr OptionName kOptions[] = {
    {"--community", Option::kCommunity, true},
    {"--size", Option::kSize, true},
    {"--seed", Option::kSeed, true},
    {"--ticks", Option::kTicks, true},
    {"--output", Option::kOutput, true},
    {"-o", Option::kOutput, true},
    {"--threads", Option::kThreads, true},
    {"--verbose", Option::kVerbose, false},
    {"-v", Option::kVerbose, false},
    {"--quiet", Option::kQuiet, false},
    {"-q", Option::kQuiet, false},
    {"--list", Option::kList, false},
    {"--help", Option::kHelp, false},
    {"-h", Option::kHelp, false},
    {"--version", Option::kVersion, false},
};

bool ApplyValue(Option option, const std::string& value, RenderOptions& options,
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
        default:
            return true;
    }
}

}  // namespace

bool ParseDecimal(const std::string& text, uint64_t limit, uint64_t& value) {
    if (!IsDigits(text))
        return false;
    uint64_t number = 0;
    for (const char c : text) {
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (number > (limit - digit) / 10)
            return false;
        number = number * 10 + digit;
    }
    value = number;
    return true;
}

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
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const size_t equals = argument.find('=');
        const bool longForm = argument.size() > 2 && argument[0] == '-' && argument[1] == '-';
        const std::string name =
            longForm && equals != std::string::npos ? argument.substr(0, equals) : argument;
        const OptionName* found = nullptr;
        for (const OptionName& candidate : kOptions) {
            if (name == candidate.name)
                found = &candidate;
        }
        if (found == nullptr) {
            if (!argument.empty() && argument[0] == '-')
                error = "unknown option '" + name + "' (see --help)";
            else
                error = "unexpected argument '" + argument + "' (see --help)";
            return false;
        }
        if (!found->takesValue) {
            if (name.size() != argument.size()) {
                error = "option '" + name + "' takes no value";
                return false;
            }
            if (found->option == Option::kHelp)
                options.action = RenderAction::kHelp;
            else if (found->option == Option::kVersion)
                options.action = RenderAction::kVersion;
            else if (found->option == Option::kList)
                options.action = RenderAction::kList;
            else if (found->option == Option::kVerbose)
                options.verbose = true;
            else if (found->option == Option::kQuiet)
                options.quiet = true;
            continue;
        }
        std::string value;
        if (name.size() != argument.size()) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0) {
            // A following option is not taken as the value: "--seed --ticks 5"
            // is a missing seed, not a seed of "--ticks".
            value = arguments[++i];
        }
        if (value.empty()) {
            error = "option '" + name + "' needs a value";
            return false;
        }
        if (!ApplyValue(found->option, value, options, error))
            return false;
    }
    return true;
}

std::string RenderUsage() {
    return "Usage: tintwalk-render [options]\n"
           "Runs one community without a display and writes the picture the screen\n"
           "would show after the given number of frame ticks to a PNG file.\n"
           "\n"
           "  --community N|NAME  index 0..9 or name (default: the saver's choice now)\n"
           "  --size WxH          picture size in pixels, at most 32768 per side\n"
           "                      (default 1920x1080)\n"
           "  --seed S            seed 0..4294967295 (default: the current time)\n"
           "  --ticks T           frame ticks of two passes each; 0 writes the bare\n"
           "                      background (default 4615, one minute at 13 ms)\n"
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
