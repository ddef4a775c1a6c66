#!/usr/bin/env python3
"""Checks autocorrect.txt against a Hunspell dictionary (default: Debian's en_AU).

Every correction word must be a word of the dictionary, and no misspelling may be one: an
entry that replaced a real word would change correct text while the user types.

    python3 check_list.py [autocorrect.txt] [path/to/en_AU]   (the .dic/.aff pair, no extension)

Only what this check needs of the affix format is read: single-character flags and the
prefix/suffix rules (cross products included); compound rules are ignored.
"""
import re
import sys


def load_affixes(aff_path):
    rules = {}  # flag -> (kind, cross, [(strip, add, condition regex)])
    with open(aff_path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    i = 0
    while i < len(lines):
        parts = lines[i].split()
        if len(parts) == 4 and parts[0] in ("PFX", "SFX"):
            kind, flag, cross, count = parts[0], parts[1], parts[2] == "Y", int(parts[3])
            entries = []
            for line in lines[i + 1:i + 1 + count]:
                p = line.split()
                strip = "" if p[2] == "0" else p[2]
                add = "" if p[3] == "0" else p[3].split("/")[0]
                cond = p[4] if len(p) > 4 else "."
                pattern = ("^" + cond) if kind == "PFX" else (cond + "$")
                entries.append((strip, add, re.compile(pattern)))
            rules[flag] = (kind, cross, entries)
            i += count
        i += 1
    return rules


def expand(stem, flags, rules):
    forms = {stem}
    suffixed = []
    for flag in flags:
        if flag not in rules or rules[flag][0] != "SFX":
            continue
        for strip, add, cond in rules[flag][2]:
            if cond.search(stem) and stem.endswith(strip):
                word = stem[:len(stem) - len(strip)] + add
                forms.add(word)
                if rules[flag][1]:
                    suffixed.append(word)
    for flag in flags:
        if flag not in rules or rules[flag][0] != "PFX":
            continue
        for strip, add, cond in rules[flag][2]:
            for base in [stem] + (suffixed if rules[flag][1] else []):
                if cond.search(base) and base.startswith(strip):
                    forms.add(add + base[len(strip):])
    return forms


def load_words(base):
    rules = load_affixes(base + ".aff")
    words = set()
    with open(base + ".dic", encoding="utf-8") as f:
        next(f)
        for line in f:
            line = line.strip()
            if not line:
                continue
            stem, _, flags = line.partition("/")
            words |= expand(stem, flags, rules)
    return words


def main():
    list_path = sys.argv[1] if len(sys.argv) > 1 else "autocorrect.txt"
    base = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/hunspell/en_AU"
    words = load_words(base)
    known = lambda w: w in words or w.lower() in words or w.capitalize() in words
    problems = 0
    seen = set()
    with open(list_path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            wrong, _, right = (part.strip() for part in line.partition("->"))
            if not right:
                print(f"{list_path}:{number}: no correction")
                problems += 1
                continue
            if wrong in seen:
                print(f"{list_path}:{number}: {wrong} listed twice")
                problems += 1
            seen.add(wrong)
            if known(wrong):
                print(f"{list_path}:{number}: misspelling {wrong} is a word")
                problems += 1
            for w in right.split():
                if not known(w):
                    print(f"{list_path}:{number}: correction word {w} is not a word")
                    problems += 1
    print(f"{len(seen)} entries, {problems} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
