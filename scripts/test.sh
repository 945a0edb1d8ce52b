#!/usr/bin/env bash
# Sets everything up, builds and runs every test: the normal build, the sanitizer
# build (ASan + UBSan) and a short fuzzing run of the font description reader.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

source "$root/scripts/desktop.sh"
trap stop_display EXIT
start_display
export SDL_AUDIODRIVER=dummy
jobs=$(nproc)

echo "== build"
scripts/build.sh build -DVORNALY_TESTS=ON -DVORNALY_BENCH=ON
echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs" | tee build/ctest.log

echo "== sanitizer build"
scripts/build.sh build-sanitize -DVORNALY_SANITIZE=ON -DVORNALY_TESTS=ON -DVORNALY_BENCH=OFF
echo "== sanitizer tests"
# Mesa's software renderer keeps allocations alive past exit; leaks are not ours to judge there.
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -E e2e |
    tee build-sanitize/ctest.log

echo "== fuzzing the font reader"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORNALY_FUZZ=ON -DVORNALY_BENCH=OFF >/dev/null
cmake --build build-fuzz --target font_fuzz -j"$jobs"
corpus=$(mktemp -d)
cp tests/fuzz/corpus/* "$corpus"/
if ! build-fuzz/fuzz/font_fuzz -max_total_time="${FUZZ_SECONDS:-30}" -max_len=2048 "$corpus" \
    2>build-fuzz/fuzz.log; then
    tail -n 60 build-fuzz/fuzz.log
    exit 1
fi
tail -n 1 build-fuzz/fuzz.log

# Both test runs, summed: every test passed, or set -e would have stopped us above.
total=0
for log in build/ctest.log build-sanitize/ctest.log; do
    total=$((total + $(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log")))
done
echo "tests: $total passed, 0 failed"
