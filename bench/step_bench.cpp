// Throughput of the simulation: bot steps on a full-HD habitat with the
// default rule and with each community, plus the colour conversions and the
// generator on their own. Run: build/release/bench/tintwalk_bench
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "communities/community.h"
#include "core/biotope.h"
#include "core/bot_step.h"
#include "core/colour.h"
#include "core/random.h"

namespace tintwalk {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

// Runs `load` with the diagnostic lines of both streams sent to the null
// device, so that they do not drown the report.
template <typename Load>
void Quietly(Load load) {
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(1);
    const int savedErr = dup(2);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    load();
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    close(null);
    close(savedOut);
    close(savedErr);
}

void ReportSteps(benchmark::State& state) {
    const double steps =
        static_cast<double>(state.iterations()) * biotope.botCount * biotope.trailLength;
    state.SetItemsProcessed(static_cast<int64_t>(steps));
    state.counters["ns_per_step"] =
        benchmark::Counter(steps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_StepDefaultRule(benchmark::State& state) {
    Quietly([] {
        biotope.Create(8, kWidth, kHeight, 1);
        biotope.SetTrailLength(kWidth * kHeight / 1200);
        biotope.Reset();
    });
    for (auto _ : state)
        biotope.Step();
    ReportSteps(state);
}
BENCHMARK(BM_StepDefaultRule)->Unit(benchmark::kMillisecond);

void BM_StepCommunity(benchmark::State& state) {
    const int32_t row = static_cast<int32_t>(state.range(0));
    surfaceWidth = kWidth;
    surfaceHeight = kHeight;
    Quietly([row] { InitCommunity(row, 1); });
    state.SetLabel(kCommunityPresets[row]->name);
    for (auto _ : state)
        biotope.Step();
    ReportSteps(state);
}
BENCHMARK(BM_StepCommunity)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

// The same without the byte-shuffle neighbourhood fill, as on processors
// that lack it.
void BM_StepCommunityPortable(benchmark::State& state) {
    const bool saved = useSsse3Gather;
    useSsse3Gather = false;
    BM_StepCommunity(state);
    useSsse3Gather = saved;
}
BENCHMARK(BM_StepCommunityPortable)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

// One colour conversion, applied to a colour whose first and last bytes
// walk on by 7 and 13 each time, so that no two inputs in a row agree.
template <typename From, typename To, void (*kConvert)(const From&, To&)>
void BM_Convert(benchmark::State& state) {
    uint8_t bytes[3] = {0, 200, 100};
    To converted;
    for (auto _ : state) {
        From colour;
        std::memcpy(&colour, bytes, 3);
        kConvert(colour, converted);
        benchmark::DoNotOptimize(converted);
        bytes[0] = static_cast<uint8_t>(bytes[0] + 7);
        bytes[2] = static_cast<uint8_t>(bytes[2] + 13);
    }
}
BENCHMARK(BM_Convert<HslPixel, RgbPixel, HslToRgb>)->Name("BM_HslToRgb");
BENCHMARK(BM_Convert<RgbPixel, HslPixel, RgbToHsl>)->Name("BM_RgbToHsl");

void BM_Next(benchmark::State& state) {
    RandomGenerator g;
    for (auto _ : state)
        benchmark::DoNotOptimize(g.Next());
}
BENCHMARK(BM_Next);

}  // namespace
}  // namespace tintwalk

BENCHMARK_MAIN();
