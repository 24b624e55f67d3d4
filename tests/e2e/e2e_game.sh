#!/usr/bin/env bash
# Plays a whole one-letter game on the real program under Xvfb with real X key events,
# then quits with Escape, and checks the record and settings files it leaves behind, and
# the game in the history file.
set -euo pipefail

program="$1"
work="$(mktemp -d)"
source "$(dirname "$0")/../support/xvfb.sh"
source "$(dirname "$0")/../support/program.sh"
trap end_script EXIT

start_xvfb 1280x1024x24
cd "$work"
start_program
main_id="$(focus_window Clavimo)"
name_player paul
sleep 0.3
close_boxes Paul # "Bienvenue au Club CLAVIMO !"
play_letter_game "$main_id"
ask_quit "$main_id"
expect_end 5 Quitter

settings="$(od -An -tx1 clavimo.ini | tr -d " \n")"
[ "$settings" = "ffff" ] || fail "clavimo.ini is $settings"
size="$(stat -c %s clvfic1.txt)"
[ "$size" = "57" ] || fail "clvfic1.txt holds $size bytes"
name="$(dd if=clvfic1.txt bs=1 skip=38 count=15 2>/dev/null)"
[ "$name" = "Paul           " ] || fail "record 3 names '$name'"
holder="$(dd if=clvfic1.txt bs=1 count=15 2>/dev/null)"
[ "$holder" = "Paul           " ] || fail "record 1 names '$holder'"
# The personal Mini and average are real times, below the unset 9999.
read -r mini average < <(od -An -t d2 -j 53 -N 4 clvfic1.txt)
[ "$mini" -gt 0 ] && [ "$mini" -lt 9999 ] || fail "Mini is $mini"
[ "$average" -ge "$mini" ] && [ "$average" -lt 9999 ] || fail "average is $average"
# The history holds the game with the figures the record file kept for this first game.
game="$(sqlite3 historique.sqlite "SELECT player, mode, mini, average FROM games")"
[ "$game" = "Paul|1|$mini|$average" ] || fail "the history holds '$game', the record file $mini and $average"
[ "$(sqlite3 historique.sqlite 'SELECT COUNT(*) FROM items')" = "20" ] || fail "the history does not hold 20 items"
echo "1 passed, 0 failed"
