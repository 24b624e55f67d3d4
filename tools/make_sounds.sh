#!/usr/bin/env bash
# Builds the program's seven sound cues in data/: short French phrases spoken by
# espeak-ng's French voice, the record announcements preceded by a little chime made with
# sox. 16-bit PCM, mono, 22050 Hz. The output is the same on every run.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/../data"
rate=22050

for tool in espeak-ng sox; do
    if ! dpkg -s "$tool" >/dev/null 2>&1; then
        apt-get install -y "$tool"
    fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# -D: no dither, so that the files come out identical on every run.
sx() { sox -D "$@"; }

# speak NAME PITCH SPEED TEXT: the phrase, leading and trailing silence cut, levelled.
speak() {
    espeak-ng -v fr-fr -p "$2" -s "$3" -w "$work/$1.raw.wav" "$4"
    sx "$work/$1.raw.wav" -r "$rate" -c 1 -b 16 "$work/$1.trim.wav" \
        silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
    sx "$work/$1.trim.wav" "$work/$1.voice.wav" norm -1 fade t 0.01 0 0.03
}

# Two rising bell-like notes (G5, then C6 with E6) that announce a record. The plucked
# string generator wants 44.1 kHz; the notes are brought down to the cues' rate after.
sx -r 44100 -n -c 1 -b 16 "$work/note1.wav" synth 0.16 pluck G5 \
    gain -3 fade q 0.005 0.16 0.08 rate "$rate"
sx -r 44100 -c 2 -n -c 1 -b 16 "$work/note2.wav" synth 0.42 pluck C6 pluck E6 remix 1,2 \
    gain -3 fade q 0.005 0.42 0.3 rate "$rate"
sx -r "$rate" -n -c 1 -b 16 "$work/gap.wav" trim 0 0.08
sx "$work/note1.wav" "$work/note2.wav" "$work/gap.wav" "$work/chime.wav" norm -4

# finish FILE PARTS...: join the parts, add a short tail of silence, write the cue.
finish() {
    local file="$1"
    shift
    sx "$@" -r "$rate" -c 1 -b 16 -e signed-integer "$out/$file" pad 0 0.05
}

speak cparti 55 160 "C'est parti !"
speak aurevoir 50 150 "Au revoir !"
speak oui 60 150 "Oui !"
speak recmin 58 170 "Record mini perso !"
speak recminab 62 170 "Record mini absolu !"
speak recmoy 58 170 "Record perso moyenne !"
speak recmoyab 62 170 "Record absolu moyenne !"

finish cparti.wav "$work/cparti.voice.wav"
finish aurevoir.wav "$work/aurevoir.voice.wav"
finish oui.wav "$work/oui.voice.wav"
for cue in recmin recminab recmoy recmoyab; do
    finish "$cue.wav" "$work/chime.wav" "$work/$cue.voice.wav"
done

for f in cparti aurevoir oui recmin recminab recmoy recmoyab; do
    printf '%-13s %s s\n' "$f.wav" "$(soxi -D "$out/$f.wav")"
done
