// The page's work without a browser, for comparison with the page's own
// benchmark: tintwalk_web_steps ROW SEED WIDTH HEIGHT TICKS starts the
// picture, runs the ticks (passes and canvas painting) and prints, on its
// last line, the bot steps per second of wall time and of processor time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

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
    const std::clock_t cpuStart = std::clock();
    tw_ticks(ticks);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double steps = tw_steps_per_tick() * ticks;
    std::printf("%.0f steps/s, %.0f steps per processor second\n", steps / wall.count(),
                steps / cpu);
    tw_stop();
    return 0;
}
