#!/usr/bin/env bash
# Every sound cue the real program plays is heard to its end, and the goodbye cue is heard
# when quitting with Escape and OK, the windows gone and the files closed at once and the
# program ended once the cue is over; with the sound off, or no sound server, it ends at once.
#
# The program plays into the null sink of a PulseAudio server of the test's own, whose
# monitor is recorded; the recording is cut into cues at their silences and each cue's
# length is compared with the sound its file holds, measured the same way.
set -euo pipefail

program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
data="$here/../../data"
work="$(mktemp -d)"
source "$here/../support/xvfb.sh"
source "$here/../support/pulse.sh"
source "$here/../support/program.sh"
rec_pid=""
trap end_script EXIT
# How far a cue heard may be from its file's sound, how long after its end the program may
# take to end, and what counts as at once (the goodbye alone lasts 698 ms), in milliseconds.
tolerance=30
margin=300
at_once=500
problems=()

undo_more() { [ -z "$rec_pid" ] || kill "$rec_pid" 2>/dev/null; stop_pulse; }

ms() { awk -v s="$1" 'BEGIN { printf "%d", s * 1000 + 0.5 }'; }

start_pulse "$(mktemp -d)" || skip "$PULSE_SKIP"

# The sound each cue file holds, measured as the recording will be: at the sink's rate.
declare -A expected
for file in "$data"/*.wav; do
  cue="$(basename "$file" .wav)"
  sox "$file" -r 44100 -c 1 "$work/ref.wav"
  expected[$cue]="$(ms "$(sound_spans "$work/ref.wav" | awk 'NR == 1 { print $2 }')")"
done

start_recording() {
  parec --latency-msec=20 -d cues.monitor --file-format=wav --rate=44100 --channels=1 \
    --format=s16le "$1" 2>>"$work/parec.log" &
  rec_pid=$!
  sleep 0.5
}

stop_recording() {
  sleep 0.5
  kill -INT "$rec_pid" 2>/dev/null || true
  wait "$rec_pid" 2>/dev/null || true
  rec_pid=""
}

# check_heard NAME LENGTH_MS: the cue NAME heard for LENGTH_MS, against its file.
check_heard() {
  local want="${expected[$1]}" diff
  diff=$(($2 - want))
  echo "  $1.wav: heard $2 ms, file $want ms (whole file $(ms "$(soxi -D "$data/$1.wav")") ms)"
  [ "${diff#-}" -le "$tolerance" ] || problems+=("$1.wav heard for $2 ms, its file sounds for $want ms")
}

# The chain itself first: a cue played by paplay is heard whole.
start_recording "$work/calibration.wav"
paplay "$data/cparti.wav"
stop_recording
echo "paplay:"
check_heard cparti "$(ms "$(sound_spans "$work/calibration.wav" | awk 'NR == 1 { print $2 }')")"
[ "${#problems[@]}" = 0 ] || fail "the recording does not hear paplay whole: ${problems[*]}"

# Records the game cannot beat (an absolute and a personal Mini of 1 ms) so that the only
# cues of the game are "Oui !", each with time to end before the next item, then the two
# average records, each left to end before its box is closed.
record() { printf '%-15s' "$1"; printf "\\x$(printf %02x $(($2 & 255)))\\x$(printf %02x $(($2 >> 8)))"; printf "\\x$(printf %02x $(($3 & 255)))\\x$(printf %02x $(($3 >> 8)))"; }
mkdir "$work/play"
cd "$work/play"
{ record Personne 1 9999; record Personne 9999 9999; record Paul 1 9999; } >clvfic1.txt

start_xvfb 1280x1024x24
watch_windows "$work/windows.log"

# Quits with Escape and OK; sets quit_ms, the time from OK to the process's end, and
# hidden_ms, the time from OK to the last window of the program hidden, as the X server
# tells it (below zero when the windows went before the key's sender had returned). The end is taken by wait, which returns the moment the process ends, so that a
# loaded machine does not add the polling's own delays. The files must be closed by the
# time the main window is gone: a watcher looks at them then.
quit_program() {
  local main before asked watcher guard status=0
  main="$(main_window_id)"
  before="$(now_ms)"
  ask_quit "$main"
  asked="$(now_ms)"
  rm -f "$work/open"
  ( for _ in $(seq 1000); do
      if grep -q " unmap $main\$" "$work/windows.log"; then
        ls -l "/proc/$app_pid/fd" 2>/dev/null | grep -cE 'clvfic|clavimo\.ini' >"$work/open"
        exit 0
      fi
      sleep 0.01
    done ) &
  watcher=$!
  ( sleep 20; kill "$app_pid" 2>/dev/null ) &
  guard=$!
  wait "$app_pid" || status=$?
  quit_ms=$(($(now_ms) - asked))
  app_pid=""
  kill "$guard" 2>/dev/null || true
  wait "$watcher" || true
  [ "$status" = 0 ] || fail "the program ended with status $status after Quitter"
  hidden_ms=$(awk -v from="$before" -v ok="$asked" '$2 == "unmap" && $1 >= from { t = $1 } END { if (t) print t - ok }' "$work/windows.log")
  [ "$(cat "$work/open" 2>/dev/null || echo 0)" = 0 ] || fail "files still open while the program ends"
}

start_recording "$work/game.wav"
start_program
# The start cue plays as the main window comes: it is left to end, well apart from the
# game's first cue.
sleep 1.5
main_id="$(focus_window Clavimo)"
name_player paul
sleep 0.5
for item in $(seq 20); do
  xdotool windowfocus --sync "$main_id"
  xdotool key space
  # The last item is slow, so that it is no best of the game and no "Oui !" runs into the
  # record cues that follow it.
  [ "$item" = 20 ] && sleep 2
  xdotool type --delay 5 'abcdefghijklmnopqrstuvwxyz'
  if [ "$item" = 20 ]; then
    # "Record perso moyenne !", then "Record absolu moyenne !", each box closed once
    # its cue is over.
    for _ in 1 2; do
      sleep 2.6
      focus_window Paul >/dev/null
      xdotool key Return
    done
  fi
  sleep 0.6
done
# The hand-over window closes by itself after two seconds.
sleep 3
close_boxes Paul
stop_recording
# The goodbye in a recording of its own.
start_recording "$work/goodbye.wav"
quit_program
stop_recording
echo "ended $quit_ms ms after OK, windows gone after ${hidden_ms:-?} ms"

mapfile -t spans < <(sound_spans "$work/game.wav")
echo "heard ${#spans[@]} cues in the game:"
# The start cue, at least one "Oui !" (the game's first item is its best so far), and the
# two average records.
[ "${#spans[@]}" -ge 4 ] || fail "too few cues heard: ${spans[*]}"
names=(cparti)
for _ in $(seq $((${#spans[@]} - 3))); do names+=(oui); done
names+=(recmoy recmoyab)
for i in "${!spans[@]}"; do
  check_heard "${names[$i]}" "$(ms "${spans[$i]#* }")"
done
mapfile -t spans < <(sound_spans "$work/goodbye.wav")
echo "heard ${#spans[@]} cues after OK:"
if [ "${#spans[@]}" = 1 ]; then
  check_heard aurevoir "$(ms "${spans[0]#* }")"
else
  problems+=("${#spans[@]} cues heard after OK instead of the goodbye: ${spans[*]}")
fi
goodbye="$(soxi -D "$data/aurevoir.wav")"
limit=$(($(ms "$goodbye") + margin))
[ "$quit_ms" -le "$limit" ] || problems+=("the program ended $quit_ms ms after OK, its goodbye lasts $(ms "$goodbye") ms")
[ "${hidden_ms:-$quit_ms}" -le "$at_once" ] || problems+=("the windows stayed $hidden_ms ms after OK")
[ "${#problems[@]}" = 0 ] || fail "$(printf '%s; ' "${problems[@]}")"

# With the sound off, and with no sound server to play to, the program ends without waiting
# for its goodbye: sooner than the cue's file lasts, which a program waiting for the cue
# cannot do however fast the machine. The windows go at once.
printf '\x00\x00' >clavimo.ini
start_program
quit_program
echo "sound off: ended $quit_ms ms after OK, windows gone after ${hidden_ms:-?} ms"
[ "$quit_ms" -lt "$(ms "$goodbye")" ] || fail "with the sound off the program ended $quit_ms ms after OK"
[ "${hidden_ms:-$quit_ms}" -le "$at_once" ] || fail "with the sound off the windows stayed $hidden_ms ms after OK"
printf '\xff\xff' >clavimo.ini
PULSE_SERVER="unix:$work/nowhere" start_program
quit_program
echo "no sound server: ended $quit_ms ms after OK"
[ "$quit_ms" -lt "$(ms "$goodbye")" ] || fail "without a sound server the program ended $quit_ms ms after OK"
echo "1 passed, 0 failed"
