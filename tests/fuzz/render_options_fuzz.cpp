// The command line of tintwalk-render: no input may crash it or read out of
// bounds; a parse that succeeds gives values in their documented ranges;
// the same arguments give the same result; the number parsers agree with
// a plain reference.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "render/render_options.h"

using namespace tintwalk;
using fuzz::Check;

namespace {

bool Same(const RenderOptions& a, const RenderOptions& b) {
    return a.action == b.action && a.row == b.row && a.width == b.width && a.height == b.height &&
           a.seedGiven == b.seedGiven && a.seed == b.seed && a.ticks == b.ticks &&
           a.output == b.output && a.verbose == b.verbose && a.quiet == b.quiet;
}

void CheckOneArgument(const std::string& text) {
    for (const uint64_t limit : {uint64_t{kMaxRenderSide}, uint64_t{UINT32_MAX}, UINT64_MAX}) {
        uint64_t value = 0;
        uint64_t expected = 0;
        const bool parsed = ParseDecimal(text, limit, value);
        Check(parsed == fuzz::ReferenceDecimal(text, limit, expected),
              "ParseDecimal accepts what the reference does");
        Check(!parsed || value == expected, "ParseDecimal gives the reference's value");
    }
    uint32_t width = 7;
    uint32_t height = 9;
    std::string error;
    if (ParseSize(text, width, height, error)) {
        Check(width >= 1 && width <= kMaxRenderSide && height >= 1 && height <= kMaxRenderSide,
              "a parsed size lies in 1..kMaxRenderSide");
    } else {
        Check(!error.empty() && width == 7 && height == 9,
              "a refused size explains itself and changes nothing");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> arguments = fuzz::SplitArguments(data, size);
    RenderOptions first;
    RenderOptions second;
    std::string firstError;
    std::string secondError;
    const bool parsed = ParseRenderOptions(arguments, first, firstError);
    Check(parsed == ParseRenderOptions(arguments, second, secondError) &&
              firstError == secondError && Same(first, second),
          "parsing is deterministic");
    if (parsed) {
        Check(firstError.empty(), "a successful parse reports no error");
        Check(first.width >= 1 && first.width <= kMaxRenderSide && first.height >= 1 &&
                  first.height <= kMaxRenderSide,
              "the size lies in 1..kMaxRenderSide");
        Check(first.row >= -1 && first.row <= 9, "the community row is -1 or 0..9");
        Check(first.ticks <= UINT32_MAX, "the tick count fits 32 bits");
        Check(!first.output.empty(), "the output path is not empty");
    } else {
        Check(!firstError.empty(), "a refused command line explains itself");
    }
    for (const std::string& argument : arguments)
        CheckOneArgument(argument);
    return 0;
}
