#!/usr/bin/env bash
# Menu commands chosen with the mouse and with the keyboard on the real program, under
# Xvfb with openbox as window manager (focus and activation are real there). After each
# command ONE press of the space bar must show the next item; the item is then typed to
# its end. A key pressed while a menu is open stays in the menu and shows no item.
#
# An item on show is seen on the screen: its gauge moves while it is timed and nothing
# else in the window moves, so two captures of the window differ exactly when an item is
# shown. Completed items also leave the player's records in both record files.
set -euo pipefail

program="$(realpath "$1")"
work="$(mktemp -d)"
source "$(dirname "$0")/../support/xvfb.sh"
source "$(dirname "$0")/../support/program.sh"
pids=()

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb openbox xdotool xprop xwd xwininfo; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

start_desktop 1280x1024x24

cd "$work"
# One word only, so that the six-letter item is known.
printf 'banane' > clvlet6.txt
QT_QPA_PLATFORM=xcb "$program" >"$work/out.log" 2>&1 & pids+=($!)
app_pid=$!

alphabet='abcdefghijklmnopqrstuvwxyz' # completes any one-letter item
step="start"

main=""
for _ in $(seq 150); do
  main="$(main_window_id)"
  [ -n "$main" ] && [ "$(stat -c %s clvfic1.txt 2>/dev/null || echo 0)" = "38" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "the main window never showed"

# Waits until the window manager gives the keyboard back to the main window.
wait_focus() {
  for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ] && return 0
    sleep 0.1
  done
  fail "$step: the main window did not get the keyboard back"
}

# An open menu is the program's one window that the window manager does not manage.
menu_window() {
  local id
  for id in $(xdotool search --onlyvisible --class '^Clavimo$' 2>/dev/null); do
    [ "$id" != "$main" ] && [[ "$(xwininfo -id "$id" 2>/dev/null)" == *'Override Redirect State: yes'* ]] && echo "$id"
  done
  return 0
}
wait_menu() {
  local id=""
  for _ in $(seq 30); do
    id="$(menu_window)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "$step: the menu did not open"
}
wait_no_menu() {
  for _ in $(seq 30); do
    [ -z "$(menu_window)" ] && return 0
    sleep 0.1
  done
  fail "$step: the menu did not close"
}

frame() { xwd -silent -id "$main" | md5sum; }
# True when the window keeps changing (an item is timed); false when it stays the same.
moving() {
  local a b c
  a="$(frame)"; sleep 0.3; b="$(frame)"; sleep 0.3; c="$(frame)"
  [ "$a" != "$b" ] && [ "$b" != "$c" ]
}
still() {
  local a b c
  sleep 0.3
  a="$(frame)"; sleep 0.3; b="$(frame)"; sleep 0.3; c="$(frame)"
  [ "$a" = "$b" ] && [ "$b" = "$c" ]
}

# One press of the space bar must show an item; typing it then completes it.
one_space_shows_an_item() {
  local keys="$1"
  wait_focus
  xdotool key space
  moving || fail "$step: one press of the space bar showed no item"
  xdotool type --delay 5 "$keys"
  sleep 0.3
  close_boxes Paul
  wait_focus
  still || fail "$step: typing '$keys' did not complete the item"
}

# Clicks the menu at x on the menu bar, then its entry at y inside the open menu.
mouse_command() {
  local x="$1" y="$2" id
  xdotool mousemove --window "$main" "$x" 9 click 1
  id="$(wait_menu)"
  sleep 0.2
  xdotool mousemove --window "$id" 40 "$y" click 1
  wait_no_menu
}
keyboard_command() {
  xdotool key "$1"
  wait_menu >/dev/null
  sleep 0.2
  xdotool key "$2"
  wait_no_menu
}
# Menu bar and entry positions (pixels): Jeu, Options; the first three entries of a menu.
jeu_x=19
options_x=66
entry1_y=10
entry2_y=32
entry3_y=54

step="naming the player"
xdotool windowactivate --sync "$main"
xdotool key F2
for _ in $(seq 50); do
  [ -n "$(xdotool search --onlyvisible --name '^Liste des joueurs$' 2>/dev/null)" ] && break
  sleep 0.1
done
xdotool type --delay 30 'paul'
xdotool key Return
sleep 0.2
xdotool key Return
sleep 0.5
close_boxes Paul # "Bienvenue au Club CLAVIMO !"
wait_focus
still || fail "$step: an item is shown before any press of the space bar"

step="Options, 6 lettres, with the mouse"
mouse_command "$options_x" "$entry2_y"
# Paul is new to the six-letter records: he is greeted once, and the greeting takes the
# keyboard until it is closed.
for _ in $(seq 30); do
  [ -n "$(xdotool search --onlyvisible --name '^Paul$' 2>/dev/null)" ] && break
  sleep 0.1
done
[ -n "$(xdotool search --onlyvisible --name '^Paul$' 2>/dev/null)" ] || fail "$step: no greeting in six letters"
close_boxes Paul
one_space_shows_an_item banane

step="Options, 1 lettre, with the mouse"
mouse_command "$options_x" "$entry1_y"
one_space_shows_an_item "$alphabet"

step="Alt+O then 6"
keyboard_command alt+o 6
one_space_shows_an_item banane

step="Alt+O then 1"
keyboard_command alt+o 1
one_space_shows_an_item "$alphabet"

step="Jeu, Nouveau jeu, with the mouse"
mouse_command "$jeu_x" "$entry1_y"
one_space_shows_an_item "$alphabet"

step="Alt+J then N"
keyboard_command alt+j n
one_space_shows_an_item "$alphabet"

step="Options, Son, with the mouse"
mouse_command "$options_x" "$entry3_y"
one_space_shows_an_item "$alphabet"
[ "$(od -An -tx1 clavimo.ini | tr -d ' \n')" = "0000" ] || fail "$step: the sound setting was not saved"

# The space bar pressed in an open menu is the menu's; once the menu is closed with
# Escape, one press shows the item.
step="space bar in the Options menu opened with the mouse"
wait_focus
xdotool mousemove --window "$main" "$options_x" 9 click 1
wait_menu >/dev/null
xdotool key space
still || fail "$step: the space bar reached the game through the open menu"
[ -n "$(menu_window)" ] || fail "$step: the menu closed"
xdotool key Escape
wait_no_menu
one_space_shows_an_item "$alphabet"

step="space bar in the Options menu opened with Alt+O"
xdotool key alt+o
wait_menu >/dev/null
xdotool key space
still || fail "$step: the space bar reached the game through the open menu"
xdotool key Escape
wait_no_menu
one_space_shows_an_item "$alphabet"

kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
# Paul's own Mini (record 3, after the absolute ones) is a real time in both modes.
for file in clvfic1.txt clvfic6.txt; do
  name="$(dd if="$file" bs=1 skip=38 count=15 2>/dev/null)"
  [ "$name" = "Paul           " ] || fail "$file: record 3 names '$name'"
  read -r mini < <(od -An -t d2 -j 53 -N 2 "$file")
  [ "$mini" -gt 0 ] && [ "$mini" -lt 9999 ] || fail "$file: Paul's Mini is $mini"
done
echo "1 passed, 0 failed"
