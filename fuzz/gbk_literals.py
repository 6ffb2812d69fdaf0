#!/usr/bin/python3
"""Copies C++ sources with every non-ASCII character inside a string or character
literal written as GBK octal escapes, which is what -fexec-charset=GBK makes of them.
clang has no GBK execution charset, so the fuzz build compiles these copies.

usage: gbk_literals.py SOURCE_TOP OUT_TOP RELATIVE_PATH..."""
import os
import sys


def escape(ch):
    return "".join("\\%03o" % b for b in ch.encode("gbk"))


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(text[i:j])
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(text[i:j])
            i = j
        elif c in "\"'":
            out.append(c)
            i += 1
            while i < n and text[i] != c:
                if text[i] == "\\":
                    out.append(text[i:i + 2])
                    i += 2
                    continue
                out.append(escape(text[i]) if ord(text[i]) > 0x7F else text[i])
                i += 1
            if i < n:
                out.append(c)
                i += 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main():
    top, out_top, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
    for rel in paths:
        with open(os.path.join(top, rel), encoding="utf-8") as f:
            text = convert(f.read())
        target = os.path.join(out_top, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    main()
