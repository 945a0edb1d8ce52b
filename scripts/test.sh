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
scripts/build.sh build
echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitizer build"
scripts/build.sh build-sanitize -DVORNALY_SANITIZE=ON -DVORNALY_BENCH=OFF
echo "== sanitizer tests"
# Mesa's software renderer keeps allocations alive past exit; leaks are not ours to judge there.
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -E e2e

if [ -f tests/fuzz/CMakeLists.txt ]; then
    echo "== fuzzing the font reader"
    CC=clang CXX=clang++ scripts/build.sh build-fuzz -DVORNALY_FUZZ=ON -DVORNALY_BENCH=OFF
    corpus=$(mktemp -d)
    cp tests/fuzz/corpus/* "$corpus"/
    "$(find build-fuzz -name font_fuzz -type f -perm -u+x | head -n 1)" -max_total_time="${FUZZ_SECONDS:-30}" "$corpus"
fi
