#!/usr/bin/env bash
# The real program under a virtual X display, driven like a person would: keys held
# long enough for a 50 fps poll, screenshots compared by region.
# Usage: program_e2e.sh RUN_DIR SCRIPTS_DIR SCREENSHOT_DIR CLOSE_WINDOW_TOOL
set -uo pipefail
run_dir=$1
scripts_dir=$2
shots=$3
close_window=$4
mkdir -p "$shots"
source "$scripts_dir/desktop.sh"

passed=0
failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
    fi
}

# Copies PNG $1 to $2, cut to region $3 if given, with faint colours lifted (each
# channel to the power 0.4), so that a faint picture is judged like a bright one.
boosted() {
    convert "$1" ${3:+-crop "$3" +repage} -evaluate pow 0.4 "$2"
}
# Fraction of the pixels of a region WxH+X+Y that differ between two PNGs (fuzz 10 %),
# taken over the pixels lit (brighter than 6 %) in either, so that a small picture
# counts as much as a large one. Without a region: the whole image.
difference() {
    local a b mask changed lit
    a=$(mktemp --suffix=.png)
    b=$(mktemp --suffix=.png)
    mask=$(mktemp --suffix=.png)
    boosted "$1" "$a" "${3:-}"
    boosted "$2" "$b" "${3:-}"
    changed=$(compare -fuzz 10% -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1)
    convert "$a" "$b" -compose Lighten -composite -colorspace Gray -threshold 6% "$mask"
    lit=$(convert "$mask" -format "%[fx:mean*w*h]" info:)
    rm -f "$a" "$b" "$mask"
    awk -v c="$changed" -v l="$lit" 'BEGIN { printf "%.4f\n", (l > 0 ? c / l : 0) }'
}
# Fraction of pixels lit in both images, over those lit in either.
shape_overlap() {
    local a b both either
    a=$(mktemp --suffix=.png)
    b=$(mktemp --suffix=.png)
    boosted "$1" "$a"
    boosted "$2" "$b"
    convert "$a" -colorspace Gray -threshold 6% "$a"
    convert "$b" -colorspace Gray -threshold 6% "$b"
    both=$(convert "$a" "$b" -compose Multiply -composite -format "%[fx:mean]" info:)
    either=$(convert "$a" "$b" -compose Lighten -composite -format "%[fx:mean]" info:)
    rm -f "$a" "$b"
    awk -v b="$both" -v e="$either" 'BEGIN { printf "%.4f\n", (e > 0 ? b / e : 0) }'
}
# Fraction of pixels brighter than 6 %.
lit_of() {
    convert "$1" -colorspace Gray -threshold 6% -format "%[fx:mean]" info:
}
# Pixels of a region in the overlay's yellow (255, 255, 32): no palette colour has a
# blue below 40, so the picture itself never shows it.
yellow_of() {
    convert "$1" -crop "$2" +repage -fx "(r > 0.97 && g > 0.97 && b < 0.145) ? 1 : 0" -format "%[fx:mean*w*h]" info:
}
# Sets code to the exit code of the program started as $1, waiting up to 5 s, or to
# "timeout" if it runs on. (Not a command substitution: only this shell can wait.)
wait_exit() {
    code=timeout
    for _ in $(seq 1 50); do
        if ! kill -0 "$1" 2>/dev/null; then
            wait "$1"
            code=$?
            return
        fi
        sleep 0.1
    done
}
greater() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

shot() { screenshot "$window" "$shots/$1.png"; }

trap 'kill -- -"$pid" 2>/dev/null; stop_display' EXIT
start_display || exit 1
export SDL_AUDIODRIVER=dummy
cd "$run_dir"
setsid ./vornaly &
pid=$!

check "the full-screen question is asked" answer_box "Vornaly" Escape
window=$(wait_window "Vornaly - vornaly.art" 15)
check "the window titled 'Vornaly - vornaly.art' opens" test -n "$window"
if [ -z "$window" ]; then
    echo "$passed passed, $((failed + 1)) failed"
    exit 1
fi
geometry=$(xwininfo -id "$window" | awk '/Width/ {w=$NF} /Height/ {h=$NF} END {print w "x" h}')
check "the window is 960x960 (got $geometry)" test "$geometry" = "960x960"

# Everything below happens with the pointer over the window's centre.
eval "$(xdotool getwindowgeometry --shell "$window")"
cx=$((X + WIDTH / 2))
cy=$((Y + HEIGHT / 2))
xdotool mousemove "$cx" "$cy"

sleep 3
shot start
check "within 3 s the window shows a picture that is not black" greater "$(lit_of "$shots/start.png")" 0.001

hold_key n
sleep 2
shot new
check "N shows another picture" greater "$(difference "$shots/start.png" "$shots/new.png")" 0.3

# B leaves the view where it stands, but the automatic fitting may still be moving
# it: one wheel step turns auto mode off, so both pictures share one view.
sleep 2
xdotool click 4
sleep 3
shot settled
hold_key b
sleep 4
shot colors
check "B keeps the shape" greater "$(shape_overlap "$shots/settled.png" "$shots/colors.png")" 0.5
check "B changes the colours" greater "$(difference "$shots/settled.png" "$shots/colors.png")" 0.3

# The part-count overlay sits at the top centre; it has gone once growth stopped.
top="400x40+280+30"
hold_key a
sleep 4
shot before-tab
hold_key Tab 0.3
sleep 0.3
shot after-tab
check "Tab shows the part-count overlay at the top" greater "$(difference "$shots/before-tab.png" "$shots/after-tab.png" "$top")" 0.1

sleep 4
shot idle
xdotool mousedown 1
sleep 0.4
shot help
xdotool mouseup 1
sleep 0.4
shot after-help
help_area="600x500+180+160"
check "holding the left button shows the title and help" greater "$(yellow_of "$shots/help.png" "$help_area")" 500
check "releasing the left button hides them" greater 20 "$(yellow_of "$shots/after-help.png" "$help_area")"

hold_key a
sleep 3
shot before-wheel
for _ in 1 2 3 4 5; do
    xdotool click 5
    sleep 0.1
done
sleep 2
shot after-wheel
check "the wheel changes the picture's size" greater "$(difference "$shots/before-wheel.png" "$shots/after-wheel.png")" 0.3

xdotool keydown ctrl
for _ in $(seq 1 15); do
    xdotool click 4
    sleep 0.1
done
xdotool keyup ctrl
sleep 2
shot larger-parts
check "Ctrl and the wheel change the parts' size" greater "$(difference "$shots/after-wheel.png" "$shots/larger-parts.png")" 0.2

xdotool mousedown 3
sleep 0.2
xdotool mousemove $((cx + 120)) $((cy + 80))
sleep 0.5
shot dragging
xdotool mouseup 3
sleep 2
shot dropped
check "a right-button drag moves the picture" greater "$(difference "$shots/larger-parts.png" "$shots/dragging.png")" 0.3
check "the picture is redrawn on release" greater "$(lit_of "$shots/dropped.png")" 0.001

hold_key x 0.3
wait_exit "$pid"
check "X exits with code 0 (got $code)" test "$code" = 0

# Closing the window as a window manager would ends the program normally.
setsid ./vornaly &
pid=$!
answer_box "Vornaly" Escape
window=$(wait_window "Vornaly - vornaly.art" 15)
sleep 1
"$close_window" "$window"
wait_exit "$pid"
check "closing the window exits with code 0 (got $code)" test "$code" = 0

# A picture that cannot be loaded: one message, no frame loop, exit code 0.
broken=$(mktemp -d)
cp -r "$run_dir/pix" "$broken/pix"
printf 'not a picture' >"$broken/pix/zz-broken.png"
for file in vornaly Graphics.paq Sound.paq; do
    ln -s "$run_dir/$file" "$broken/$file"
done
cd "$broken"
setsid ./vornaly &
pid=$!
answer_box "Vornaly" Escape
sleep 1
screenshot "$(wait_window "Error" 15)" "$shots/error.png"
check "a broken picture shows an error box" test -s "$shots/error.png"
click_box_button "Error"
wait_exit "$pid"
check "after the error the program exits with code 0 (got $code)" test "$code" = 0
rm -rf "$broken"

echo "screenshots: $shots"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
