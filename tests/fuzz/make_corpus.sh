#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/<target>/: a few small
# files each, empty and odd-length ones, well-formed files and slightly damaged ones. It
# writes its own files only: seeds added by hand (inputs that once broke a check) stay.
set -euo pipefail
export LC_ALL=C
here="$(cd "$(dirname "$0")" && pwd)"
out="$here/corpus"
mkdir -p "$out"/word_import

# A teacher's word files (UTF-8 text).
: >"$out/word_import/empty"
printf 'maison jardin\nécoles élèves\tgarçon\n' >"$out/word_import/words"
printf '\357\273\277Maison\r\nMAISON\r\nchat\r\n\305\223uvres c\305\223urs na\303\257ve\r\n' >"$out/word_import/bom_crlf_duplicates"
printf 'maison\nbad\377\376bytes\n' >"$out/word_import/not_utf8"
printf '"Maison", jardin;\303\251l\303\250ves.\tl\342\200\231\303\251cole porte-cl\303\251 \302\253cahier\302\273\n' >"$out/word_import/separators"
printf 'e\314\201toile\000\001\302\240arbres \360\237\230\200\360\237\230\200' >"$out/word_import/marks_controls_emoji"
