#!/usr/bin/env bash
# Takes a screenshot of every window of the game under Xvfb with a small window manager,
# so that each can be looked at: usage  tools/screenshots.sh [program] [out-folder] [WxH] [scale]
# The scale (1.5, 2) enlarges everything as a desktop set to large text does.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$here/build/clavimo}")"
out="${2:-/tmp/clavimo-shots}"
size="${3:-1280x1024}"
scale="${4:-1}"

for p in xvfb xdotool imagemagick openbox perl x11-xkb-utils x11-utils; do
  dpkg -s "$p" >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$p"
done

mkdir -p "$out"
work="$(mktemp -d)"
source "$here/tests/support/xvfb.sh"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

start_desktop "${size}x24"

# A one-letter record file with a dozen players (name, Mini, average), records hard to beat.
perl -e '
  my @p = (["Paul",412,655],["Zo\xe9",388,601],["Mathilde",455,702],["Hugo",521,803],
           ["L\xe9on",367,590],["Chlo\xe9",402,640],["Nathan",610,9999],["In\xe8s",395,612],
           ["Gabriel",450,690],["Manon",480,744],["Rapha\xebl",430,668],["Jade",371,600]);
  print pack("A15 s< s<", "L\xe9on", 80, 0), pack("A15 s< s<", "L\xe9on", 0, 95);
  print pack("A15 s< s<", @$_) for @p;' > "$work/clvfic1.txt"

# A history of forty games of Paul's over the last weeks, written by the test suite's
# helper program when it has been built beside the game.
writer="$(dirname "$program")/tests/history_writer"
if [ -x "$writer" ]; then
  "$writer" sample "$work/historique.sqlite" Paul 40 >/dev/null
else
  echo "no $writer: the progression window will be empty" >&2
fi

cd "$work"
QT_SCALE_FACTOR="$scale" "$program" >/dev/null 2>&1 & pids+=($!)

fail() { echo "screenshots: $*" >&2; exit 1; }
shot() { sleep "${2:-0.4}"; import -window root "$out/$1.png"; echo "$out/$1.png"; }
window() { xdotool search --sync --onlyvisible --name "^$1\$" | tail -n 1; }

wait_main_window 10
main="$MAIN_ID"
xdotool windowactivate --sync "$main"
shot main 1

xdotool key F2
window 'Liste des joueurs' >/dev/null
xdotool type --delay 40 'paul'; xdotool key Return
xdotool type --delay 40 'zoé'; xdotool key Return
shot players
xdotool key Return
sleep 0.5

xdotool windowactivate --sync "$main"
xdotool key space
shot item-one-letter
xdotool type --delay 5 'abcdefghijklmnopqrstuvwxyz'
sleep 0.3
close_boxes Paul

xdotool windowactivate --sync "$main"
xdotool key F3
window 'Liste des records' >/dev/null
shot records
xdotool key Return
sleep 0.3

# The progression window once per keyboard layout, set on the X server first: the window
# follows the server's layout. The server goes back to its own layout for the typing below.
for layout in fr be "ch fr" ca "fr bepo" "fr afnor"; do
  setxkbmap $layout
  xdotool windowactivate --sync "$main"
  xdotool key F5
  window Progression >/dev/null
  shot "progression-${layout// /-}" 1
  if [ "$layout" = fr ]; then
    # Tab to the keyboard map, which a small window scrolls into sight.
    xdotool key Tab Tab Tab Tab
    shot progression-fr-map 0.5
  fi
  xdotool key Escape
  sleep 0.3
done
setxkbmap us

xdotool windowactivate --sync "$main"
xdotool key alt+question Up Return
window Clavimo >/dev/null
shot about 1.5
xdotool key Escape
sleep 0.3

# The rest of Paul's game, to reach the hand-over window.
xdotool windowactivate --sync "$main"
for _ in $(seq 19); do
  xdotool windowactivate --sync "$main"
  xdotool key space
  xdotool type --delay 2 'abcdefghijklmnopqrstuvwxyz'
  sleep 0.2
  close_boxes Paul
done
window "C'est fini !" >/dev/null
shot handover 0.3
sleep 2.5

xdotool windowactivate --sync "$main"
xdotool key alt+o 6
sleep 0.5
# Zoé is new in six-letter mode: close her greeting.
xdotool key Return
sleep 0.3
xdotool windowactivate --sync "$main"
xdotool key space
shot item-six-letters
