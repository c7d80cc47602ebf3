#!/usr/bin/env python3
"""Compiles the lesson index from its readable source into "index.ux".

    indexwriter.py SOURCE OUTPUT [--pages FOLDER]

The source is plain text (UTF-8):

    # a comment
    [Forces and motion]                  a heading
    Bouncing ball        | BALL.HTM      an entry: caption | page

Headings and entries keep their order.  The output is the program's plain
index layout: the magic number 105123, the heading count, and for each heading
its number, caption, entry count and entries (caption, page), all integers
32-bit little-endian and every string a 32-bit character count followed by
that many UTF-16LE code units.

With --pages, every entry's page must exist in FOLDER (names compared without
regard to case, as the program does); a missing page stops the build.
"""

import os
import struct
import sys

MAGIC_PLAIN = 105123


class SourceError(Exception):
    pass


def parse(text, source="index"):
    headings = []
    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        where = f"{source}:{number}"
        if line.startswith("[") and line.endswith("]"):
            caption = line[1:-1].strip()
            if not caption:
                raise SourceError(f"{where}: empty heading")
            headings.append((caption, []))
            continue
        if "|" not in line:
            raise SourceError(f"{where}: an entry needs 'caption | page'")
        if not headings:
            raise SourceError(f"{where}: an entry before the first heading")
        caption, page = (part.strip() for part in line.split("|", 1))
        if not caption or not page:
            raise SourceError(f"{where}: empty caption or page")
        if any(c in page for c in "!$/\\"):
            raise SourceError(f"{where}: a page is a plain file name, without ! $ or folders")
        headings[-1][1].append((caption, page))
    return headings


def encode_string(s):
    units = s.encode("utf-16-le")
    return struct.pack("<i", len(units) // 2) + units


def encode(headings):
    out = [struct.pack("<ii", MAGIC_PLAIN, len(headings))]
    for number, (caption, entries) in enumerate(headings):
        out.append(struct.pack("<i", number))
        out.append(encode_string(caption))
        out.append(struct.pack("<i", len(entries)))
        for entry_caption, page in entries:
            out.append(encode_string(entry_caption))
            out.append(encode_string(page))
    return b"".join(out)


def missing_pages(headings, folder):
    present = {name.lower() for name in os.listdir(folder)}
    return [page for _, entries in headings for _, page in entries if page.lower() not in present]


def main(argv):
    args = argv[1:]
    pages = None
    if "--pages" in args:
        i = args.index("--pages")
        pages = args[i + 1]
        del args[i:i + 2]
    if len(args) != 2:
        sys.stderr.write(__doc__)
        return 2
    source, output = args
    try:
        with open(source, encoding="utf-8") as f:
            headings = parse(f.read(), source)
        if pages is not None:
            missing = missing_pages(headings, pages)
            if missing:
                raise SourceError(f"{source}: no such page in {pages}: {', '.join(missing)}")
    except SourceError as e:
        sys.stderr.write(f"indexwriter: {e}\n")
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "wb") as f:
        f.write(encode(headings))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
