#!/usr/bin/env python3
"""Assembles the lesson book's pages from their sources.

    assemble_pages.py SOURCE_FOLDER OUTPUT_FOLDER
    assemble_pages.py --list SOURCE_FOLDER

Every *.page file in SOURCE_FOLDER holds one or more pages.  A page starts with
a line

    === FILE.HTM | Title of the page

followed by its body, written as HTML.  The assembler adds the head (the
title, the shared style sheet) and the navigation bar, so every page of the
book looks and links alike.  A file may start with

    @family STEM | Name of the investigation

and then holds that investigation's six pages (STEM.HTM, STEM-PLAN.HTM,
STEM-DATA.HTM, STEM-ANYS.HTM, STEM-CON.HTM, STEM-HELP.HTM); each gets a bar
linking the six and a link on to the next.  A page whose first body line is
"@bare" gets no navigation bar (the start page has its own).
"""

import glob
import html
import os
import sys

FAMILY = [("", "Introduction"), ("-PLAN", "Plan"), ("-DATA", "Results"),
          ("-ANYS", "Analysis"), ("-CON", "Conclusion"), ("-HELP", "Help")]

NEXT_TEXT = {"-PLAN": "Plan your investigation", "-DATA": "Take and record your results",
             "-ANYS": "Analyse your results", "-CON": "Draw your conclusion",
             "-HELP": "Help with the simulation"}


class SourceError(Exception):
    pass


def read_sources(folder):
    pages = []  # (file name, title, body lines, family or None, bare)
    for path in sorted(glob.glob(os.path.join(folder, "*.page"))):
        family = None
        current = None
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, start=1):
                line = line.rstrip("\n")
                if line.startswith("@family ") and current is None:
                    stem, _, name = line[len("@family "):].partition("|")
                    family = (stem.strip(), name.strip())
                elif line.startswith("=== "):
                    name, sep, title = line[4:].partition("|")
                    if not sep or not name.strip() or not title.strip():
                        raise SourceError(f"{path}:{number}: expected '=== FILE | Title'")
                    current = [name.strip(), title.strip(), [], family, False]
                    pages.append(current)
                elif current is None:
                    if line.strip():
                        raise SourceError(f"{path}:{number}: text before the first page")
                elif line.strip() == "@bare" and not current[2]:
                    current[4] = True
                else:
                    current[2].append(line)
    names = [p[0].lower() for p in pages]
    for p in pages:
        if names.count(p[0].lower()) > 1:
            raise SourceError(f"page {p[0]} is written twice")
    check_families(pages)
    return pages


def check_families(pages):
    stems = {p[3][0] for p in pages if p[3]}
    names = {p[0] for p in pages}
    for stem in stems:
        for suffix, _ in FAMILY:
            if f"{stem}{suffix}.HTM" not in names:
                raise SourceError(f"the {stem} family has no {stem}{suffix}.HTM")


def family_nav(stem, name, here):
    links = [f'<a class="home" href="index.html">Contents</a>',
             f'<span class="family">{html.escape(name)}</span>']
    for suffix, label in FAMILY:
        target = f"{stem}{suffix}.HTM"
        css = ' class="here" aria-current="page"' if target == here else ""
        links.append(f'<a{css} href="{target}">{label}</a>')
    return (f'<nav class="bar" aria-label="Pages of {html.escape(name)}">\n' + "\n".join(links)
            + "\n</nav>")


def family_next(stem, here):
    files = [f"{stem}{suffix}.HTM" for suffix, _ in FAMILY]
    i = files.index(here)
    if i + 1 < len(files):
        suffix = FAMILY[i + 1][0]
        return (f'<p class="next">Next: <a href="{files[i + 1]}">{NEXT_TEXT[suffix]}</a> &#8594;</p>')
    return f'<p class="next">Back to <a href="{files[0]}">the introduction</a></p>'


def render(page):
    name, title, body, family, bare = page
    parts = ["<!DOCTYPE html>", '<html lang="en-GB">', "<head>", '<meta charset="utf-8">',
             f"<title>{html.escape(title)}</title>",
             '<link rel="stylesheet" href="book.css">', "</head>", "<body>"]
    if not bare:
        if family:
            parts.append(family_nav(family[0], family[1], name))
        else:
            parts.append('<nav class="bar" aria-label="Lesson book">\n'
                         '<a class="home" href="index.html">Contents</a>\n</nav>')
    while body and not body[0].strip():
        body = body[1:]
    while body and not body[-1].strip():
        body = body[:-1]
    parts += body
    if family:
        parts.append(family_next(family[0], name))
    parts += ["</body>", "</html>", ""]
    return "\n".join(parts)


def main(argv):
    try:
        if len(argv) == 3 and argv[1] == "--list":
            for page in read_sources(argv[2]):
                print(page[0])
            return 0
        if len(argv) != 3:
            sys.stderr.write(__doc__)
            return 2
        pages = read_sources(argv[1])
    except SourceError as e:
        sys.stderr.write(f"assemble_pages: {e}\n")
        return 1
    os.makedirs(argv[2], exist_ok=True)
    for page in pages:
        with open(os.path.join(argv[2], page[0]), "w", encoding="utf-8", newline="\n") as f:
            f.write(render(page))
    remove_stale_pages(argv[2], {page[0] for page in pages})
    return 0


def remove_stale_pages(folder, written):
    """Pages are only made here, so a page whose source has gone is deleted
    rather than left behind as a page nothing links to."""
    for name in os.listdir(folder):
        if name.lower().endswith((".htm", ".html")) and name not in written:
            os.remove(os.path.join(folder, name))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
