#!/usr/bin/env python3
"""Checks a tool's result against the replacement done here, file by file.

    check_result.py ORIGINAL RESULT FIND REPLACEMENT [i] [r] [bytes]

i: the find text matches in any case. r: the find text is a regular
expression and the replacement refers to its groups as $1 to $9. bytes: the
tool works on bytes, so UTF-16 files (those with a mark FF FE or FE FF) are
not checked. Prints "ok"
or the number of wrong files, and exits 1 when some are wrong.
"""
import os
import re
import sys


def expected(data, pattern, replacement, byte_tool):
    for mark, coding in ((b"\xff\xfe", "utf-16-le"), (b"\xfe\xff", "utf-16-be")):
        if data.startswith(mark):
            if byte_tool:
                return None
            text = data[len(mark):].decode(coding)
            return mark + pattern["text"].sub(replacement, text).encode(coding)
    return pattern["bytes"].sub(replacement.encode(), data)


def main():
    original, result, find, replacement = sys.argv[1:5]
    flags = re.IGNORECASE if "i" in sys.argv[5:] else 0
    byte_tool = "bytes" in sys.argv[5:]
    if "r" in sys.argv[5:]:
        replacement = re.sub(r"\$(\d)", r"\\\1", replacement)
    else:
        find = re.escape(find)
        replacement = replacement.replace("\\", "\\\\")
    pattern = {"text": re.compile(find, flags), "bytes": re.compile(find.encode(), flags)}
    wrong = 0
    for folder, _, names in os.walk(original):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                want = expected(f.read(), pattern, replacement, byte_tool)
            if want is None:
                continue
            with open(os.path.join(result, os.path.relpath(path, original)), "rb") as f:
                wrong += f.read() != want
    print("ok" if wrong == 0 else f"{wrong} wrong")
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
