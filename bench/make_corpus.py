#!/usr/bin/env python3
"""Writes a deterministic corpus for the whole-process benchmark.

About 200 MiB in about 2,000 files in nested folders: English-like lines,
every fifth file with CR LF line ends, every seventh in UTF-8 with non-ASCII
letters, the common word "the" everywhere and the rare token "QUIXOTRIX" in
about one file in fifty.
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
ACCENTED = ["café", "naïve", "façade", "Straße", "déjà", "smörgåsbord", "crème", "piñata"]
RARE = "QUIXOTRIX"


def line(rng, utf8):
    words = [rng.choice(WORDS) for _ in range(rng.randint(6, 16))]
    if utf8 and rng.random() < 0.3:
        words[rng.randrange(len(words))] = rng.choice(ACCENTED)
    words[0] = words[0].capitalize()
    return " ".join(words) + "."


def main():
    target = sys.argv[1]
    total_mib = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    files = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
    rng = random.Random(20261208)
    per_file = total_mib * 1024 * 1024 // files
    for n in range(files):
        folder = os.path.join(target, f"d{n % 10}", f"e{n // 10 % 20}")
        os.makedirs(folder, exist_ok=True)
        utf8 = n % 7 == 3
        eol = "\r\n" if n % 5 == 1 else "\n"
        rare_at = rng.randrange(200) if n % 50 == 7 else -1
        lines, size, i = [], 0, 0
        while size < per_file:
            text = line(rng, utf8)
            if i == rare_at:
                text += " " + RARE
            lines.append(text + eol)
            size += len(text) + len(eol)
            i += 1
        data = "".join(lines).encode("utf-8" if utf8 else "ascii")
        with open(os.path.join(folder, f"f{n:04d}.txt"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
