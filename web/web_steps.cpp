// The page's work without a browser, for comparison with the page's own
// benchmark: tintwalk_web_steps ROW SEED WIDTH HEIGHT TICKS starts the
// picture, runs the ticks (passes and canvas painting) and prints the bot
// steps per second of the ticks alone.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tintwalk_web.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s ROW SEED WIDTH HEIGHT TICKS\n", argv[0]);
        return 2;
    }
    const int32_t row = std::atoi(argv[1]);
    const uint32_t seed = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const int32_t ticks = std::atoi(argv[5]);
    if (tw_start(row, seed, std::atoi(argv[3]), std::atoi(argv[4])) != 1) {
        std::fprintf(stderr, "cannot start the picture\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    tw_ticks(ticks);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%.0f steps/s\n", tw_steps_per_tick() * ticks / seconds.count());
    tw_stop();
    return 0;
}
