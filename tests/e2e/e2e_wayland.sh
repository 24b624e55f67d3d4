#!/usr/bin/env bash
# Runs the real program under a headless Wayland compositor (sway) and plays a one-letter
# game typed with wtype: the splash picture grows centred on the screen, and no window of
# the program is ever marked urgent (an activation asked for a window behind a box).
# Skips (status 77) where sway, grim or wtype is missing or sway cannot start, and where
# no screenshot caught the splash part-grown.
# CLAVIMO_WAYLAND_SHOTS=DIR keeps the screenshots (splash-*.ppm, main.png) in DIR.
set -euo pipefail

program="$1"
work="$(mktemp -d)"
source "$(dirname "$0")/../support/program.sh"
shots="${CLAVIMO_WAYLAND_SHOTS:-}"
trap end_script EXIT

for tool in sway swaymsg grim wtype; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

# The compositor refuses to run as root: as root it runs as nobody, with a runtime folder
# of its own that the program, as root, reaches too.
compositor="$work/compositor"
runtime="$compositor/runtime"
mkdir -p "$runtime"
chmod 755 "$work" "$compositor"
chmod 700 "$runtime"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown nobody "$runtime"
  as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
fi
cat >"$compositor/config" <<'EOF'
xwayland disable
output HEADLESS-1 mode 1280x1024
EOF
chmod 644 "$compositor/config"
env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as_user[@]}" sway -c "$compositor/config" >"$compositor/sway.log" 2>&1 &
sway_pid=$!
pids+=("$sway_pid")
socket=""
ipc=""
for _ in $(seq 100); do
  socket="$(cd "$runtime" && ls wayland-[0-9] 2>/dev/null | head -n 1 || true)"
  ipc="$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1 || true)"
  [ -n "$socket" ] && [ -n "$ipc" ] && swaymsg -s "$ipc" -t get_version >/dev/null 2>&1 && break
  kill -0 "$sway_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$socket" ] || [ -z "$ipc" ] || ! swaymsg -s "$ipc" -t get_version >/dev/null 2>&1; then
  skip "sway could not start: $(tail -n 2 "$compositor/sway.log" | tr '\n' ' ')"
fi
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" SWAYSOCK="$ipc"

# Every change of the windows, to look for an urgent one at the end.
swaymsg -t subscribe -m '["window"]' >"$work/events.log" 2>&1 &
pids+=($!)

# A key typed with wtype. Each run is a new virtual keyboard, which the program only
# hears once it has been told of it: a key sent at once would be lost.
key() { wtype -s 300 "$@"; }
# How many windows are named NAME. The tree is read whole before it is searched: with
# pipefail, "swaymsg | grep -q" fails whenever grep stops at a match while swaymsg is still
# writing (a tree of over 4 KiB is written in two parts), and swaymsg dies of SIGPIPE.
windows_named() {
  local tree
  tree="$(swaymsg -t get_tree)" || return 0
  grep -cF "\"name\": \"$1\"" <<<"$tree" || true
}
has_window() { [ "$(windows_named "$1")" -ge 1 ]; }
# Enter in every box titled TITLE (a player's name: greetings and records) until none
# is left; the compositor gives each box the focus.
close_boxes() {
  for _ in $(seq 20); do
    has_window "$1" || return 0
    key -k Return
    sleep 0.2
  done
}
# The box of the centre of the screen (400 x 320 pixels, the splash is 247 x 185), as
# "x y width height" of the pixels unlike its corner (the desktop), or nothing.
frame_box() {
  od -An -v -tu1 -w3 -j 15 "$1" | awk -v w=400 '
    NR == 1 { desktop = $0 }
    $0 != desktop {
      i = NR - 1; x = i % w; y = int(i / w)
      if (n++ == 0) { x0 = x1 = x; y0 = y1 = y }
      if (x < x0) x0 = x; if (x > x1) x1 = x; if (y < y0) y0 = y; if (y > y1) y1 = y
    }
    END { if (n) print x0, y0, x1 - x0 + 1, y1 - y0 + 1 }'
}

mkdir "$work/play"
cd "$work/play"
QT_QPA_PLATFORM=wayland "$program" >"$work/out.log" 2>&1 &
app_pid=$!

# The splash grows for half a second: the centre of the screen taken as often as grim can
# until the main window has written the absolute records of the new file.
first_shot="$(now_ms)"
for i in $(seq -w 60); do
  last_shot="$(now_ms)"
  grim -g "440,352 400x320" -t ppm "$work/splash-$i.ppm" 2>/dev/null || true
  [ "$(stat -c %s clvfic1.txt 2>/dev/null || echo 0)" = "38" ] && break
  if ! kill -0 "$app_pid" 2>/dev/null; then
    grep -q 'platform plugin "wayland"' "$work/out.log" && skip "Qt's wayland platform is not installed (qt6-wayland)"
    fail "the program ended at start-up"
  fi
done
for _ in $(seq 50); do
  [ "$(stat -c %s clvfic1.txt 2>/dev/null || echo 0)" = "38" ] && break
  sleep 0.1
done
sleep 0.5
grim "$work/main.png"
[ -n "$shots" ] && mkdir -p "$shots" && cp "$work"/splash-*.ppm "$work/main.png" "$shots/"

# While it grows, the picture's frame is centred on the screen, never larger than the
# splash, and larger from one screenshot to the next.
growing=0
previous=0
for shot in "$work"/splash-*.ppm; do
  read -r x y width height < <(frame_box "$shot"; echo "0 0 0 0") || true
  [ "$width" = 0 ] && continue
  # A frame reaching the border of the screenshot is the main window, larger than it, come
  # before the loop above saw the records file written: the splash is gone by then.
  [ "$x" = 0 ] || [ "$y" = 0 ] || [ $((x + width)) = 400 ] || [ $((y + height)) = 320 ] && break
  echo "splash $(basename "$shot"): ${width}x${height} at $((x + 440)),$((y + 352))"
  [ $((2 * x + width - 400)) -ge -2 ] && [ $((2 * x + width - 400)) -le 2 ] \
    && [ $((2 * y + height - 320)) -ge -2 ] && [ $((2 * y + height - 320)) -le 2 ] \
    || fail "the splash's ${width}x${height} frame is not centred"
  [ "$width" -le 247 ] && [ "$height" -le 186 ] || fail "the splash is ${width}x${height}"
  [ "$width" -ge "$previous" ] || fail "the splash shrank from $previous to $width pixels wide"
  [ "$width" -lt 247 ] && [ "$width" -gt "$previous" ] && growing=$((growing + 1))
  previous="$width"
done
# One size between nothing and the full picture shows the growth. The growth follows the
# clock: with screenshots 100 ms apart or less, seeing none is a fault; further apart (a
# busy machine, where grim may take a third of the half second), it is not judged, and
# the test, once all else has passed, says so and is counted as skipped.
unjudged=""
shot_ms=$(((last_shot - first_shot) / (10#$i > 1 ? 10#$i - 1 : 1)))
if [ "$growing" = 0 ]; then
  [ "$shot_ms" -gt 100 ] || fail "the splash was not seen growing, with screenshots $shot_ms ms apart"
  unjudged="the splash was not seen growing, with screenshots $shot_ms ms apart on a busy machine"
fi

# A player named in the list, welcomed in a box that comes as the list closes.
# F2 is pressed again when no list comes: on a busy machine the main window may not have
# the focus yet when the first one is sent.
for _ in 1 2 3; do
  key -k F2
  for _ in $(seq 30); do has_window 'Liste des joueurs' && break; sleep 0.1; done
  has_window 'Liste des joueurs' && break
done
has_window 'Liste des joueurs' || fail "no player list after F2"
key paul -k Return
sleep 0.3
key -k Return
sleep 0.5
close_boxes Paul

for _ in $(seq 20); do
  key -k space -s 50 -d 5 abcdefghijklmnopqrstuvwxyz
  sleep 0.2
  close_boxes Paul
done

# The hand-over window closes by itself after two seconds.
sleep 3
close_boxes Paul
no_urgent_window() {
  if grep -q '"urgent": true' "$work/events.log"; then
    fail "a window was marked urgent $1 ($(grep -c '"urgent": true' "$work/events.log") window changes with one)"
  fi
}
no_urgent_window "during the game"
# Escape asks whether to quit in a box titled Clavimo, as the main window is; Escape is
# pressed again when no box comes, in case the key was lost.
for _ in 1 2 3; do
  key -k Escape
  for _ in $(seq 30); do [ "$(windows_named Clavimo)" -ge 2 ] && break; sleep 0.1; done
  [ "$(windows_named Clavimo)" -ge 2 ] && break
done
[ "$(windows_named Clavimo)" -ge 2 ] || fail "no box asking whether to quit"
key -k Return
expect_end 5 "Escape and OK"

size="$(stat -c %s clvfic1.txt)"
[ "$size" = "57" ] || fail "clvfic1.txt holds $size bytes: the game was not played to its end"
no_urgent_window "when quitting"
echo "$(grep -c '"change"' "$work/events.log") window changes, none urgent"
[ -z "$unjudged" ] || skip "all else passed, but $unjudged"
echo "1 passed, 0 failed"
