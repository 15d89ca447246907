#!/usr/bin/env bash
# Counts the non-blank lines of code and of tests that TESTING.md's table
# "Size of the suite" shows: .cpp, .h, .sh, .py, .js, .mjs, .cmake and
# CMakeLists files that git tracks (the fuzz corpus and tests/data are data,
# not counted). Prints the table's two rows.
set -euo pipefail
cd "$(dirname "$0")/.."

# lines PATH...: the non-blank lines of the counted files under the paths.
lines() {
    git ls-files -- "$@" |
        grep -E '(\.(cpp|h|sh|py|js|mjs|cmake)|CMakeLists\.txt)$' |
        grep -vE '^tests/(fuzz/corpus|data)/' |
        xargs -r grep -hcv '^[[:space:]]*$' | awk '{ sum += $1 } END { print sum + 0 }'
}

tests=$(lines tests)
row() {
    local what=$1 code
    shift
    code=$(lines "$@")
    awk -v what="$what" -v code="$code" -v tests="$tests" '
        function thousands(n) { return n < 1000 ? n : thousands(int(n / 1000)) sprintf(",%03d", n % 1000) }
        BEGIN { printf "| %s | %s | %s | %.1f %% |\n", what, thousands(code), thousands(tests), 100 * tests / code }'
}
row "code = src, bench, scripts, cmake, web, packaging, top CMakeLists" \
    src bench scripts cmake web packaging CMakeLists.txt
row "code = src, bench, scripts and build files only" src bench scripts cmake CMakeLists.txt
