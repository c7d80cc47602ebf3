#!/usr/bin/env python3
"""Writes the lesson-index fixtures: two sound files (plain and extended
layout), a corpus of damaged files for the loader's regression test (also the
fuzzer's seeds), and the fixture lesson book's index.  Run it from anywhere;
it writes beside itself and into ../lesson/html/."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
PLAIN, EXTENDED = 105123, 105122


def i32(v):
    return struct.pack('<i', v)


def string(text):
    units = text.encode('utf-16-le')
    return i32(len(units) // 2) + units


def index_file(headings, extended=False):
    """headings: [(caption, [(caption, page), ...]), ...]"""
    out = i32(EXTENDED if extended else PLAIN)
    if extended:
        out += string('extra one') + string('extra two') + b'\x07'
    out += i32(len(headings))
    for number, (caption, entries) in enumerate(headings):
        out += i32(100 + number) + string(caption)
        if extended:
            out += string('heading extra a') + string('heading extra b')
        out += i32(len(entries))
        for entry_caption, page in entries:
            out += string(entry_caption) + string(page)
            if extended:
                out += string('entry extra')
    return out


SAMPLE = [
    ('Physics', [('Ball', 'BALL.HTM'), ('Car', 'CAR.HTM')]),
    ('Chemistry \u00ba', [('Rates', 'CHEMRATE.HTM'), ('Ball again', 'ball.htm')]),
]


def write(name, data, folder=HERE):
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def main():
    plain = index_file(SAMPLE)
    write('plain.ux', plain)
    write('extended.ux', index_file(SAMPLE, extended=True))

    one = index_file(SAMPLE[:1])
    damaged = {
        'bad-magic.ux': i32(105124) + plain[4:],
        'empty.ux': b'',
        'magic-only.ux': i32(PLAIN),
        'short-magic.ux': plain[:3],
        # Cut inside the second heading: the first stays.
        'cut-in-second-heading.ux': plain[:len(one) + 6],
        # Cut inside the first caption's UTF-16 text (odd byte count).
        'cut-in-string.ux': plain[:8 + 4 + 4 + 5],
        'negative-heading-count.ux': i32(PLAIN) + i32(-1),
        # Claims 2^31-1 headings but holds one.
        'huge-heading-count.ux': i32(PLAIN) + i32(0x7FFFFFFF) + one[8:],
        'negative-string-length.ux': i32(PLAIN) + i32(1) + i32(100) + i32(-5),
        'huge-string-length.ux': i32(PLAIN) + i32(1) + i32(100) + i32(0x7FFFFFFF) + b'AB',
        'min-string-length.ux': i32(PLAIN) + i32(1) + i32(100) + i32(-0x80000000),
        'negative-entry-count.ux': i32(PLAIN) + i32(1) + i32(100) + string('H') + i32(-2),
        'huge-entry-count.ux': i32(PLAIN) + i32(1) + i32(100) + string('H') + i32(0x40000000)
                               + string('a') + string('A.HTM'),
        'extended-cut-in-extra.ux': i32(EXTENDED) + i32(20) + 'abc'.encode('utf-16-le'),
        'extended-missing-byte.ux': i32(EXTENDED) + string('x') + string('y'),
    }
    damaged_dir = os.path.join(HERE, 'damaged')
    os.makedirs(damaged_dir, exist_ok=True)
    for name, data in damaged.items():
        write(name, data, damaged_dir)

    book = [
        ('Physics', [('Bouncing ball', 'BALL.HTM'), ('Car stopping distances', 'CAR.HTM')]),
        ('Chemistry', [('Reaction rates', 'REACTION_RATES.HTM'),
                       ('Calcium carbonate and acid', 'CAHCLINFO.HTM')]),
        ('General', [('Results data', 'resdata.htm'), ('Looking at cells', 'general.htm')]),
        ('Biology', [('Yeast respiration', 'YEAST.HTM')]),
    ]
    write('index.ux', index_file(book), os.path.join(HERE, '..', 'lesson', 'html'))


if __name__ == '__main__':
    main()
