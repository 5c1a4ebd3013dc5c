#!/usr/bin/env python3
"""Writes a deterministic corpus for the whole-process benchmark.

    make_corpus.py tree FOLDER   2,000 files, 212 MB, in nested folders
    make_corpus.py big FOLDER    20 files of 10 MiB
    make_corpus.py many FOLDER   100,000 files of about 1 KB in 100 folders
    make_corpus.py huge FOLDER   one file of 1 GiB

English-like lines in which the common word "the" is everywhere. In the tree
the token QUIXOTRIX is in every other file, and the spellings Quixotrix and
quixotrix in every fourth (so a case-insensitive run changes more files); in
every tenth file the first QUIXOTRIX is followed by the rare token needle_
and a word (for the regular-expression case). The
tree holds every coding: mostly 7-bit text, every fifth file with CR LF line
ends, every seventh in UTF-8 with accented letters, every eleventh in
Windows-1252 with such letters, every fiftieth in UTF-16 little endian and
every hundredth in big endian, both with a byte-order mark. The big files are
7-bit text with the token in each.
"""
import os
import random
import sys

WORDS = ("the of and to in is was that for it with as his on be at by had are but from or "
         "have an they which one you were her all she there would their we him been has when "
         "who will more no if out so said what up its about into than them can only other new "
         "some could time these two may then do first any my now such like our over man me even "
         "most made after also did many before must through back years where much your way well "
         "down should because each just those people how too little state good very make world "
         "still own see men work long get here between both life being under never day same "
         "another know while last might us great old year off come since against go came right "
         "used take three").split()
ACCENTED = ["café", "naïve", "façade", "déjà", "smörgåsbord", "crème", "piñata", "señor"]
TOKEN = "QUIXOTRIX"
OTHER_SPELLINGS = ["Quixotrix", "quixotrix"]


def line_pool(rng, accented):
    lines = []
    for _ in range(4000):
        words = [rng.choice(WORDS) for _ in range(rng.randint(6, 16))]
        if accented and rng.random() < 0.3:
            words[rng.randrange(len(words))] = rng.choice(ACCENTED)
        words[0] = words[0].capitalize()
        lines.append(" ".join(words) + ".")
    return lines


def text(rng, pool, size, tokens):
    """About size characters of lines, tokens appended to random lines."""
    mean = sum(map(len, pool)) / len(pool) + 1
    lines = rng.choices(pool, k=int(size / mean) + 1)
    for token in tokens:
        at = rng.randrange(len(lines))
        lines[at] = lines[at] + " " + token
    return lines


def encode(lines, coding, eol):
    body = eol.join(lines) + eol
    if coding == "utf-16-le":
        return b"\xff\xfe" + body.encode("utf-16-le")
    if coding == "utf-16-be":
        return b"\xfe\xff" + body.encode("utf-16-be")
    return body.encode(coding)


def tree(target, rng):
    plain, accented = line_pool(rng, False), line_pool(rng, True)
    per_file = 212_000_000 // 2000
    for n in range(2000):
        folder = os.path.join(target, f"d{n % 10}", f"e{n // 10 % 20}")
        os.makedirs(folder, exist_ok=True)
        coding = ("utf-16-le" if n % 50 == 3 else "utf-16-be" if n % 100 == 9
                  else "utf-8" if n % 7 == 3 else "cp1252" if n % 11 == 5 else "ascii")
        tokens = [TOKEN] * rng.randint(1, 4) if n % 2 == 0 else []
        if n % 10 == 0:
            tokens[0] += " needle_" + WORDS[n // 10 % len(WORDS)]
        if n % 4 == 1:
            tokens += [rng.choice(OTHER_SPELLINGS)]
        wide = coding.startswith("utf-16")
        lines = text(rng, accented if coding in ("utf-8", "cp1252") else plain,
                     per_file // 2 if wide else per_file, tokens)
        with open(os.path.join(folder, f"f{n:04d}.txt"), "wb") as f:
            f.write(encode(lines, coding, "\r\n" if n % 5 == 1 else "\n"))


def big(target, rng):
    pool = line_pool(rng, False)
    os.makedirs(target, exist_ok=True)
    for n in range(20):
        lines = text(rng, pool, 11 * 1024 * 1024, [TOKEN] * 50)
        data = encode(lines, "ascii", "\n")[:10 * 1024 * 1024]
        with open(os.path.join(target, f"big{n:02d}.txt"), "wb") as f:
            f.write(data)


def many(target, rng):
    pool = line_pool(rng, False)
    for n in range(100_000):
        folder = os.path.join(target, f"d{n // 1000:02d}")
        os.makedirs(folder, exist_ok=True)
        lines = text(rng, pool, 1000, [TOKEN] if n % 2 == 0 else [])
        with open(os.path.join(folder, f"f{n:05d}.txt"), "wb") as f:
            f.write(encode(lines, "ascii", "\n"))


def huge(target, rng):
    pool = line_pool(rng, False)
    os.makedirs(target, exist_ok=True)
    piece = encode(text(rng, pool, 17 * 1024 * 1024, [TOKEN] * 100), "ascii", "\n")
    piece = piece[:16 * 1024 * 1024]
    with open(os.path.join(target, "huge.txt"), "wb") as f:
        for _ in range(64):
            f.write(piece)


def main():
    shape, target = sys.argv[1], sys.argv[2]
    rng = random.Random(20261208)
    {"tree": tree, "big": big, "many": many, "huge": huge}[shape](target, rng)


if __name__ == "__main__":
    main()
