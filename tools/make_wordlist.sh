#!/usr/bin/env bash
# Builds data/clvlet6.txt, the six-letter mode's word list, from the French word list of
# Debian's wfrench package: six-letter words in windows-1252, 6 bytes each, with nothing
# between them. Run from anywhere; the output is the same on every run.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/../data/clvlet6.txt"
source_list=/usr/share/dict/french

if ! dpkg -s wfrench >/dev/null 2>&1; then
    apt-get install -y wfrench
fi

mkdir -p "$(dirname "$out")"
python3 - "$source_list" "$out" <<'PY'
import re
import sys

source, out = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8") as f:
    D = set(line.rstrip("\n") for line in f)

# Letters of the French keyboard only: this drops proper nouns (capital initial), compounds
# (hyphen, apostrophe, space), abbreviations and the oe/ae ligatures that have no key.
WORD = re.compile(r"[a-zàâäçéèêëîïôöùûüÿ]{6}")

# Nouns that share their spelling with a rare verb form and would otherwise be dropped.
KEEP = {"souris", "liasse", "passes", "tables", "entrée", "pensée", "montée", "portée",
        "rangée", "coulée", "tombée", "épopée"}


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


def conjugates(base):
    return listed(base, "ions", "iez")


# An ending, and the sibling endings that prove the word is a form of that tense (the
# dictionary lists full conjugations, so a real verb always has them; a noun with the same
# ending does not). Passé simple and imperfect subjunctive, all persons.
RARE_TENSES = [
    ("âmes", ("âtes",)), ("âtes", ("âmes",)), ("èrent", ("âmes",)), ("ât", ("assent",)),
    ("asse", ("âmes",)), ("asses", ("âmes",)), ("assent", ("âmes",)),
    ("ai", ("âmes",)), ("as", ("âmes",)), ("a", ("âmes",)),
    ("îmes", ("îtes",)), ("îtes", ("îmes",)), ("irent", ("îmes",)), ("ît", ("issent",)),
    ("isse", ("îmes",)), ("isses", ("îmes",)), ("issent", ("îmes",)),
    ("ûmes", ("ûtes",)), ("ûtes", ("ûmes",)), ("urent", ("ûmes",)), ("ût", ("ussent",)),
    ("usse", ("ûmes",)), ("usses", ("ûmes",)), ("ussent", ("ûmes",)),
]
FUTURE = ("rai", "ras", "ra", "rez", "rons", "ront", "rais", "rait", "riez", "rions")


def odd_verb_form(w):
    """Why w is a conjugated form that reads oddly on its own, or None."""
    for end, siblings in RARE_TENSES:
        if w.endswith(end) and listed(w[:-len(end)], *siblings):
            return "passé simple / imparfait du subjonctif"
    # -is/-it/-us/-ut: passé simple, unless it is also a past participle (permis, écrit).
    for end in ("is", "it"):
        if w.endswith(end) and listed(w[:-2], "îmes") and w[:-2] + end + "e" not in D:
            return "passé simple"
    for end in ("us", "ut"):
        if w.endswith(end) and listed(w[:-2], "ûmes") and w[:-2] + "ue" not in D:
            return "passé simple"
    for end in FUTURE:
        if w.endswith(end) and listed(w[:-len(end)], "rons", "ront"):
            return "futur / conditionnel"
    for end in ("ais", "ait"):
        if w.endswith(end) and conjugates(w[:-len(end)]):
            return "imparfait"
    plural_of_listed = w.endswith("s") and w[:-1] in D        # avions, sermons
    if w.endswith(("ions", "iez")):
        base = w[:-4] if w.endswith("ions") else w[:-3]
        if base + "ions" in D and base + "iez" in D and not plural_of_listed:
            return "nous/vous"
    if w.endswith(("ons", "ez")):
        base = w[:-3] if w.endswith("ons") else w[:-2]
        if conjugates(base) and not plural_of_listed:
            return "nous/vous"
    # -ent/-ant forms, unless the dictionary also has a plural (parent, enfant).
    if w.endswith(("ent", "ant")) and conjugates(w[:-3]) and w + "s" not in D:
        return "ils / participe présent"
    # tu forms (tu abuses); the noun's singular stays in the list.
    if w.endswith("es") and w[:-1] + "r" in D and conjugates(w[:-2]):
        return "tu"
    # Feminine and plural participles (fermée, fermés, fermées); the masculine stays.
    base = re.sub(r"(ée|és|ées)$", "", w)
    if base != w and base + "er" in D and conjugates(base):
        return "participe féminin ou pluriel"
    return None


words = sorted(w for w in D
               if WORD.fullmatch(w) and (w in KEEP or odd_verb_form(w) is None))
with open(out, "wb") as f:
    for w in words:
        record = w.encode("cp1252")
        assert len(record) == 6, w
        f.write(record)
print(f"{len(words)} words written to {out}")
PY
