#!/usr/bin/env bash
# The keyboard course on the real program under Xvfb with openbox, typed at with real X key
# events: F8 opens the course of Paul, whose history holds slow lessons of the home row
# typed without a wrong key; one lesson typed right and quickly brings in the ninth key
# (E on the French AZERTY), the window says so, and the history keeps the lesson apart
# from the games. Each item is read from the window through the accessibility bus, as a
# screen reader reads it. Exits 77 (skipped), saying why, where that bus cannot be had.
set -euo pipefail

program="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/program.sh"

if [ -z "${CLAVIMO_COURSE_INNER:-}" ]; then
  for tool in dbus-run-session Xvfb openbox xdotool sqlite3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
  done
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
  # A session bus of its own, gone with the script, and the accessibility bus it starts.
  exec env CLAVIMO_COURSE_INNER=1 dbus-run-session -- bash "$0" "$program" 2>&1
fi

work="$(mktemp -d)"
source "$here/../support/xvfb.sh"
trap end_script EXIT

# read_window WHAT: the text to type ("item") or the sentence of the keys learnt ("keys"),
# as the accessibility bus gives them, no-break spaces made plain.
read_window() {
  # Nothing, rather than the end of the script, while the accessibility bus is not up yet.
  /usr/bin/python3 - "$1" 2>/dev/null <<'PY'
import sys, pyatspi
want = sys.argv[1]
def walk(node, depth=0):
    if node is None or depth > 30:
        return None
    try:
        name, description = node.name or "", node.description or ""
        if want == "item" and description == "Texte à taper":
            return name
        if want == "keys" and name.startswith("Touches apprises"):
            return name
        for i in range(node.childCount):
            found = walk(node.getChildAtIndex(i), depth + 1)
            if found is not None:
                return found
    except Exception:
        return None
    return None
for app in pyatspi.Registry.getDesktop(0):
    found = walk(app)
    if found is not None:
        print(found.replace("\u00a0", " "))
        break
PY
  true
}

start_desktop 1280x1024x24
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
cd "$work"

# Paul's history: five lessons of the home row, each key 20 times right, at 900 ms a key,
# slower than the target of « moyen » (600 ms): the rule holds but for the time.
{
  echo "CREATE TABLE games(id INTEGER PRIMARY KEY, player TEXT NOT NULL, mode INTEGER NOT NULL,"
  echo " started_at TEXT NOT NULL, finished_at TEXT NOT NULL, mini INTEGER NOT NULL, average INTEGER NOT NULL,"
  echo " wrong_keys INTEGER NOT NULL, uid TEXT, practice INTEGER NOT NULL DEFAULT 0, lesson_keys INTEGER,"
  echo " lesson_target_ms INTEGER);"
  echo "CREATE TABLE items(game_id INTEGER NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
  echo " shown TEXT NOT NULL, time_ms INTEGER NOT NULL, raw_ms INTEGER NOT NULL, wrong_keys INTEGER NOT NULL,"
  echo " PRIMARY KEY(game_id, position)) WITHOUT ROWID;"
  echo "CREATE TABLE mistakes(game_id INTEGER NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
  echo " expected TEXT NOT NULL, typed TEXT NOT NULL);"
  echo "CREATE TABLE expected_chars(game_id INTEGER NOT NULL REFERENCES games(id), character TEXT NOT NULL,"
  echo " count INTEGER NOT NULL, PRIMARY KEY(game_id, character)) WITHOUT ROWID;"
  echo "CREATE INDEX games_by_player ON games(player, mode, finished_at);"
  echo "CREATE INDEX mistakes_by_game ON mistakes(game_id);"
  echo "CREATE UNIQUE INDEX games_by_uid ON games(uid);"
  echo "CREATE TABLE outbox(game_id INTEGER PRIMARY KEY REFERENCES games(id));"
  for g in 1 2 3 4 5; do
    echo "INSERT INTO games VALUES($g, 'Paul', 0, '2026-12-0${g}T09:00:00.000Z', '2026-12-0${g}T09:05:00.000Z',"
    echo " 7200, 7200, 0, NULL, 0, 8, 600);"
    for p in $(seq 20); do echo "INSERT INTO items VALUES($g, $p, 'QSDFJKLM', 7200, 7200, 0);"; done
  done
  echo "PRAGMA user_version = 4;"
} | sqlite3 historique.sqlite

start_with_paul
main="$MAIN_ID"
xdotool windowactivate --sync "$main"
records="$(stat -c %s clvfic1.txt)"
xdotool key F8
focus_window 'Apprendre le clavier – Paul' >/dev/null
for _ in $(seq 50); do
  keys="$(read_window keys)"
  [ -n "$keys" ] && break
  sleep 0.1
done
[[ "$keys" == "Touches apprises : 8 sur "*"Rangée de repos : Q S D F J K L M"* ]] || fail "the course starts with: $keys"

for n in $(seq 20); do
  xdotool key space
  item=""
  for _ in $(seq 50); do
    item="$(read_window item)"
    [[ "$item" =~ ^[QSDFJKLM]{2,8}$ ]] && break
    sleep 0.1
  done
  [[ "$item" =~ ^[QSDFJKLM]{2,8}$ ]] || fail "item $n reads '$item': $(/usr/bin/python3 "$here/../../tools/atspi_dump.py" tree 'Apprendre le clavier – Paul' 2>&1 | head -40)"
  xdotool type --delay 20 "$(echo "$item" | tr 'A-Z' 'a-z')"
  sleep 0.1
done

for _ in $(seq 50); do
  [ "$(sqlite3 historique.sqlite 'SELECT COUNT(*) FROM games')" = "6" ] && break
  sleep 0.1
done
lesson="$(sqlite3 historique.sqlite "SELECT player, mode, lesson_keys, lesson_target_ms, wrong_keys, (SELECT COUNT(*)
  FROM items WHERE game_id = 6) FROM games WHERE id = 6")"
[ "$lesson" = "Paul|0|8|600|0|20" ] || fail "the history keeps the lesson as '$lesson'"
keys="$(read_window keys)"
[[ "$keys" == "Touches apprises : 9 sur "*"Nouvelle touche : E, majeur gauche"* ]] || fail "after the lesson: $keys"
[ "$(stat -c %s clvfic1.txt)" = "$records" ] || fail "the lesson wrote into the record file"

xdotool key Escape
sleep 0.3
ask_quit "$main"
expect_end 10 Quitter
echo "1 passed, 0 failed"
