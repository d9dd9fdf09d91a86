#!/usr/bin/env bash
# Checks the layer order of the includes, then builds and runs every test: the normal build
# (warnings are errors), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and
# a bounded fuzz run of every fuzz target (notation readers and matching cursors, project file
# reader, Rich Text Format reader). FUZZ_SECONDS sets the total fuzz time (default 60, 0 skips it).
# After the normal build it builds the Debian package and tests it (scripts/package-test.sh). Last
# it checks the format of the sources; a difference fails the script after the test summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
fuzz_seconds=${FUZZ_SECONDS:-60}
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

run_ctest() {
    local dir=$1
    (cd "$dir" && ctest --output-on-failure -j "$jobs") | tee -a "$summary"
}

echo "== Layers"
bash scripts/check-layers.sh

echo "== Build and test (warnings are errors)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_WERROR=ON >/dev/null
cmake --build build/test -j "$jobs"
run_ctest build/test

echo "== Debian package: build, lintian, install, run, remove"
package_status=0
bash scripts/package-test.sh build/test || package_status=$?

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_WERROR=ON -DCORVANE_SANITIZE=ON \
    -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_GUI=OFF >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/sanitize

if [ "$fuzz_seconds" -gt 0 ]; then
    echo "== Fuzz the readers (notation, project files, Rich Text Format) for ${fuzz_seconds} s"
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_FUZZ=ON -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF \
        -DCORVANE_BUILD_GUI=OFF -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
    cmake --build build/fuzz -j "$jobs"
    targets=(build/fuzz/fuzz/fuzz_*)
    per_target=$(( fuzz_seconds / ${#targets[@]} ))
    [ "$per_target" -ge 1 ] || per_target=1
    mkdir -p build/fuzz/corpus
    for target in "${targets[@]}"; do
        name=$(basename "$target")
        mkdir -p "build/fuzz/corpus/$name"
        "$target" -max_total_time="$per_target" -print_final_stats=0 -artifact_prefix=build/fuzz/ \
            "build/fuzz/corpus/$name" fuzz/seeds/"$name" 2>&1 | tail -n 3
    done
fi

echo "== Format (clang-format)"
format_status=0
format_log=build/test/format-check.log
cmake --build build/test --target format-check >"$format_log" 2>&1 || format_status=$?
if [ "$format_status" -ne 0 ]; then
    # The files that differ, not the command line of every file checked.
    grep -o '^[^ ]*:[0-9]*:[0-9]*: error:' "$format_log" | cut -d: -f1 | sort | uniq -c || cat "$format_log"
fi

passed=0
failed=0
while read -r line; do
    if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    fi
done < <(grep "tests failed out of" "$summary")
echo "tests: ${passed} passed, ${failed} failed"
if [ "$format_status" -ne 0 ]; then
    echo "The sources differ from .clang-format: run 'cmake --build build/test --target format'." >&2
fi
if [ "$package_status" -ne 0 ]; then
    echo "The Debian package test failed (scripts/package-test.sh build/test)." >&2
fi
[ "$failed" -eq 0 ] && [ "$format_status" -eq 0 ] && [ "$package_status" -eq 0 ]
