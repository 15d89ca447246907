// tintwalk-render: runs one community without a display and writes the
// picture to a PNG file.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <io.h>

#include "render/windows_text.h"
#else
#include <unistd.h>
#endif

#include "communities/clock_choice.h"
#include "communities/presets.h"
#include "core/diagnostics.h"
#include "platform/usable_cores.h"
#include "render/render.h"
#include "render/render_options.h"
#include "tintwalk_version.h"

namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadInput = 2;

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    // The null device is a character device as well: only a console counts.
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

// Writes UTF-8 text, as every string of the program is. A Windows console
// shows it through the wide call, whatever its code page; a file or a pipe
// receives the bytes.
void PrintText(std::FILE* stream, const std::string& text) {
#ifdef _WIN32
    std::wstring wide;
    DWORD written = 0;
    if (IsTerminal(stream) && tintwalk::WideFromUtf8(text, wide)) {
        std::fflush(stream);
        WriteConsoleW(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), wide.data(),
                      static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
#endif
    std::fputs(text.c_str(), stream);
}

int Fail(int code, const std::string& problem) {
    std::fflush(stdout);
    PrintText(stderr, "tintwalk-render: " + problem + "\n");
    return code;
}

// A percentage with the speed and the time left on one terminal line, shown
// only once the render has taken longer than a second and then rewritten at
// most four times a second.
class ProgressLine {
  public:
    explicit ProgressLine(bool enabled) : enabled_(enabled), start_(Clock::now()) {}

    void Update(uint64_t done, uint64_t total) {
        if (!enabled_ || total == 0)
            return;
        const Clock::time_point now = Clock::now();
        if (!shown_ && now - start_ < std::chrono::seconds(1))
            return;
        if (shown_ && done < total && now - lastShown_ < std::chrono::milliseconds(250))
            return;
        shown_ = true;
        lastShown_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const double perSecond = seconds > 0 ? static_cast<double>(done) / seconds : 0;
        const unsigned percent = static_cast<unsigned>(done * 100 / total);
        char left[32] = "?";
        if (perSecond > 0) {
            const uint64_t remaining =
                static_cast<uint64_t>(static_cast<double>(total - done) / perSecond + 0.5);
            std::snprintf(left, sizeof(left), "%lu:%02lu",
                          static_cast<unsigned long>(remaining / 60),
                          static_cast<unsigned long>(remaining % 60));
        }
        // The trailing spaces clear what a longer earlier line left.
        std::fprintf(stderr, "\rtintwalk-render: %3u%%, %.0f ticks/s, %s left   ", percent,
                     perSecond, left);
        std::fflush(stderr);
    }

    // Ends the progress line so that later messages start on a fresh line.
    void Finish() {
        if (shown_)
            std::fputc('\n', stderr);
        shown_ = false;
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point lastShown_;
};

int Run(const std::vector<std::string>& arguments) {
    using namespace tintwalk;
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(arguments, options, error))
        return Fail(kExitBadInput, error);

    switch (options.action) {
        case RenderAction::kHelp:
            std::fputs(RenderUsage().c_str(), stdout);
            return 0;
        case RenderAction::kVersion:
            std::puts("tintwalk-render " TINTWALK_VERSION);
            return 0;
        case RenderAction::kList:
            std::fputs(CommunityList().c_str(), stdout);
            return 0;
        case RenderAction::kRender:
            break;
    }

    // One reading of the clock chooses both the row and the seed, as the
    // saver does; given values take their place.
    const int64_t now = ClockSeconds();
    RenderRequest request;
    request.row = options.row >= 0 ? options.row : CommunityRowFromTime(now);
    request.seed = options.seedGiven ? options.seed : SeedFromTime(now);
    request.width = options.width;
    request.height = options.height;
    request.ticks = options.ticks;
    request.output = options.output;
    request.threads = options.threads != 0 ? options.threads : UsableCores();

    const bool toStandardOutput = request.output == "-";
    if (toStandardOutput && IsTerminal(stdout))
        return Fail(kExitBadInput, "will not write a PNG to a terminal (redirect or pipe it)");
    // Standard output carries the result alone: the simulation's lines go to
    // standard error when asked for, and nowhere otherwise.
    SetDiagnosticRoute(options.verbose ? DiagnosticRoute::kStandardError
                                       : DiagnosticRoute::kSilent);

    ProgressLine progressLine(IsTerminal(stderr));
    const RenderResult result = RenderPicture(
        request, [&](uint64_t done, uint64_t total) { progressLine.Update(done, total); }, error);
    progressLine.Finish();
    switch (result) {
        case RenderResult::kWritten:
            break;
        case RenderResult::kWriteFailed:
            return Fail(kExitWriteFailed, error);
        default:
            return Fail(kExitBadInput, error);
    }
    if (options.quiet)
        return 0;
    // With the PNG on standard output the result line goes to standard error.
    std::FILE* resultStream = toStandardOutput ? stderr : stdout;
    PrintText(resultStream,
              "tintwalk-render: wrote " +
                  (toStandardOutput ? std::string("standard output") : request.output) +
                  ": community " + std::to_string(request.row) + " '" +
                  kCommunityPresets[request.row]->name + "', " + std::to_string(request.width) +
                  "x" + std::to_string(request.height) + ", seed " + std::to_string(request.seed) +
                  ", " + std::to_string(request.ticks) + " ticks\n");
    if (std::fflush(resultStream) != 0)
        return Fail(kExitWriteFailed,
                    std::string("cannot write the result line: ") + std::strerror(errno));
    return 0;
}

}  // namespace

#ifdef _WIN32
// The wide entry: the arguments as typed, in UTF-16, go on as UTF-8 with no
// code page between, so a name keeps every character and a fullwidth digit
// stays what it is (and is no number).
extern "C" int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        std::string argument;
        if (!tintwalk::Utf8FromWide(argv[i], argument))
            return Fail(kExitBadInput,
                        "argument " + std::to_string(i) + " is not valid Unicode text");
        arguments.push_back(std::move(argument));
    }
    return Run(arguments);
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
#endif
