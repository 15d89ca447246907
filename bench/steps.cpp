// Runs one community for a number of passes on a full-HD habitat and prints
// how many bot steps it took, for instruction counts under callgrind
// (see count_instructions.sh).
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
    std::fprintf(stderr, "steps %llu\n", steps);
    return 0;
}
