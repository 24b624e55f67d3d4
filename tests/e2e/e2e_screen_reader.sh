#!/usr/bin/env bash
# A whole one-letter game played with a real screen reader listening: Orca, speaking
# through speech-dispatcher and espeak-ng into a PulseAudio null sink. The player types
# each letter only once Orca has said it, and Orca must say, in order, each item and its
# time (the times the history keeps), then that the game is over.
#
# Everything runs on a private session bus with its own accessibility bus, under Xvfb with
# openbox. Exits 77 (skipped), saying why, where Orca cannot run.
set -euo pipefail

program="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/program.sh"

if [ -z "${CLAVIMO_SCREEN_READER_INNER:-}" ]; then
  for tool in orca speech-dispatcher espeak-ng dbus-run-session Xvfb openbox xdotool sqlite3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
  done
  [ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] || skip "speech-dispatcher-espeak-ng is not installed"
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
  # Orca refuses to start while another Orca of the same user runs anywhere on the machine
  # (another test run, a desktop's own): where it can, the test runs in processes of its
  # own, where Orca sees no other.
  alone=()
  unshare --pid --fork --mount-proc true 2>/dev/null && alone=(unshare --pid --fork --mount-proc)
  # A session bus of its own, gone with the script, and the accessibility bus it starts.
  exec env CLAVIMO_SCREEN_READER_INNER=1 "${alone[@]}" dbus-run-session -- bash "$0" "$program" 2>&1
fi

work="$(mktemp -d)"
chmod 755 "$work"
source "$here/../support/xvfb.sh"
source "$here/../support/pulse.sh"
orca_log="$work/orca.log"
orca_pid=""

undo_more() {
  [ -n "$orca_pid" ] && kill "$orca_pid" 2>/dev/null
  # Orca refuses to start while another one runs: it is waited for, then killed.
  for _ in $(seq 50); do kill -0 "$orca_pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$orca_pid" 2>/dev/null || true
  wait "$orca_pid" 2>/dev/null || true
  # speech-dispatcher, started by Orca, is known by its socket in the private runtime folder.
  local speechd
  speechd="$(pgrep -f -- "--socket-path $work/run/speech-dispatcher/" || true)"
  if [ -n "$speechd" ]; then
    kill $speechd 2>/dev/null || true
    sleep 0.5
    kill -KILL $speechd 2>/dev/null || true
  fi
  stop_pulse
  # CLAVIMO_ORCA_LOG=FILE keeps Orca's debug file.
  [ -n "${CLAVIMO_ORCA_LOG:-}" ] && cp "$orca_log" "$CLAVIMO_ORCA_LOG" 2>/dev/null
  return 0
}
trap end_script EXIT

# What Orca said so far, one line each, no-break spaces made plain.
spoken() { sed -n "s/.*SPEECH OUTPUT: '\(.*\)'{.*/\1/p" "$orca_log" 2>/dev/null | sed 's/\xc2\xa0/ /g; s/\xe2\x80\xaf/ /g'; }
# wait_spoken PATTERN COUNT SECONDS: waits until Orca has said COUNT lines matching PATTERN.
wait_spoken() {
  for _ in $(seq $(($3 * 10))); do
    [ "$(spoken | grep -cE "$1" || true)" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "Orca did not say '$1' (time $2); it said: $(spoken | tail -n 5 | tr '\n' '|')"
}

start_desktop 1280x1024x24
start_pulse "$work/pulse" || skip "$PULSE_SKIP"
# Orca's settings, speech-dispatcher's socket and logs: all in the scratch folder.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Orca writes its debug file through a large buffer, many seconds late; it is started with
# that file written line by line, so that the test hears each sentence as it is said. Orca
# also kills itself when a step of its start takes over 10 s, which a busy machine can make
# it do: it is given a minute, the test's own waits being shorter.
/usr/bin/python3 -c '
import builtins, runpy, sys
import orca.settings
orca.settings.timeoutTime = 60
log = sys.argv[1]
plain_open = builtins.open
builtins.open = lambda f, mode="r", *a, **k: plain_open(f, mode, 1) if f == log else plain_open(f, mode, *a, **k)
sys.argv = ["orca", "--debug-file", log]
runpy.run_path("/usr/bin/orca", run_name="__main__")' "$orca_log" >"$work/orca.out" 2>&1 &
orca_pid=$!
for _ in $(seq 300); do
  spoken | grep -q . && break
  kill -0 "$orca_pid" 2>/dev/null || skip "Orca ended at its start: $(tail -n 3 "$work/orca.out" | tr '\n' ' ')"
  sleep 0.1
done
spoken | grep -q . || skip "Orca said nothing in 30 seconds: $(tail -n 3 "$work/orca.out" | tr '\n' ' ')"

cd "$work"
start_with_paul
main="$MAIN_ID"

for n in $(seq 20); do
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key space
  wait_spoken '^Lettre : .\.?$' "$n" 20
  letter="$(spoken | grep -E '^Lettre : ' | sed -n "${n}p" | sed 's/^Lettre : \(.\).*/\1/')"
  xdotool type "$(echo "$letter" | tr 'A-Z' 'a-z')"
  wait_spoken '^Temps : [0-9 ]+ millisecondes?\.?$' "$n" 20
  close_boxes Paul # record announcements
done
close_boxes Paul
wait_spoken '^Partie terminée\. Touche F2 pour une nouvelle partie\.?$' 1 20

# In order: item, time, item, time, ..., the end; the times are those the history keeps.
heard="$(spoken | grep -E '^(Lettre|Temps|Partie terminée)' | sed -E 's/^(Lettre|Temps|Partie).*/\1/' | tr '\n' ' ')"
expected="$(for _ in $(seq 20); do printf 'Lettre Temps '; done)Partie "
[ "$heard" = "$expected" ] || fail "Orca said, in this order: $heard"
times="$(spoken | sed -n 's/^Temps : \([0-9 ]*\) millisecondes\?\.\?$/\1/p' | tr -d ' ' | tr '\n' ' ')"
kept="$(sqlite3 historique.sqlite 'SELECT time_ms FROM items ORDER BY position' | tr '\n' ' ')"
[ "$times" = "$kept" ] || fail "Orca said the times $times, the history keeps $kept"
letters="$(spoken | sed -n 's/^Lettre : \(.\)\.\?$/\1/p' | tr -d '\n')"
shown="$(sqlite3 historique.sqlite 'SELECT shown FROM items ORDER BY position' | tr -d '\n')"
[ "$letters" = "$shown" ] || fail "Orca said the letters $letters, the game showed $shown"

# CLAVIMO_SPOKEN=FILE keeps what Orca said.
[ -n "${CLAVIMO_SPOKEN:-}" ] && spoken >"$CLAVIMO_SPOKEN"
ask_quit "$main"
expect_end 10 Quitter
echo "1 passed, 0 failed"
