#include "saver/x11/options.h"

#include <string_view>
#include <vector>

#include "cli/decimal.h"
#include "cli/option_table.h"

#include "communities/clock_choice.h"
#include "communities/presets.h"

namespace tintwalk {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads decimal digits at the front of `text`, dropping them; false when
// there are none or the number passes `high`.
bool ReadDecimal(std::string_view& text, uint64_t high, uint64_t& value) {
    return ReadDigits(text, high, value) == DigitRun::kNumber;
}

// Every option may be written with one dash or two; the table has each as
// the help text shows it.
constexpr OptionName kOptions[] = {
    {"-root", 0, false},        {"-window", 0, false},  {"-window-id", 0, true},
    {"--fullscreen", 0, false}, {"-geometry", 0, true}, {"--community", 0, true},
    {"--seed", 0, true},        {"--ticks", 0, true},   {"--snapshot", 0, true},
    {"-display", 0, true},      {"--help", 0, false},   {"--version", 0, false},
    {"--gl", 0, false},         {"--no-shm", 0, false}, {"--timings", 0, false},
};

bool ApplyOption(std::string_view name, const char* value, SaverOptions& options,
                 std::string& error) {
    uint64_t number = 0;
    if (name == "root") {
        options.mode = ModeRequest::kRoot;
    } else if (name == "window") {
        options.mode = ModeRequest::kWindow;
    } else if (name == "fullscreen") {
        options.mode = ModeRequest::kFullscreen;
    } else if (name == "window-id") {
        if (!ParseWindowId(value, options.windowId)) {
            error = std::string("bad window id '") + value +
                    "': give a decimal number or a hexadecimal one starting with 0x";
            return false;
        }
        options.mode = ModeRequest::kWindowId;
    } else if (name == "geometry") {
        if (!ParseGeometry(value, options)) {
            error = std::string("bad geometry '") + value + "': give WxH or WxH+X+Y, sides 1 to " +
                    std::to_string(kMaxSide);
            return false;
        }
    } else if (name == "community") {
        options.community = FindCommunity(value);
        if (options.community < 0) {
            error = std::string("unknown community '") + value + "' (an index 0..9 or a name)";
            return false;
        }
    } else if (name == "seed") {
        if (!ParseDecimal(value, UINT32_MAX, number)) {
            error = std::string("seed '") + value + "' is not a whole number from 0 to " +
                    std::to_string(UINT32_MAX);
            return false;
        }
        options.seedGiven = true;
        options.seed = static_cast<uint32_t>(number);
    } else if (name == "ticks") {
        if (!ParseDecimal(value, INT64_MAX, number) || number == 0) {
            error = std::string("tick count '") + value + "' is not a whole number of 1 or more";
            return false;
        }
        options.ticks = static_cast<int64_t>(number);
    } else if (name == "snapshot") {
        options.snapshot = value;
    } else if (name == "display") {
        options.display = value;
    } else if (name == "gl") {
        options.openGl = true;
    } else if (name == "no-shm") {
        options.sharedMemory = false;
    } else if (name == "timings") {
        options.timings = true;
    } else if (name == "help") {
        options.help = true;
    } else if (name == "version") {
        options.version = true;
    }
    return true;
}

}  // namespace

bool ParseWindowId(const char* text, unsigned long& id) {
    if (text == nullptr)
        return false;
    uint64_t value = 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text += 2;
        if (*text == '\0')
            return false;
        for (; *text != '\0'; ++text) {
            const int digit = HexValue(*text);
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > UINT32_MAX)
                return false;
        }
    } else if (!ParseDecimal(text, UINT32_MAX, value)) {
        return false;
    }
    if (value == 0)
        return false;
    id = static_cast<unsigned long>(value);
    return true;
}

bool ParseGeometry(const char* whole, SaverOptions& options) {
    if (whole == nullptr)
        return false;
    std::string_view text = whole;
    uint64_t width = 0;
    uint64_t height = 0;
    // Each separator is checked and dropped before the number after it.
    const auto separator = [&text](const char* accepted) {
        if (text.empty() || std::string_view(accepted).find(text[0]) == std::string_view::npos)
            return false;
        text.remove_prefix(1);
        return true;
    };
    if (!ReadDecimal(text, kMaxSide, width) || !separator("xX") ||
        !ReadDecimal(text, kMaxSide, height) || width == 0 || height == 0)
        return false;
    uint64_t x = 0;
    uint64_t y = 0;
    const bool positionGiven = !text.empty();
    if (positionGiven && (!separator("+") || !ReadDecimal(text, kMaxSide, x) || !separator("+") ||
                          !ReadDecimal(text, kMaxSide, y) || !text.empty()))
        return false;
    options.width = static_cast<int32_t>(width);
    options.height = static_cast<int32_t>(height);
    options.positionGiven = positionGiven;
    options.x = static_cast<int32_t>(x);
    options.y = static_cast<int32_t>(y);
    return true;
}

bool ParseSaverOptions(int argc, const char* const* argv, SaverOptions& options,
                       std::string& error) {
    return ReadOptions(
        std::vector<std::string>(argv, argv + argc), kOptions, OptionDashes::kOneOrTwo,
        [&options](const OptionName& option, const std::string& value, std::string& problem) {
            const std::string_view name =
                std::string_view(option.name).substr(option.name[1] == '-' ? 2 : 1);
            return ApplyOption(name, value.c_str(), options, problem);
        },
        error);
}

bool ResolveTarget(const SaverOptions& options, const char* hostWindowText, SaverTarget& target,
                   std::string& error) {
    const bool hostGiven = hostWindowText != nullptr && *hostWindowText != '\0';
    switch (options.mode) {
        case ModeRequest::kWindow:
            target = {TargetKind::kOwnWindow, 0};
            return true;
        case ModeRequest::kFullscreen:
            target = {TargetKind::kFullscreen, 0};
            return true;
        case ModeRequest::kWindowId:
            target = {TargetKind::kHostWindow, options.windowId};
            return true;
        case ModeRequest::kRoot:
        case ModeRequest::kNone:
            break;
    }
    if (hostGiven) {
        unsigned long id = 0;
        if (!ParseWindowId(hostWindowText, id)) {
            error = std::string("bad window id '") + hostWindowText + "' in XSCREENSAVER_WINDOW";
            return false;
        }
        target = {TargetKind::kHostWindow, id};
        return true;
    }
    target = {options.mode == ModeRequest::kRoot ? TargetKind::kRoot : TargetKind::kOwnWindow, 0};
    return true;
}

PictureChoice ChoosePicture(const SaverOptions& options, int64_t nowSeconds) {
    PictureChoice choice;
    choice.row = options.community >= 0 ? options.community : CommunityRowFromTime(nowSeconds);
    choice.seed = options.seedGiven ? options.seed : SeedFromTime(nowSeconds);
    return choice;
}

int64_t NextTickDue(int64_t startMs, int64_t nowMs, int64_t periodMs) {
    if (nowMs < startMs)
        return startMs;
    return startMs + ((nowMs - startMs) / periodMs + 1) * periodMs;
}

const char* UsageText() {
    return "Usage: tintwalk [OPTION]...\n"
           "Paints an evolving artificial-life picture.\n"
           "\n"
           "Where to draw (the last one given wins):\n"
           "  -window              in a window of its own (the default without a host)\n"
           "  -root                in the root window, or in $XSCREENSAVER_WINDOW if set\n"
           "  -window-id ID        in the window ID (decimal, or hexadecimal with 0x)\n"
           "  --fullscreen         full screen; any key, a button press, losing the\n"
           "                       focus or moving the pointer more than 4 pixels ends it\n"
           "\n"
           "Options:\n"
           "  -geometry WxH[+X+Y]  size and place of its own window (default 1280x720)\n"
           "  --community N|NAME   the community, 0 to 9 or its name (default: the clock)\n"
           "  --seed S             the random seed, 0 to 4294967295 (default: the clock)\n"
           "  --ticks T            end after T frame ticks\n"
           "  --snapshot FILE.png  write what is on screen to FILE.png when ending\n"
           "  -display NAME        the X display (default: $DISPLAY)\n"
           "  --gl                 draw with OpenGL instead of an X image\n"
           "  --no-shm             send the X image through the connection, not shared memory\n"
           "  --timings            print the median time a tick took when ending\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "Every option may be written with one dash or two. Without -window,\n"
           "-window-id or --fullscreen the picture goes into the window named by\n"
           "$XSCREENSAVER_WINDOW when that is set. In its own window Esc or q ends it.\n";
}

}  // namespace tintwalk
