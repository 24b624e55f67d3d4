#!/usr/bin/env bash
# The classroom's history on the test suite's PostgreSQL server, with the real program
# under Xvfb. The room is prepared first by its owner with clavimo --preparer-serveur; then
# a game played while the server is frozen (it takes connections and never
# answers) shows the hand-over window at once and the program quits at once; the game
# waits in the outbox, and reaches the server at the next start once the server answers.
set -euo pipefail

program="$1"
cluster="${CLAVIMO_TEST_POSTGRES:-}"
work="$(mktemp -d)"
source "$(dirname "$0")/../support/xvfb.sh"
source "$(dirname "$0")/../support/program.sh"
frozen=""
trap end_script EXIT

if [ -z "$cluster" ] || [ ! -f "$cluster/harness.env" ]; then
  skip "no PostgreSQL server for the tests ($(cat "$cluster/skip-reason.txt" 2>/dev/null || echo 'not started'))"
fi
# shellcheck disable=SC1091
source "$cluster/harness.env"

undo_more() { [ -z "$frozen" ] || kill -CONT $(server_pids) 2>/dev/null; }

admin() {
  PGPASSWORD="$PG_ADMIN_PASSWORD" "$PG_BINDIR/psql" -X -q -t -A -h "$PG_HOST" -p "$PG_PORT" -U "$PG_ADMIN_USER" "$@"
}

admin -d postgres -c "DROP DATABASE IF EXISTS e2e_room WITH (FORCE)" -c "CREATE DATABASE e2e_room OWNER $PG_OWNER_USER"
export HOME="$work"
PGPASSWORD="$PG_OWNER_PASSWORD" "$program" --preparer-serveur "postgresql://$PG_OWNER_USER@$PG_HOST:$PG_PORT/e2e_room" \
  --role-salle "$PG_USER" >"$work/prepare.log" 2>&1 || fail "the room was not prepared: $(cat "$work/prepare.log")"
export PGPASSWORD="$PG_PASSWORD"
uri="postgresql://$PG_USER@$PG_HOST:$PG_PORT/e2e_room"

start_xvfb 1280x1024x24
watch_windows "$work/windows.log"
mkdir "$work/salle"
cd "$work/salle"

# Quits with Escape and OK; sets quit_ms, the time the process took to end.
quit_program() {
  local asked
  ask_quit "$(main_window_id)"
  asked="$(now_ms)"
  expect_end 10 Quitter
  quit_ms=$(($(now_ms) - asked))
}

start_program --historique-serveur "$uri"
main_id="$MAIN_ID"
xdotool windowfocus --sync "$main_id"
name_player paul
sleep 0.3
close_boxes Paul

# The server stops answering before the game ends.
kill -STOP $(server_pids)
frozen=1

for item in $(seq 19); do
  play_letter_item "$main_id"
  sleep 0.2
  close_boxes Paul
done
# The last item: from the last key (or the last record announcement closed) to the
# moment the X server shows the hand-over window.
play_letter_item "$main_id"
last="$(now_ms)"
shown=""
for _ in $(seq 300); do
  id="$(xdotool search --onlyvisible --name "^C'est fini !\$" 2>/dev/null | tail -n 1 || true)"
  if [ -n "$id" ]; then
    shown="$(window_time "$work/windows.log" map "$id")"
    break
  fi
  box="$(xdotool search --onlyvisible --name '^Paul$' 2>/dev/null | tail -n 1 || true)"
  if [ -n "$box" ]; then
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key Return
    last="$(now_ms)"
  fi
  sleep 0.01
done
[ -n "$id" ] || fail "no hand-over window with the server frozen"
[ -n "$shown" ] || fail "the hand-over window was not seen shown"
wait_ms=$((shown - last))
echo "hand-over window $wait_ms ms after the last key, the server frozen"
[ "$wait_ms" -le 500 ] || fail "the hand-over window came $wait_ms ms after the last key"
sleep 2.5
quit_program
echo "ended $quit_ms ms after Quitter, the server frozen"
[ "$quit_ms" -le 3000 ] || fail "the program took $quit_ms ms to end"
[ "$(sqlite3 historique.sqlite 'SELECT COUNT(*) FROM outbox')" = "1" ] || fail "the game is not waiting in the outbox"

# The server answers again: the next start sends the waiting game, once.
kill -CONT $(server_pids)
frozen=""
start_program --historique-serveur "$uri"
for _ in $(seq 100); do
  [ "$(sqlite3 historique.sqlite 'SELECT COUNT(*) FROM outbox')" = "0" ] && break
  sleep 0.1
done
[ "$(sqlite3 historique.sqlite 'SELECT COUNT(*) FROM outbox')" = "0" ] || fail "the game was not sent at the next start"
quit_program
local_game="$(sqlite3 historique.sqlite 'SELECT uid, player, mode, mini, average FROM games')"
server_game="$(admin -d e2e_room -c 'SELECT uid, player, mode, mini, average FROM games')"
[ "$server_game" = "$local_game" ] || fail "the server holds '$server_game', the file '$local_game'"
[ "$(admin -d e2e_room -c 'SELECT COUNT(*) FROM items')" = "20" ] || fail "the server does not hold 20 items"
echo "1 passed, 0 failed"
