#!/usr/bin/env bash
# Builds data/clvlet6.txt, the six-letter mode's word list: the most frequent six-letter
# French words first, as 6-byte windows-1252 records with nothing between them.
#
# Sources, each public and named in packaging/copyright:
# - word frequency: the npm package @zxcvbn-ts/language-fr (MIT), whose commonWords.json
#   ranks the words of OpenSubtitles 2024 (ODC-BY) and wikipedia.json those of French
#   Wikipedia;
# - spelling: the French word list of Debian's wfrench (/usr/share/dict/french), so that
#   names, typing slips and foreign words drop out;
# - exclusions: the npm package french-badwords-list (MIT), and data/wordlist-exclusions.txt,
#   the words unfit for children that such a list misses, found by reading the result.
#
# Both packages are fetched with npm pack at a pinned version and checked against the
# checksums below. The script also refreshes the copy of the bad-words list that the tests
# read (tests/data/french-badwords/). It prints what each step kept and dropped. The output
# is the same on every run.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
out="$root/data/clvlet6.txt"
exclusions="$root/data/wordlist-exclusions.txt"
badwords_copy="$root/tests/data/french-badwords"
dictionary=/usr/share/dict/french

frequency_package=@zxcvbn-ts/language-fr
frequency_version=4.1.2
frequency_sha512=xEex2n4J9UBhkASw6Vt2lUp9+eJgP0KquNiyh/D3IAP/HbnqRdd1oBkAiynSsRhJ9olmRnZVfYghaU5N6UKNjw==
badwords_package=french-badwords-list
badwords_version=1.0.7
badwords_sha512=H1ziKs2PJh2+UXZ9oCGJ/rRQpsI9NBykGf2Sc7WaKaj1OnWFuBXfsvANTdRcfVmOghGQaUmRyZ1hJOPbDpy04Q==

missing=()
dpkg -s wfrench >/dev/null 2>&1 || missing+=(wfrench)
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

python3 - "$work/frequency/package/src" "$work/badwords/package/list.txt" "$dictionary" \
    "$exclusions" "$out" <<'PY'
import json
import re
import sys
import unicodedata

frequency_dir, badwords_path, dictionary_path, exclusions_path, out = sys.argv[1:]

# How many words the list keeps (enough that a game seldom shows a word twice, few enough
# that all are familiar), and the rank within either frequency list that counts as
# frequent.
MOST = 3000
FREQUENT = 30000


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
    """Most frequent first: the better of its two ranks, then the other one."""
    a, b = subtitles.get(w, NONE), wikipedia.get(w, NONE)
    return (min(a, b), max(a, b), w)


def frequent(w):
    return subtitles.get(w, NONE) <= FREQUENT or wikipedia.get(w, NONE) <= FREQUENT


with open(dictionary_path, encoding="utf-8") as f:
    D = set(unicodedata.normalize("NFC", line.rstrip("\n")) for line in f)


def step(title, words, keep, show_dropped=8):
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
WORD = re.compile(r"[a-zàâäçéèêëîïôöùûü]{6}")
words = step("six letters of the keyboard", words, WORD.fullmatch)
words = step(f"among the {FREQUENT} most frequent of either list", words, frequent)
# A word the dictionary does not know in lower case is a name, a slip or a foreign word.
words = step("spelled as in wfrench", words, lambda w: w in D)


# Verb forms that read oddly on their own, recognised by the dictionary itself listing
# the other forms of the same tense (for example "tapera" goes because "taperons" and
# "taperont" are there), so that nouns with the same ending stay.
def stems(base):
    """The stem as written before an ending, and how it is written before other endings."""
    yield base
    if base.endswith("ge"):        # mangeons / mangions
        yield base[:-1]
    if base.endswith("g"):         # jugiez / jugeons
        yield base + "e"
    if base.endswith("ç"):         # avançons / avancions
        yield base[:-1] + "c"
    if base.endswith("c"):         # avanciez / avançons
        yield base[:-1] + "ç"
    i = base.rfind("è")
    if i >= 0:                     # mènent / menions
        yield base[:i] + "e" + base[i + 1:]


def listed(base, *endings):
    """True when the dictionary holds the stem with every one of the endings."""
    return any(all(s + e in D for e in endings) for s in stems(base))


# Passé simple and imperfect subjunctive, all persons: an ending, and the sibling endings
# that prove the word is a form of that tense ("paraît", a present, has no "paraîmes").
# The other forms the frequency lists hold (future, imperfect, "nous" and "vous" forms,
# participles) are everyday words and stay.
RARE_TENSES = [
    ("âmes", ("âtes",)), ("âtes", ("âmes",)), ("èrent", ("âmes",)), ("ât", ("âmes",)),
    ("asse", ("âmes",)), ("asses", ("âmes",)), ("assent", ("âmes",)),
    ("ai", ("âmes",)), ("as", ("âmes",)), ("a", ("âmes",)),
    ("îmes", ("îtes",)), ("îtes", ("îmes",)), ("irent", ("îmes",)), ("ît", ("îmes",)),
    ("isse", ("îmes",)), ("isses", ("îmes",)), ("issent", ("îmes",)),
    ("ûmes", ("ûtes",)), ("ûtes", ("ûmes",)), ("urent", ("ûmes",)), ("ût", ("ûmes",)),
    ("usse", ("ûmes",)), ("usses", ("ûmes",)), ("ussent", ("ûmes",)),
]


# Nouns that share their spelling with a rare verb form ("passes": "nous pâmes").
KEEP = {"passes", "agenda", "marina", "tracas"}


def odd_verb_form(w):
    # The plural of a word in -a is a noun ("opéras", "mangas").
    if w in KEEP or (w.endswith("as") and w[:-1] in D):
        return False
    for end, siblings in RARE_TENSES:
        if w.endswith(end) and listed(w[:-len(end)], *siblings):
            return True
    # -is/-it/-us/-ut: passé simple, unless it is also a present ("réunit": "réunissons";
    # "suffit": "suffire"), a past participle ("permis": "permise") or the plural of a
    # word in -i ("partis", "souris").
    stem = w[:-2]
    if w.endswith(("is", "it")) and listed(stem, "îmes") and not listed(stem, "issons") \
            and w + "e" not in D and w[:-1] not in D and stem + "ire" not in D:
        return True
    if w.endswith(("us", "ut")) and listed(stem, "ûmes") and stem + "ue" not in D:
        return True
    return False


words = step("verb forms that read oddly alone (passé simple, imparfait du subjonctif)", words,
             lambda w: not odd_verb_form(w))

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
    "rosbif": "le rôti de bœuf du dimanche; le surnom des Anglais est rare",
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

top = set(words[:MOST])
words = step(f"the {MOST} most frequent", words, lambda w: w in top, show_dropped=0)

with open(out, "wb") as f:
    for w in words:
        record = w.encode("cp1252")
        assert len(record) == 6, w
        f.write(record)
among = sum(1 for w in words if frequent(w))
print(f"{len(words)} words written to {out}")
print(f"among the {FREQUENT} most frequent: subtitles "
      f"{sum(1 for w in words if subtitles.get(w, NONE) <= FREQUENT)}, Wikipedia "
      f"{sum(1 for w in words if wikipedia.get(w, NONE) <= FREQUENT)}, either {among} "
      f"({100 * among / len(words):.1f} %)")
PY
