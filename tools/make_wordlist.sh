#!/usr/bin/env bash
# Builds data/clvlet6.txt, the six-letter mode's word list: familiar six-letter French words
# fit for a class of eight-year-olds, the most frequent in films' subtitles first, as 6-byte
# windows-1252 records with nothing between them. From the same words of 2 to 8 letters,
# through the same steps, it builds data/lecons.txt, the words of the keyboard course (one
# a line, windows-1252), and data/frequences.txt, the letters and letter pairs of French
# with their weights, which order the course's keys and shape its groups of letters.
#
# Sources, each public and named in packaging/copyright:
# - word frequency: the npm package @zxcvbn-ts/language-fr (MIT), whose commonWords.json
#   ranks the words of OpenSubtitles 2024 (ODC-BY) and wikipedia.json those of French
#   Wikipedia;
# - spelling and grammar: Debian's hunspell with the dictionary of hunspell-fr-comprehensive
#   (MPL 2.0), whose morphological analysis (hunspell -m) tells each word's part of speech,
#   the tense and person of each verb form, and the names it keeps with their capital; it
#   is used here only, never by the program;
# - exclusions: the npm package french-badwords-list (MIT), and data/wordlist-exclusions.txt,
#   the words unfit for children that such a list misses, found by reading the result.
#
# Both npm packages are fetched with npm pack at a pinned version and checked against the
# checksums below; the Debian packages are installed when missing. The script also
# refreshes the copy of the bad-words list that the tests read (tests/data/french-badwords/).
# It prints what each step kept and dropped. The output is the same on every run with the
# same dictionary version, which it prints.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
out="$root/data/clvlet6.txt"
lessons_out="$root/data/lecons.txt"
frequencies_out="$root/data/frequences.txt"
exclusions="$root/data/wordlist-exclusions.txt"
badwords_copy="$root/tests/data/french-badwords"
dictionary=/usr/share/hunspell/fr

frequency_package=@zxcvbn-ts/language-fr
frequency_version=4.1.2
frequency_sha512=xEex2n4J9UBhkASw6Vt2lUp9+eJgP0KquNiyh/D3IAP/HbnqRdd1oBkAiynSsRhJ9olmRnZVfYghaU5N6UKNjw==
badwords_package=french-badwords-list
badwords_version=1.0.7
badwords_sha512=H1ziKs2PJh2+UXZ9oCGJ/rRQpsI9NBykGf2Sc7WaKaj1OnWFuBXfsvANTdRcfVmOghGQaUmRyZ1hJOPbDpy04Q==

missing=()
dpkg -s hunspell >/dev/null 2>&1 || missing+=(hunspell)
dpkg -s hunspell-fr-comprehensive >/dev/null 2>&1 || missing+=(hunspell-fr-comprehensive)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# fetch NAME VERSION SHA512 FOLDER: the package's files, unpacked into FOLDER, once its
# tarball matches the checksum.
fetch() {
    local tarball sum
    tarball="$(cd "$work" && npm pack --silent "$1@$2" | tail -n 1)"
    sum="$(python3 -c 'import base64, hashlib, sys
print(base64.b64encode(hashlib.sha512(open(sys.argv[1], "rb").read()).digest()).decode())' "$work/$tarball")"
    if [ "$sum" != "$3" ]; then
        echo "$1@$2: sha512 $sum, expected $3" >&2
        exit 1
    fi
    echo "$1@$2: sha512 checked"
    mkdir -p "$4"
    tar -xzf "$work/$tarball" -C "$4"
}
fetch "$frequency_package" "$frequency_version" "$frequency_sha512" "$work/frequency"
fetch "$badwords_package" "$badwords_version" "$badwords_sha512" "$work/badwords"

mkdir -p "$badwords_copy"
cp "$work/badwords/package/list.txt" "$work/badwords/package/LICENSE" "$badwords_copy/"

echo "dictionary: hunspell-fr-comprehensive $(dpkg-query -W -f='${Version}' hunspell-fr-comprehensive)," \
    "hunspell $(dpkg-query -W -f='${Version}' hunspell)"

python3 - "$work/frequency/package/src" "$work/badwords/package/list.txt" "$dictionary" \
    "$exclusions" "$out" "$lessons_out" "$frequencies_out" <<'PY'
import json
import os
import re
import subprocess
import sys
import unicodedata
from collections import defaultdict

frequency_dir, badwords_path, dictionary_path, exclusions_path, out, lessons_out, frequencies_out = sys.argv[1:]

# How many words the list keeps: enough that a game seldom shows a word twice, and no
# more, since past this rank the subtitles' words grow rare for a child (a shorter list
# of familiar words is better than a longer one filled with rare ones).
MOST = 1500
# The course's words: any length from 2 to 8 letters, more of them, since a lesson early
# in the course can use only the few made of its keys.
LESSON_MOST = 12000


def ranks(name):
    with open(f"{frequency_dir}/{name}.json", encoding="utf-8") as f:
        words = json.load(f)
    rank = {}
    for i, w in enumerate(words, 1):
        rank.setdefault(unicodedata.normalize("NFC", w), i)
    return rank


subtitles = ranks("commonWords")
wikipedia = ranks("wikipedia")
NONE = float("inf")


def order(w):
    """What people say first: the subtitles' rank, then Wikipedia's, which ranks
    scholarly words ("allèle", "évêché") far higher than a child meets them."""
    return (subtitles.get(w, NONE), wikipedia.get(w, NONE), w)


def step(title, words, keep, show_dropped=12):
    kept = [w for w in words if keep(w)]
    dropped = [w for w in words if not keep(w)]
    print(f"{title}: kept {len(kept)}, dropped {len(dropped)}", end="")
    if dropped and show_dropped:
        more = "..." if len(dropped) > show_dropped else ""
        print(f" ({', '.join(dropped[:show_dropped])}{more})", end="")
    print()
    return kept


words = sorted(set(subtitles) | set(wikipedia), key=order)
print(f"frequency lists: {len(subtitles)} words from subtitles, {len(wikipedia)} from Wikipedia, "
      f"{len(words)} in all")

# Letters a French keyboard types directly or with a dead key; no oe/ae ligatures or y
# with diaeresis, which have no key. Capitals, digits, apostrophes and hyphens drop out.
# The words of 2 to 8 letters go through every step below; the six-letter list is made of
# those of six letters, as it always was.
WORD = re.compile(r"[a-zàâäçéèêëîïôöùûü]{2,8}")
words = step("2 to 8 letters of the keyboard", words, WORD.fullmatch)


def analyse(forms):
    """The dictionary's readings of each form, one list of fields ("st:devenir",
    "po:ipsi", ...) a reading; a form it does not know has none."""
    result = subprocess.run(["hunspell", "-m", "-d", dictionary_path, "-i", "utf-8"],
                            input="\n".join(forms) + "\n", capture_output=True, text=True,
                            check=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
    readings = defaultdict(list)
    for line in result.stdout.splitlines():
        fields = line.split()
        if len(fields) > 1:
            readings[fields[0]].append(fields[1:])
    return readings


readings = analyse(words + [w.capitalize() for w in words])


def lemma_known(r):
    stem = next((f[3:] for f in r if f.startswith("st:")), "")
    return stem in subtitles


def parts(w):
    """The parts of speech and verb tenses of each common reading of the word: a reading
    whose lemma no one says ("ailles" of "ailler", to season with garlic, beside the
    subjunctive of "aller") is left aside, unless the word has no other."""
    rs = readings.get(w, [])
    common = [r for r in rs if lemma_known(r)] or rs
    return [{f[3:] for f in r if f.startswith("po:")} for r in common]


# A word the dictionary does not know in lower case is a name ("france", "hitler", which it
# knows with a capital only), a foreign word ("johnny", "island"), or a slip ("ecoute").
words = step("known to the dictionary in lower case", words, lambda w: w in readings,
             show_dropped=40)

# Elided forms written without their apostrophe ("puisqu", "quelqu") are fragments.
words = step("not an elided form", words,
             lambda w: not any("err" in p for p in parts(w)), show_dropped=100)

# The readings a word may stand alone with, as a child reads a list: a noun, adjective or
# adverb, an infinitive or past participle, a present or future form, and the small words
# of grammar ("depuis", "quelle"). Every other reading of a verb is a tense that reads
# oddly alone or belongs to written stories: passé simple ("devint") and imperfect
# subjunctive ("agisse"), subjunctive that is not also a present ("saches", "vaille"), and
# the imperfect, conditional, imperative and present participle ("allait", "serait",
# "sachez", "disant"). The word stays when one of its readings is ordinary: "partis"
# (participle) stays, "partit" (passé simple only) goes.
ORDINARY = {"nom", "adj", "adv", "infi", "ppas", "ipre", "ifut", "mg", "interj", "nb"}


def ordinary(p):
    return bool(p & ORDINARY) or any(x.startswith("loc") for x in p)


def only_tenses(w, tenses):
    """True when no reading of the word is ordinary and one is among the tenses."""
    ps = parts(w)
    return not any(ordinary(p) for p in ps) and any(p & tenses for p in ps)


words = step("not only a passé simple or imparfait du subjonctif", words,
             lambda w: not only_tenses(w, {"ipsi", "simp"}), show_dropped=100)
words = step("not only a subjonctif", words, lambda w: not only_tenses(w, {"spre"}),
             show_dropped=100)
words = step("not only an imparfait, conditionnel, impératif, participe présent or prefix", words,
             lambda w: any(ordinary(p) for p in parts(w)), show_dropped=100)

# Words that are also a name of a person, a place or a brand: the dictionary has them with
# a capital, as a proper noun ("Martin", "Julien") or with a capital stem ("Canada",
# "Boston"). Their lower-case reading ("martin", the bird) is rarer than the name, which is
# why the subtitles rank them high. They go, but for the words below, whose common
# meaning is the one a child knows.
# common-nouns-begin
COMMON = {
    "soleil", "centre", "orange", "sienne", "manche", "bornes", "creuse", "menton",
    "racine", "moulin", "tampon", "canyon", "jaguar", "pantin", "grasse", "allier",
    "rafale", "cannes", "rennes", "vannes", "suisse", "pierre", "claire", "marine",
    "manuel", "honoré", "désiré", "aurore", "urbain", "romain",
}
# common-nouns-end


def name(w):
    return any("po:prn" in r or any(f.startswith("st:") and f[3:4].isupper() for f in r)
               for r in readings.get(w.capitalize(), []))


words = step("not also a name (but for common words a child knows)", words,
             lambda w: w in COMMON or not name(w), show_dropped=60)

# English words the dictionary keeps as borrowed ("timing", "living"): no French word
# ends in -ing. The other English words are in data/wordlist-exclusions.txt.
words = step("not an English word in -ing", words, lambda w: not w.endswith("ing"),
             show_dropped=40)

with open(badwords_path, encoding="utf-8") as f:
    BAD = set(unicodedata.normalize("NFC", line.strip().lower()) for line in f if line.strip())

# Words of the bad-words list kept because their innocent meaning is the common one, above
# all for a child; every other word of that list is dropped. The test of the shipped list
# reads this table (between the two marker lines), so keep one word a line.
# innocent-words-begin
INNOCENT = {
    "manche": "la manche d'un vêtement, d'un outil, d'une partie de jeu",
    "gourde": "la bouteille de l'écolier et du randonneur",
    "crotte": "la crotte du chien, la crotte en chocolat; un mot d'enfant, pas un juron",
}
# innocent-words-end
kept_innocent = [w for w in words if w in BAD and w in INNOCENT]
words = step("not on the bad-words list", words, lambda w: w not in BAD or w in INNOCENT,
             show_dropped=100)
for w in kept_innocent:
    print(f"  kept from the bad-words list: {w} ({INNOCENT[w]})")

with open(exclusions_path, encoding="utf-8") as f:
    EXCLUDED = set(unicodedata.normalize("NFC", line.strip()) for line in f
                   if line.strip() and not line.startswith("#"))
# The words themselves are in the file; printing them again helps no one.
words = step("not in data/wordlist-exclusions.txt", words, lambda w: w not in EXCLUDED,
             show_dropped=0)

every_length = words
words = step("six letters", words, lambda w: len(w) == 6, show_dropped=0)
top = set(words[:MOST])
last = subtitles.get(words[min(MOST, len(words)) - 1], NONE)
words = step(f"the {MOST} most frequent (subtitles' rank up to {last})", words,
             lambda w: w in top, show_dropped=0)

with open(out, "wb") as f:
    for w in words:
        record = w.encode("cp1252")
        assert len(record) == 6, w
        f.write(record)
print(f"{len(words)} words written to {out}")

lessons = every_length[:LESSON_MOST]
with open(lessons_out, "wb") as f:
    for w in lessons:
        f.write(w.encode("cp1252") + b"\n")
print(f"{len(lessons)} words of 2 to 8 letters written to {lessons_out}")

# The weight of a letter, or of two letters one after the other in a word, is how often
# it is met in speech: each word of the course counts as often as Zipf's law says a word
# of its subtitles' rank is said (1 / rank). Written in upper case, as the game shows
# them, the heaviest first, as parts per million of all letters (or of all pairs).
letters, pairs = defaultdict(float), defaultdict(float)
for w in lessons:
    weight = 1.0 / subtitles.get(w, len(subtitles) + 1)
    u = w.upper()
    for c in u:
        letters[c] += weight
    for a, b in zip(u, u[1:]):
        pairs[a + b] += weight


def per_million(table):
    total = sum(table.values())
    return sorted(((k, round(v * 1e6 / total)) for k, v in table.items()), key=lambda kv: (-kv[1], kv[0]))


with open(frequencies_out, "wb") as f:
    f.write("# Lettres et paires de lettres du français parlé, en millionièmes (tools/make_wordlist.sh)\n"
            .encode("cp1252"))
    for k, v in per_million(letters) + [kv for kv in per_million(pairs) if kv[1] > 0]:
        f.write(f"{k} {v}\n".encode("cp1252"))
print(f"{len(letters)} letters and {len(pairs)} pairs written to {frequencies_out}")
PY
