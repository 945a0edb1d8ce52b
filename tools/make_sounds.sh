#!/bin/sh
# make_sounds.sh OUTDIR
# Synthesises the program's eight sound effects with sox into OUTDIR: one.mp3 (new colours),
# iter.mp3 (next generation) and a1.mp3 .. a6.mp3 (new composition). Every tone starts softly
# and dies away exponentially; each effect is normalised to -3 dBFS so none clips. sox runs in
# repeatable mode without dither, so the files are byte-identical from build to build.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi
out=$1
SOX=${SOX:-sox}
RATE=44100

# tone WAVE FREQ START LENGTH: one tone as a sox input pipe, starting START seconds in,
# LENGTH seconds long, with a 10 ms attack and an exponential decay over its whole length.
# Each tone is 15 dB down so that the mix of all tones of an effect stays below full scale.
tone() {
    printf '|%s -R -D -n -r %s -c 1 -p synth %s %s %s fade l 0.01 %s %s gain -15 pad %s' \
        "$SOX" "$RATE" "$4" "$1" "$2" "$4" "$4" "$3"
}

# effect NAME INPUT...: mixes the tones (each given as -v VOLUME PIPE) into NAME.mp3.
effect() {
    name=$1
    shift
    "$SOX" -R -D -m "$@" -C 128 "$out/$name.mp3" gain -n -3
}

# New colours: a quick upward sparkle of two high notes.
effect one \
    -v 1.0 "$(tone sine 1318.51 0 0.45)" -v 0.3 "$(tone sine 2637.02 0 0.25)" \
    -v 0.9 "$(tone sine 1567.98 0.07 0.45)" -v 0.25 "$(tone sine 3135.96 0.07 0.25)"

# Next generation: a soft rising glide answered by a bright note.
effect iter \
    -v 1.0 "$(tone sine 440:660 0 0.35)" -v 0.4 "$(tone sine 880:1320 0 0.3)" \
    -v 0.7 "$(tone sine 987.77 0.12 0.38)"

# a1: rising C major arpeggio.
effect a1 \
    -v 1.0 "$(tone sine 523.25 0 0.9)" -v 0.25 "$(tone sine 1046.5 0 0.5)" \
    -v 0.9 "$(tone sine 659.25 0.09 0.9)" -v 0.22 "$(tone sine 1318.51 0.09 0.5)" \
    -v 0.85 "$(tone sine 783.99 0.18 0.9)" -v 0.2 "$(tone sine 1567.98 0.18 0.5)" \
    -v 0.8 "$(tone sine 1046.5 0.27 0.9)" -v 0.18 "$(tone sine 2093.0 0.27 0.5)"

# a2: a small bell on A5 with its inharmonic overtones and a low hum.
effect a2 \
    -v 1.0 "$(tone sine 880 0 1.3)" -v 0.35 "$(tone sine 440 0 1.3)" \
    -v 0.4 "$(tone sine 2428.8 0 0.7)" -v 0.15 "$(tone sine 4752 0 0.35)"

# a3: a rising fifth, D5 then A5.
effect a3 \
    -v 1.0 "$(tone sine 587.33 0 0.8)" -v 0.3 "$(tone sine 1174.66 0 0.45)" \
    -v 1.0 "$(tone sine 880 0.15 0.85)" -v 0.3 "$(tone sine 1760 0.15 0.45)"

# a4: glassy shimmer: two slightly detuned E6 tones beating slowly, and a B6 above.
effect a4 \
    -v 1.0 "$(tone sine 1318.5 0 1.2)" -v 1.0 "$(tone sine 1322.5 0 1.2)" \
    -v 0.6 "$(tone sine 1975.5 0.05 1.0)"

# a5: a falling pentatonic run, G6 E6 D6 C6.
effect a5 \
    -v 0.8 "$(tone sine 1567.98 0 0.7)" -v 0.85 "$(tone sine 1318.51 0.08 0.7)" \
    -v 0.9 "$(tone sine 1174.66 0.16 0.7)" -v 1.0 "$(tone sine 1046.5 0.24 0.75)"

# a6: a warm strummed Fmaj7 chord in soft triangle waves.
effect a6 \
    -v 1.0 "$(tone triangle 349.23 0 1.4)" -v 0.9 "$(tone triangle 440 0.03 1.37)" \
    -v 0.85 "$(tone triangle 523.25 0.06 1.34)" -v 0.8 "$(tone triangle 659.25 0.09 1.31)"
