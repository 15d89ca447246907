// Runs one community for a number of passes on a full-HD habitat and prints
// how many bot steps it took, for instruction counts under callgrind
// (see count_instructions.sh).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "communities/community.h"
#include "core/biotope.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tintwalk_steps ROW PASSES\n");
        return 2;
    }
    const int32_t row = std::atoi(argv[1]);
    const int passes = std::atoi(argv[2]);
    tintwalk::surfaceWidth = 1920;
    tintwalk::surfaceHeight = 1080;
    if (!tintwalk::InitCommunity(row, 1))
        return 2;
    for (int i = 0; i < passes; ++i)
        tintwalk::biotope.Step();
    const unsigned long long steps = static_cast<unsigned long long>(passes) *
                                     tintwalk::biotope.botCount * tintwalk::biotope.trailLength;
    // A checksum of both habitats, to compare builds and code changes.
    uint64_t hash = 14695981039346656037ull;
    const tintwalk::Image* images[2] = {&tintwalk::biotope.rgbHabitat,
                                        &tintwalk::biotope.hslHabitat};
    for (const tintwalk::Image* image : images) {
        const size_t bytes = static_cast<size_t>(image->width) * image->height * 3;
        for (size_t i = 0; i < bytes; ++i)
            hash = (hash ^ image->pixels[i]) * 1099511628211ull;
    }
    std::fprintf(stderr, "steps %llu\nchecksum %016llx\n", steps,
                 static_cast<unsigned long long>(hash));
    return 0;
}
