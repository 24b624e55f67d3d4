#!/usr/bin/env bash
# Plays a little under Xvfb on a private session bus and reads the game's accessible tree
# through AT-SPI, as a screen reader would: the main window, an item and its time told,
# the records list, and the progression window walked with Tab and the arrow keys.
# Usage: tools/atspi_dump.sh [program] > dump.txt
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$here/build/clavimo}")"

if [ -z "${CLAVIMO_ATSPI_INNER:-}" ]; then
  for p in xvfb xdotool openbox x11-utils dbus at-spi2-core python3-pyatspi; do
    dpkg -s "$p" >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$p"
  done
  # A session bus of its own, gone with the script.
  exec env CLAVIMO_ATSPI_INNER=1 dbus-run-session -- bash "$0" "$program"
fi

work="$(mktemp -d)"
source "$here/tests/support/xvfb.sh"
fail() { echo "atspi_dump: $*" >&2; exit 1; }
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

start_desktop "1280x1024x24"

writer="$(dirname "$program")/tests/history_writer"
[ -x "$writer" ] && "$writer" sample "$work/historique.sqlite" Paul 40 >/dev/null

cd "$work"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >/dev/null 2>&1 & pids+=($!)
wait_main_window 10
main="$MAIN_ID"
xdotool windowactivate --sync "$main"
sleep 1

/usr/bin/python3 "$here/tools/atspi_dump.py" listen > "$work/events.txt" 2>&1 & pids+=($!)
sleep 1

echo "== Main window"
/usr/bin/python3 "$here/tools/atspi_dump.py" tree Clavimo

echo "== Player list (F2 with nobody named)"
xdotool key F2
focus_window 'Liste des joueurs' >/dev/null
/usr/bin/python3 "$here/tools/atspi_dump.py" tree 'Liste des joueurs'
xdotool type --delay 40 'paul'; xdotool key Return; sleep 0.3; xdotool key alt+o
sleep 0.5
close_boxes Paul

echo "== One item: Space, then the letter told"
xdotool windowactivate --sync "$main"; sleep 0.3
xdotool key space; sleep 0.8
letter="$(grep -o 'Lettre.*' "$work/events.txt" | tail -n 1 | sed 's/.*: //')"
xdotool type --delay 5 "$(echo "$letter" | tr 'A-Z' 'a-z')"; sleep 0.8
close_boxes Paul
xdotool windowactivate --sync "$main"; sleep 0.3
/usr/bin/python3 "$here/tools/atspi_dump.py" tree Clavimo | grep -E "label|animation|image" | head -20

echo "== Records list (F3)"
xdotool key F3
focus_window 'Liste des records' >/dev/null; sleep 0.5
/usr/bin/python3 "$here/tools/atspi_dump.py" tree 'Liste des records'
xdotool key Return; sleep 0.5

echo "== Progression (F5), Tab to the chart, then to the map, Down Right Right"
xdotool windowactivate --sync "$main"; sleep 0.3
xdotool key F5
focus_window Progression >/dev/null; sleep 1
xdotool key Tab Tab; sleep 0.5
xdotool key Tab Tab Tab; sleep 0.5
xdotool key Down Right Right; sleep 0.8
/usr/bin/python3 "$here/tools/atspi_dump.py" tree Progression | grep -vE "^ +\[(table cell|table row header)\]" | head -60
xdotool key Escape; sleep 0.5

echo "== Events heard while playing"
cat "$work/events.txt"
