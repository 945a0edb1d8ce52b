# Helpers for driving Vornaly on a virtual X display; sourced by run.sh and the
# end-to-end test. Needs Xvfb, xdotool, xwininfo (x11-utils) and ImageMagick.

# Starts Xvfb on a free display unless DISPLAY already answers; exports DISPLAY.
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n=${XVFB_DISPLAY_FROM:-90}
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do
        n=$((n + 1))
    done
    Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":${n}"
    for _ in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on ${DISPLAY}" >&2
    return 1
}

stop_display() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "${XVFB_PID}" 2>/dev/null || true
        wait "${XVFB_PID}" 2>/dev/null || true
        XVFB_PID=
    fi
}

# Window id (hex) of the first window whose name is exactly $1, or nothing.
window_by_name() {
    xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\"" 'index($0, name) { print $1; exit }'
}

# Waits up to $2 seconds for a window named $1; prints its id.
wait_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(window_by_name "$1")
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Answers the question box named $1 with the key $2 (Escape: No, Return: Yes).
answer_box() {
    local id geometry x y w h
    id=$(wait_window "$1" 15) || return 1
    geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF} END {print x, y, w, h}')
    read -r x y w h <<<"$geometry"
    xdotool mousemove $((x + w / 2)) $((y + h / 2))
    sleep 0.3
    xdotool key "$2"
}

# Holds key $1 for $2 seconds (default 0.2), so that a 50 fps poll cannot miss it.
hold_key() {
    xdotool keydown "$1"
    sleep "${2:-0.2}"
    xdotool keyup "$1"
}

# Saves window $1 as PNG $2.
screenshot() {
    import -window "$1" "$2"
}

# Clicks the single button of the message box named $1 (an error box's OK): the
# program's window holds the keyboard focus by then, so keys would not reach it.
click_box_button() {
    local id x y w h
    id=$(wait_window "$1" 15) || return 1
    read -r x y w h <<<"$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF} END {print x, y, w, h}')"
    xdotool mousemove $((x + w / 2)) $((y + h * 73 / 100)) click 1
}
