#!/usr/bin/env bash
# Sets up the machine and runs every test of Tintwalk:
#   1. the Windows build (mingw-w64), its unit tests and the saver under wine,
#   2. the native release build with all unit and end-to-end tests,
#   3. the Debian package of the native build, installed, run and removed,
#   4. the unit and end-to-end tests again with AddressSanitizer and
#      UndefinedBehaviorSanitizer,
#   5. the parallel pass's tests with ThreadSanitizer (clang), and a short
#      run of every fuzzing harness (clang, libFuzzer),
#   6. the web site built with Emscripten, checked in headless Chromium
#      against the native renderer.
# The Windows tests spend most of their time waiting for wine and the X
# server, so they run in the background, on an Xvfb display of their own,
# while the native builds compile and test on another. Prints one summary
# line.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh || exit 1
. scripts/display.sh
wine_xvfb=
native_xvfb=
trap 'kill $wine_xvfb $native_xvfb 2>/dev/null || true' EXIT
start_xvfb wine_xvfb || exit 1
wine_display=$DISPLAY
start_xvfb native_xvfb || exit 1

export WINEDEBUG=-all
# Wine does not offer to download its optional .NET and browser parts.
export WINEDLLOVERRIDES="mscoree,mshtml="
# One wine prefix for every build: the first wine start creates it.
export WINEPREFIX="$root/build/wineprefix"
export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"

passed=0
failed=0
status=0

# add_counts PASSED FAILED: adds one stage's counts to the summary.
add_counts() {
    passed=$((passed + $1))
    failed=$((failed + $2))
    [ "$2" -eq 0 ] || status=1
}

# last_summary NAME LOG PATTERN: prints the last line of LOG that matches
# PATTERN (extended regular expression); fails, saying so, when none does.
last_summary() {
    local line
    line=$(grep -E "$3" "$2" 2>/dev/null | tail -1)
    [ -n "$line" ] || { echo "$1: no test summary" >&2; return 1; }
    echo "$line"
}

# count_ctest NAME BUILD-DIR: adds the counts of BUILD-DIR/ctest.log.
count_ctest() {
    local line bad total
    line=$(last_summary "$1" "$2/ctest.log" \
        '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+') || { status=1; return; }
    read -r bad total < <(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/' <<<"$line")
    add_counts $((total - bad)) "$bad"
}

# run_ctest NAME BUILD-DIR [ctest options...]
run_ctest() {
    local name=$1 dir=$2
    shift 2
    echo "== $name: tests"
    ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$dir/ctest.log"
    count_ctest "$name" "$dir"
}

# start_ctest NAME BUILD-DIR [ctest options...]: the same in the background
# (one run at a time); finish_ctest waits for it, shows its log and counts it.
start_ctest() {
    background_name=$1
    background_dir=$2
    shift 2
    echo "== $background_name: tests start in the background"
    ctest --test-dir "$background_dir" --output-on-failure "$@" >"$background_dir/ctest.log" 2>&1 &
    background_ctest=$!
}
finish_ctest() {
    wait "$background_ctest"
    echo "== $background_name: tests"
    cat "$background_dir/ctest.log"
    count_ctest "$background_name" "$background_dir"
}

# build NAME BUILD-DIR [cmake options...] [-- build options...]: configures
# with the cmake options, then builds (everything, unless the build options
# name targets).
build() {
    local name=$1 dir=$2
    shift 2
    local configure=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        configure+=("$1")
        shift
    done
    [ $# -eq 0 ] || shift
    echo "== $name: build"
    cmake -S "$root" -B "$dir" -G Ninja "${configure[@]}" >"$dir.configure.log" 2>&1 &&
        nice -n 10 cmake --build "$dir" -j"$(nproc)" "$@" ||
        { cat "$dir.configure.log" 2>/dev/null; echo "$name: build failed" >&2; return 1; }
}

mkdir -p build
windows=0
if build windows build/mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release; then
    # The wine prefix is made once, before tests start wine side by side.
    DISPLAY=$wine_display timeout 300 wineboot -i >/dev/null 2>&1
    # Wine starts slowly while the native builds take both cores: one test
    # at a time, and a test that timed out on a busy machine gets one more try.
    DISPLAY=$wine_display start_ctest windows build/mingw --repeat until-pass:2
    windows=1
else
    status=1
fi

native=0
if build native build/release -DCMAKE_BUILD_TYPE=Release -DTINTWALK_BENCH=ON; then
    native=1
else
    status=1
fi
sanitizers=0
if build sanitizers build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWALK_SANITIZE=ON; then
    sanitizers=1
else
    status=1
fi

# Tests that share the display take turns (ctest resource locks); the
# others run beside them.
[ "$native" -eq 0 ] || run_ctest native build/release -j"$(nproc)"

# The install and the Debian package of the native build: made, checked by
# lintian, installed, run, removed; counted as one test.
package_check() {
    echo "== package: build, install, run, remove"
    if bash tests/e2e/deb_package.sh build/release; then
        add_counts 1 0
    else
        add_counts 0 1
    fi
}
[ "$native" -eq 0 ] || package_check

[ "$sanitizers" -eq 0 ] || run_ctest sanitizers build/sanitize -j"$(nproc)"
# tsan: the parallel pass's tests under ThreadSanitizer; only their target
# is built.
echo "== tsan: build"
if cmake -S "$root" -B build/tsan -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWALK_TSAN=ON >build/tsan.configure.log 2>&1 &&
    nice -n 10 cmake --build build/tsan --target parallel_step_test -j"$(nproc)"; then
    TSAN_OPTIONS=halt_on_error=1 run_ctest tsan build/tsan -R '^parallel_step_test$'
else
    cat build/tsan.configure.log
    echo "tsan: build failed" >&2
    status=1
fi
# fuzz: each libFuzzer harness of tests/fuzz runs a fixed number of inputs
# (a smoke; long runs are started by hand, see the README). Only the
# harnesses and the libraries they test are built.
if build fuzz build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWALK_FUZZ=ON -DTINTWALK_TESTS=OFF -- --target fuzzers; then
    run_ctest fuzz build/fuzz
else
    status=1
fi

# ---- web: the site under Emscripten, in headless Chromium ----
# Needs the native renderer of stage 2 as its reference. npm installs the
# pinned compressor and browser driver (web/package-lock.json).
export NODE_PATH=/usr/share/nodejs
if (cd web && npm ci --no-audit --no-fund --loglevel=error) &&
    build web build/web -DCMAKE_BUILD_TYPE=Release -DTINTWALK_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake"; then
    echo "== web: tests"
    node tests/web/site_test.js build/web/site build/release/src/render/tintwalk-render \
        build/web/test-output 2>&1 | tee build/web/test.log
    if line=$(last_summary web build/web/test.log '^web: [0-9]+ passed, [0-9]+ failed$'); then
        read -r web_passed web_failed < <(sed -E 's/web: ([0-9]+) passed, ([0-9]+) failed/\1 \2/' <<<"$line")
        add_counts "$web_passed" "$web_failed"
    else
        status=1
    fi
else
    status=1
fi

[ "$windows" -eq 0 ] || finish_ctest

echo
echo "tests: $passed passed, $failed failed"
exit $status
