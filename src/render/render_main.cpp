// tintwalk-render: runs one community without a display and writes the
// picture to a PNG file.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "communities/community.h"
#include "render/render.h"
#include "render/render_options.h"

namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadInput = 2;

int Fail(int code, const std::string& problem) {
    std::fflush(stdout);
    std::fprintf(stderr, "tintwalk-render: %s\n", problem.c_str());
    return code;
}

bool StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

// A percentage on one terminal line, shown only once the render has taken
// longer than a second and then rewritten at most four times a second.
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
        const unsigned percent = static_cast<unsigned>(done * 100 / total);
        std::fprintf(stderr, "\rtintwalk-render: %3u%% (%s of %s ticks)", percent,
                     std::to_string(done).c_str(), std::to_string(total).c_str());
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

}  // namespace

int main(int argc, char** argv) {
    using namespace tintwalk;
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
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

    ProgressLine progressLine(StderrIsTerminal());
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
    std::printf("tintwalk-render: wrote %s: community %d '%s', %ux%u, seed %lu, %s ticks\n",
                request.output.c_str(), request.row, kCommunityPresets[request.row]->name,
                request.width, request.height, static_cast<unsigned long>(request.seed),
                std::to_string(request.ticks).c_str());
    std::fflush(stdout);
    return 0;
}
