#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installed tree as a desktop would
# use it: the files are where the desktop looks and agree on one application id, the
# desktop entry and metainfo validate, the installed program answers its command line,
# and started as the launcher starts it, in a fresh home and a folder without data files,
# it keeps its records in ~/.local/share/clavimo and plays six-letter words from its
# installed word list.
# usage: install_test.sh BUILD-DIR SOURCE-DATA-DIR VERSION
set -euo pipefail

build="$1"
source_data="$2"
version="$3"
id="org.clavimo.Clavimo"
work="$(mktemp -d)"
prefix="$work/prefix"
export HOME="$work/home"
unset XDG_DATA_HOME
records="$HOME/.local/share/clavimo"
source "$(dirname "$0")/../support/xvfb.sh"
source "$(dirname "$0")/../support/program.sh"
trap end_script EXIT

mkdir -p "$HOME" "$work/elsewhere"
cmake --install "$build" --prefix "$prefix" >/dev/null
program="$prefix/bin/clavimo"

# The files, where the desktop and man look for them, named after the id.
for f in bin/clavimo share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/man/man6/clavimo.6.gz share/doc/clavimo/copyright share/doc/clavimo/changelog.gz; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for f in "$source_data"/*; do
  cmp -s "$f" "$prefix/share/clavimo/$(basename "$f")" || fail "share/clavimo/$(basename "$f") differs from data/"
done
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -s "$png" ] || fail "no $size px icon"
  # Width and height, big-endian, at bytes 16 and 20 of the PNG header.
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
  [ "$w x $h" = "$size x $size" ] || fail "the $size px icon is $w x $h"
done

desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 \
  || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx "Exec=clavimo --dossier-utilisateur" "$desktop" || fail "the desktop entry's command"
wm_class="$(sed -n 's/^StartupWMClass=//p' "$desktop")"
[ -n "$wm_class" ] || fail "the desktop entry names no window class"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launchable"
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"/>" "$metainfo" \
  || fail "metainfo release $version"
man="$(zcat "$prefix/share/man/man6/clavimo.6.gz")"
grep -qF '"Clavimo '"$version"'"' <<<"$man" && grep -qF '.B \-\-dossier\-utilisateur' <<<"$man" || fail "manual page"

# The command line, with no display at all.
(
  unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
  cd "$work/elsewhere"
  [ "$("$program" --version)" = "Clavimo $version" ] || fail "--version prints '$("$program" --version)'"
  help="$("$program" --help)"
  grep -q "^Utilisation.*: clavimo" <<<"$help" || fail "--help is not in French"
  set +e
  "$program" --vitesse >"$work/out" 2>"$work/err"; code=$?
  set -e
  [ "$code" = 2 ] || fail "an unknown option ends with $code"
  [ ! -s "$work/out" ] && grep -q "option inconnue.*: --vitesse" "$work/err" || fail "unknown option message"
  set +e
  "$program" --dossier "$work/absent" 2>"$work/err"; code=$?
  set -e
  [ "$code" = 2 ] && grep -q "n'existe pas" "$work/err" || fail "a missing folder ends with $code"
  [ -z "$(ls -A "$work/elsewhere")" ] || fail "the command line left files in the working folder"
)

start_xvfb 1280x1024x24

windows_titled_clavimo() {
  xdotool search --onlyvisible --name '^Clavimo$' 2>/dev/null | wc -l
}

# Starts the installed program as the launcher does, from a folder without data files,
# chooses the six-letter game with a player, and asks for the first word with the space
# bar. Sets count to how many windows are titled Clavimo then: the main window alone when
# a word was drawn, two when a box says the word list is missing.
count=0
play_six_letters() {
  (cd "$work/elsewhere" && exec env -u XDG_DATA_HOME QT_QPA_PLATFORM=xcb "$program" --dossier-utilisateur) \
    >"$work/app.log" 2>&1 &
  app_pid=$!
  for _ in $(seq 100); do
    [ "$(stat -c %s "$records/clvfic1.txt" 2>/dev/null || echo 0)" -ge 38 ] && break
    sleep 0.1
  done
  sleep 0.3
  local main_id
  main_id="$(focus_window Clavimo)"
  # The desktop ties the window to its launcher by the window's class.
  xdotool search --onlyvisible --class "^$wm_class\$" >/dev/null || fail "no window of class $wm_class"
  xdotool key alt+o
  sleep 0.3
  xdotool key 6
  for _ in $(seq 50); do
    [ "$(stat -c %s "$records/clvfic6.txt" 2>/dev/null || echo 0)" -ge 38 ] && break
    sleep 0.1
  done
  [ "$(stat -c %s "$records/clvfic6.txt" 2>/dev/null || echo 0)" -ge 38 ] || fail "the six-letter mode was not chosen"
  xdotool windowfocus --sync "$main_id"
  name_player paul
  sleep 0.3
  close_boxes Paul
  xdotool windowfocus --sync "$main_id" key space
  for _ in $(seq 20); do
    count="$(windows_titled_clavimo)"
    [ "$count" -gt 1 ] && break
    sleep 0.1
  done
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

play_six_letters
[ "$count" = 1 ] || fail "the installed program did not draw a word"
[ -s "$records/clvfic1.txt" ] && [ -s "$records/clvfic6.txt" ] && [ -s "$records/clavimo.ini" ] \
  || fail "the records are not in ~/.local/share/clavimo"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the program wrote into its working folder"

# The same game with the installed word list removed must complain: the program looked
# for its words in the installed tree and not in a copy elsewhere, such as data/. A fresh
# home again, so that the start is seen the same way.
rm "$prefix/share/clavimo/clvlet6.txt"
export HOME="$work/home2"
records="$HOME/.local/share/clavimo"
play_six_letters
[ "$count" = 2 ] || fail "no complaint without the installed word list: the words came from elsewhere"
echo "1 passed, 0 failed"
