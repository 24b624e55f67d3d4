# Sourced by the scripts that run the program under a virtual X server, which take fail
# MESSAGE from program.sh.

# start_xvfb WxHxD: starts Xvfb on a display number the server picks itself, so that two
# runs at once never take the same one, exports DISPLAY, adds the server to pids (see
# end_script in program.sh) and sets XVFB_PID, and returns once
# the server has served a client. The server never resets: by default it resets when its
# last client leaves, and drops any client that connects meanwhile, so that the program
# started just after that first client would find no display. The server's own messages
# go to xvfb.log in the script's scratch folder ("$work").
start_xvfb() {
  local folder="${work:-$(mktemp -d)}"
  Xvfb -displayfd 3 -noreset -screen 0 "$1" -nolisten tcp \
    3>"$folder/xvfb.display" >>"$folder/xvfb.log" 2>&1 &
  XVFB_PID=$!
  pids+=("$XVFB_PID")
  for _ in $(seq 200); do
    [ -s "$folder/xvfb.display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  DISPLAY=":$(head -n 1 "$folder/xvfb.display" 2>/dev/null || true)"
  export DISPLAY
  for _ in $(seq 100); do
    xdotool getmouselocation >/dev/null 2>&1 && return 0
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "FAIL: the X server did not start (display '$DISPLAY'):" >&2
  tail -n 20 "$folder/xvfb.log" >&2
  kill "$XVFB_PID" 2>/dev/null || true
  exit 1
}

# watch_windows LOG: from now on, each time the X server shows or hides a window of its top
# level, adds the line "MS map|unmap WINDOW-ID" to LOG, the time taken as the server tells
# it: one xev process and no polling, so that a busy machine adds no delay of its own to
# what a test measures. The watcher is added to pids. Without a window manager only.
watch_windows() {
  stdbuf -oL xev -root -event substructure 2>/dev/null | {
    local kind="" t="" line w
    while IFS= read -r line; do
      case "$line" in
        MapNotify*) kind=map t="$EPOCHREALTIME" ;;
        UnmapNotify*) kind=unmap t="$EPOCHREALTIME" ;;
        *" window 0x"*)
          [ -n "$kind" ] || continue
          w="${line#* window }"
          echo "$((${t//[.,]/} / 1000)) $kind $((${w%%,*}))"
          kind="" ;;
      esac
    done
  } >>"$1" &
  pids+=($!)
}

# window_time LOG WHAT ID: the time of the last WHAT (map or unmap) of the window ID in LOG.
window_time() { awk -v what="$2" -v id="$3" '$2 == what && $3 == id { t = $1 } END { print t }' "$1"; }

# focus_window TITLE: waits for a visible window titled exactly TITLE, gives it the
# keyboard and prints its id.
focus_window() {
  local id=""
  for _ in $(seq 100); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1 || true)"
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window titled '$1'"
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  echo "$id"
}

# close_boxes TITLE: answers Enter to every message box titled TITLE (a player's name:
# greetings and record announcements) until none is left.
close_boxes() {
  local id
  for _ in $(seq 20); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1 || true)"
    [ -z "$id" ] && return 0
    xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool key Return
    sleep 0.2
  done
}

# main_window_id: the id of the game's main window, the wide one of the visible windows
# titled Clavimo (the start-up window is small); nothing while it is not there.
main_window_id() {
  local id w
  for id in $(xdotool search --onlyvisible --name '^Clavimo$' 2>/dev/null); do
    w="$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p' || true)"
    [ "${w:-0}" -ge 600 ] && echo "$id" && return 0
  done
  return 0
}

# wait_main_window SECONDS: waits up to SECONDS for the game's main window and sets MAIN_ID
# to its id; fails when it does not come, or at once when the program (app_pid, where the
# script sets it) has ended meanwhile.
wait_main_window() {
  MAIN_ID=""
  for _ in $(seq $(($1 * 10))); do
    MAIN_ID="$(main_window_id)"
    [ -n "$MAIN_ID" ] && return 0
    [ -n "${app_pid:-}" ] && ! kill -0 "$app_pid" 2>/dev/null && fail "the program ended at its start"
    sleep 0.1
  done
  fail "no main window"
}

# ask_quit MAIN_ID: presses Escape in the main window and answers OK in the box that asks
# whether to quit (a window titled Clavimo other than the main one). Escape is pressed
# again when no box comes, since a key sent while the window is still taking the focus
# can be lost.
ask_quit() {
  local main="$1" id="" try
  for try in 1 2 3; do
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    xdotool key Escape
    for _ in $(seq 30); do
      id="$(xdotool search --onlyvisible --name '^Clavimo$' 2>/dev/null | grep -vx "$main" | tail -n 1 || true)"
      [ -n "$id" ] && break
      sleep 0.1
    done
    [ -n "$id" ] && break
  done
  [ -n "$id" ] || fail "no box asking whether to quit"
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  xdotool key Return
}

# name_player NAME: from the focused main window, opens the player list with F2, names
# one player and closes the list with Enter; the welcome box of a new player may follow.
name_player() {
  xdotool key F2
  focus_window 'Liste des joueurs' >/dev/null
  xdotool type --delay 30 "$1"
  xdotool key Return
  sleep 0.2
  xdotool key Return
}

# start_program [ARGUMENT...]: starts $program with ARGUMENTs on the X server, its output
# in out.log, and waits for its main window (MAIN_ID), up to 30 s: a machine busy with
# builds can be slow to start it.
start_program() {
  QT_QPA_PLATFORM=xcb "$program" "$@" >>"$work/out.log" 2>&1 &
  app_pid=$!
  wait_main_window 30
  sleep 0.3
}

# start_with_paul: starts the program with its accessibility bridge on, as a screen reader
# finds it, names Paul from the main window (MAIN_ID) and closes his welcome.
start_with_paul() {
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_program
  xdotool windowactivate --sync "$MAIN_ID"
  name_player paul
  sleep 0.5
  close_boxes Paul
}

# play_letter_item MAIN_ID: in the one-letter game, shows the next item with the space bar
# in the main window and types every letter of the alphabet in turn, so that the item's
# letter, whatever it is, is typed (the wrong keys before it only beep).
play_letter_item() {
  xdotool windowfocus --sync "$1"
  xdotool key space
  sleep 0.05
  xdotool type --delay 5 'abcdefghijklmnopqrstuvwxyz'
}

# play_letter_game MAIN_ID: the twenty items of a one-letter game played by Paul, each of
# his record boxes closed as it comes, then the hand-over window left to close by itself
# (after two seconds).
play_letter_game() {
  for _ in $(seq 20); do
    play_letter_item "$1"
    sleep 0.2
    close_boxes Paul
  done
  sleep 3
  close_boxes Paul
}

# start_desktop WxHxD: the X server of start_xvfb with openbox as its window manager, so
# that focus and activation are handled as on a desktop. Both processes are added to the
# script's pids. Returns once openbox manages the screen.
start_desktop() {
  start_xvfb "$1"
  openbox >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *'window id'* ]] && return 0
    sleep 0.1
  done
}
