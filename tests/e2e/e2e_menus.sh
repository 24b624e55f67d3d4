#!/usr/bin/env bash
# Menus of the real program under Xvfb with openbox as window manager, where the menus'
# grabs, focus and activation are real: after a command chosen with the mouse or with Alt
# and its letter, ONE press of the space bar shows the next item; a key pressed while a menu
# is open stays in the menu. An item is timed while the window keeps changing (its gauge
# moves), so two captures of the window differ exactly when an item is on show.
set -euo pipefail

program="$(realpath "$1")"
work="$(mktemp -d)"
source "$(dirname "$0")/../support/xvfb.sh"
source "$(dirname "$0")/../support/program.sh"
trap end_script EXIT
for tool in Xvfb openbox xdotool xprop xwd xwininfo; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

start_desktop 1280x1024x24
cd "$work"
printf 'banane' > clvlet6.txt # one word, so that the six-letter item is known
start_program
main="$MAIN_ID"
step="naming the player"
xdotool windowactivate --sync "$main"
name_player paul
sleep 0.5
close_boxes Paul

# An open menu is the program's one window that the window manager does not manage.
menu_open() {
  local id
  for id in $(xdotool search --onlyvisible --class '^Clavimo$' 2>/dev/null); do
    [ "$id" != "$main" ] && [[ "$(xwininfo -id "$id" 2>/dev/null)" == *'Override Redirect State: yes'* ]] && echo "$id" && return 0
  done
  return 1
}
wait_menu() { for _ in $(seq 30); do menu_open && return 0; sleep 0.1; done; fail "$step: no menu open"; }
wait_no_menu() { for _ in $(seq 30); do menu_open >/dev/null || return 0; sleep 0.1; done; fail "$step: the menu stayed open"; }
frame() { xwd -silent -id "$main" | md5sum; }
still() { local a b; sleep 0.3; a="$(frame)"; sleep 0.4; b="$(frame)"; [ "$a" = "$b" ]; }
# One press of the space bar shows an item (the window moves); typing `keys` completes it.
one_space_shows_an_item() {
  for _ in $(seq 50); do [ "$(xdotool getwindowfocus)" = "$main" ] && break; sleep 0.1; done
  xdotool key space
  still && fail "$step: one press of the space bar showed no item"
  xdotool type --delay 5 "$1"
  sleep 0.3
  close_boxes Paul
  still || fail "$step: typing '$1' did not complete the item"
}

step="Jeu, Nouveau jeu, with the mouse"
still || fail "$step: an item is shown before any press of the space bar"
xdotool mousemove --window "$main" 12 10 click 1 # the first menu, at the bar's left end
menu="$(wait_menu)"
xdotool mousemove --window "$menu" 30 10 click 1 # its first entry
wait_no_menu
one_space_shows_an_item abcdefghijklmnopqrstuvwxyz

step="Alt+O then 6"
xdotool key alt+o
wait_menu >/dev/null
xdotool key 6
wait_no_menu
focus_window Paul >/dev/null # Paul is greeted in the six-letter records
close_boxes Paul
one_space_shows_an_item banane

step="space bar in the menu opened with Alt+O"
xdotool key alt+o
wait_menu >/dev/null
xdotool key space
still || fail "$step: the space bar reached the game through the open menu"
menu_open >/dev/null || fail "$step: the menu closed"
xdotool key Escape
wait_no_menu
one_space_shows_an_item banane

kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
# Paul's own Mini (record 3) is a real time in both modes.
for file in clvfic1.txt clvfic6.txt; do
  read -r mini < <(od -An -t d2 -j 53 -N 2 "$file")
  [ "$(dd if="$file" bs=1 skip=38 count=4 2>/dev/null)" = "Paul" ] && [ "$mini" -gt 0 ] && [ "$mini" -lt 9999 ] ||
    fail "$file: no Mini of Paul's ($mini)"
done
echo "1 passed, 0 failed"
