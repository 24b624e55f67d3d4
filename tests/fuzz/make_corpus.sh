#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/<target>/: a few small
# files each, empty and odd-length ones, well-formed files and slightly damaged ones. It
# writes its own files only: seeds added by hand (inputs that once broke a check) stay.
# The fuzz targets read numbers (names, times, choices) off the end of an input, so the
# player file seeds carry such a tail after the file's bytes.
set -euo pipefail
export LC_ALL=C
here="$(cd "$(dirname "$0")" && pwd)"
out="$here/corpus"
mkdir -p "$out"/{player_file,word_import}

# record NAME MINI AVERAGE: one 19-byte player entry (name in windows-1252 octal escapes
# allowed), the two numbers as signed 16-bit little-endian.
record() {
  local name mini=$2 avg=$3
  name="$(printf "$1")"
  printf '%s' "$name"
  head -c $((15 - ${#name})) /dev/zero | tr '\0' ' '
  printf "\\$(printf %03o $((mini & 255)))\\$(printf %03o $(((mini >> 8) & 255)))"
  printf "\\$(printf %03o $((avg & 255)))\\$(printf %03o $(((avg >> 8) & 255)))"
}

# The tail the player file target reads backwards: 20 items of (errors, time high, time
# low), then 16 name bytes (the name, reversed), then a 2-byte choice.
tail_bytes() {
  for i in $(seq 20); do printf "\\$(printf %03o $((i % 3)))\\003\\$(printf %03o $((i * 7)))"; done
  printf "${1:-luaP\\351 sniatnoF}"
  printf '\001\000'
}

valid() {
  record Paul 480 731
  record 'Ren\351e' 9999 812
  record Paul 480 760
  record 'Ren\351e' 512 812
  record 'Zo\351' 9999 9999
}

# Player files.
: >"$out/player_file/empty"
printf 'x' >"$out/player_file/one_byte"
{ valid; tail_bytes; } >"$out/player_file/valid"
{ head -c 38 /dev/zero; tail_bytes; } >"$out/player_file/new_file_zeros"
{ valid; printf 'Lucien\0\0\0\0'; tail_bytes; } >"$out/player_file/fragment_10_bytes"
{ valid; printf 'Luc'; tail_bytes; } >"$out/player_file/fragment_3_bytes"
# A kept fragment whose name field is the new player's name: it becomes a record of its own.
{ valid; printf 'Lucien         \020'; tail_bytes '          neicuL'; } >"$out/player_file/fragment_named_like_new_player"
{ valid >"$out/valid.tmp"; head -c 37 "$out/valid.tmp"; rm "$out/valid.tmp"; tail_bytes; } >"$out/player_file/length_37"
{ record xxxxx 0 0; record '\200\201\237\377' -1 -32768; record Paul 1 32767; tail_bytes; } >"$out/player_file/edge_values"

# A teacher's word files (UTF-8 text).
: >"$out/word_import/empty"
printf 'maison jardin\nécoles élèves\tgarçon\n' >"$out/word_import/words"
printf '\357\273\277Maison\r\nMAISON\r\nchat\r\n\305\223uvres c\305\223urs na\303\257ve\r\n' >"$out/word_import/bom_crlf_duplicates"
printf 'maison\nbad\377\376bytes\n' >"$out/word_import/not_utf8"
printf '"Maison", jardin;\303\251l\303\250ves.\tl\342\200\231\303\251cole porte-cl\303\251 \302\253cahier\302\273\n' >"$out/word_import/separators"
printf 'e\314\201toile\000\001\302\240arbres \360\237\230\200\360\237\230\200' >"$out/word_import/marks_controls_emoji"
