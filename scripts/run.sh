#!/usr/bin/env bash
# Sets everything up, builds and starts Vornaly. Without a display it runs the program
# on a virtual display for a few seconds, answers the question with No, saves a
# screenshot of the window and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build -DVORNALY_TESTS=OFF -DVORNALY_BENCH=OFF
cd "$root/build/run"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec ./vornaly
fi

source "$root/scripts/desktop.sh"
trap stop_display EXIT
start_display
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
setsid ./vornaly &
pid=$!
answer_box "Vornaly" Escape
window=$(wait_window "Vornaly - vornaly.art" 15)
sleep "${VORNALY_SHOW_SECONDS:-6}"
shot="$root/build/vornaly-screenshot.png"
screenshot "$window" "$shot"
kill -- -"$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "Screenshot: $shot"
