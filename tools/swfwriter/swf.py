"""A small writer for uncompressed SWF movies made of vector shapes.

Only what simple looping animations need: solid-filled and stroked shapes
built from straight and quadratic curved edges (DefineShape3), objects placed
on the display list and moved from frame to frame (PlaceObject2 with a matrix
and an optional colour transform), RemoveObject2 and ShowFrame.

Coordinates are given in pixels and stored in twips (1/20 pixel).  Colours are
(r, g, b) or (r, g, b, a) tuples of 0-255.
"""

import math
import struct

TWIPS = 20

TAG_END = 0
TAG_SHOW_FRAME = 1
TAG_SET_BACKGROUND_COLOR = 9
TAG_PLACE_OBJECT2 = 26
TAG_REMOVE_OBJECT2 = 28
TAG_DEFINE_SHAPE3 = 32
TAG_FILE_ATTRIBUTES = 69


def signed_bits(*values):
    """Bits a signed bit field needs to hold every value (at least 1)."""
    bits = 1
    for v in values:
        v = int(v)
        need = (v.bit_length() if v >= 0 else (~v).bit_length()) + 1
        bits = max(bits, need)
    return bits


def unsigned_bits(*values):
    bits = 0
    for v in values:
        if v < 0:
            raise ValueError("unsigned field given a negative value")
        bits = max(bits, int(v).bit_length())
    return bits


class BitWriter:
    """Bit-packed fields, most significant bit first, as SWF stores them."""

    def __init__(self):
        self.data = bytearray()
        self._acc = 0
        self._count = 0

    def ub(self, value, nbits):
        if nbits == 0:
            if value != 0:
                raise ValueError("a zero-width field can only hold 0")
            return
        if value < 0 or value >= (1 << nbits):
            raise ValueError(f"{value} does not fit in {nbits} unsigned bits")
        for i in range(nbits - 1, -1, -1):
            self._acc = (self._acc << 1) | ((value >> i) & 1)
            self._count += 1
            if self._count == 8:
                self.data.append(self._acc)
                self._acc = 0
                self._count = 0

    def sb(self, value, nbits):
        if not -(1 << (nbits - 1)) <= value < (1 << (nbits - 1)):
            raise ValueError(f"{value} does not fit in {nbits} signed bits")
        self.ub(value & ((1 << nbits) - 1), nbits)

    def align(self):
        if self._count:
            self.data.append(self._acc << (8 - self._count))
            self._acc = 0
            self._count = 0

    def raw(self, data):
        self.align()
        self.data += data

    def getvalue(self):
        self.align()
        return bytes(self.data)


def write_rect(bw, xmin, xmax, ymin, ymax):
    n = signed_bits(xmin, xmax, ymin, ymax)
    bw.ub(n, 5)
    for v in (xmin, xmax, ymin, ymax):
        bw.sb(v, n)
    bw.align()


def rgba(colour):
    if len(colour) == 3:
        return bytes(colour) + b"\xff"
    return bytes(colour)


# --- matrices ----------------------------------------------------------------

class Matrix:
    """x' = a*x + c*y + tx,  y' = b*x + d*y + ty  (pixels)."""

    def __init__(self, a=1.0, b=0.0, c=0.0, d=1.0, tx=0.0, ty=0.0):
        self.a, self.b, self.c, self.d, self.tx, self.ty = a, b, c, d, tx, ty

    def __mul__(self, o):
        """self applied after o."""
        return Matrix(
            self.a * o.a + self.c * o.b,
            self.b * o.a + self.d * o.b,
            self.a * o.c + self.c * o.d,
            self.b * o.c + self.d * o.d,
            self.a * o.tx + self.c * o.ty + self.tx,
            self.b * o.tx + self.d * o.ty + self.ty,
        )

    def key(self):
        return tuple(round(v, 5) for v in (self.a, self.b, self.c, self.d, self.tx, self.ty))


def translate(x, y):
    return Matrix(tx=x, ty=y)


def scale(sx, sy=None):
    return Matrix(a=sx, d=sx if sy is None else sy)


def rotate(degrees):
    r = math.radians(degrees)
    return Matrix(a=math.cos(r), b=math.sin(r), c=-math.sin(r), d=math.cos(r))


def _fixed16(v):
    return int(round(v * 65536))


def write_matrix(bw, m):
    a, d = _fixed16(m.a), _fixed16(m.d)
    b, c = _fixed16(m.b), _fixed16(m.c)
    has_scale = (a, d) != (65536, 65536)
    bw.ub(1 if has_scale else 0, 1)
    if has_scale:
        n = signed_bits(a, d)
        bw.ub(n, 5)
        bw.sb(a, n)
        bw.sb(d, n)
    has_rotate = (b, c) != (0, 0)
    bw.ub(1 if has_rotate else 0, 1)
    if has_rotate:
        n = signed_bits(b, c)
        bw.ub(n, 5)
        bw.sb(b, n)
        bw.sb(c, n)
    tx, ty = int(round(m.tx * TWIPS)), int(round(m.ty * TWIPS))
    n = signed_bits(tx, ty) if (tx or ty) else 0
    bw.ub(n, 5)
    if n:
        bw.sb(tx, n)
        bw.sb(ty, n)
    bw.align()


def write_cxform_with_alpha(bw, mult):
    """Multiply terms only: mult = (r, g, b, a) factors, 1.0 = unchanged."""
    terms = [int(round(f * 256)) for f in mult]
    n = signed_bits(*terms)
    bw.ub(0, 1)  # no add terms
    bw.ub(1, 1)  # multiply terms
    bw.ub(n, 4)
    for t in terms:
        bw.sb(t, n)
    bw.align()


# --- shapes --------------------------------------------------------------------

class Path:
    """One closed or open outline: a start point and straight ('L') or
    quadratic ('Q') segments, all in pixels."""

    def __init__(self, x, y, fill=None, line=None, width=1.0):
        self.start = (x, y)
        self.segments = []
        self.fill = fill
        self.line = line
        self.width = width

    def line_to(self, x, y):
        self.segments.append(("L", None, (x, y)))
        return self

    def curve_to(self, cx, cy, x, y):
        self.segments.append(("Q", (cx, cy), (x, y)))
        return self

    def close(self):
        last = self.segments[-1][2] if self.segments else self.start
        if last != self.start:
            self.line_to(*self.start)
        return self

    def points(self):
        pts = [self.start]
        for _, ctrl, end in self.segments:
            if ctrl:
                pts.append(ctrl)
            pts.append(end)
        return pts

    def signed_area(self):
        """Twice the area, positive when clockwise on the screen (y down)."""
        pts = self.points()
        s = 0.0
        for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
            s += x0 * y1 - x1 * y0
        return s

    def reversed(self):
        r = Path(*self._end(), fill=self.fill, line=self.line, width=self.width)
        starts = [self.start] + [seg[2] for seg in self.segments[:-1]]
        for (kind, ctrl, _), begin in zip(reversed(self.segments), reversed(starts)):
            r.segments.append((kind, ctrl, begin))
        return r

    def _end(self):
        return self.segments[-1][2] if self.segments else self.start


class Shape:
    """A character made of paths; each filled path is stored clockwise so that
    its fill is the fill to the right of the edges (fill style 1)."""

    def __init__(self):
        self.paths = []

    def add(self, path):
        if path.fill is not None:
            path.close()
            if path.signed_area() < 0:
                path = path.reversed()
        self.paths.append(path)
        return path

    # Convenience builders --------------------------------------------------
    def polygon(self, pts, fill=None, line=None, width=1.0):
        p = Path(*pts[0], fill=fill, line=line, width=width)
        for pt in pts[1:]:
            p.line_to(*pt)
        p.close()
        return self.add(p)

    def polyline(self, pts, line, width=1.0):
        p = Path(*pts[0], line=line, width=width)
        for pt in pts[1:]:
            p.line_to(*pt)
        return self.add(p)

    def rect(self, x, y, w, h, fill=None, line=None, width=1.0):
        return self.polygon([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], fill, line, width)

    def ellipse(self, cx, cy, rx, ry, fill=None, line=None, width=1.0):
        # Eight quadratic arcs; the control points lie on the tangents.
        k = 1.0 / math.cos(math.pi / 8)
        p = Path(cx + rx, cy, fill=fill, line=line, width=width)
        for i in range(1, 9):
            a_mid = (i - 0.5) * math.pi / 4
            a_end = i * math.pi / 4
            p.curve_to(cx + rx * k * math.cos(a_mid), cy + ry * k * math.sin(a_mid),
                       cx + rx * math.cos(a_end), cy + ry * math.sin(a_end))
        p.segments[-1] = (p.segments[-1][0], p.segments[-1][1], p.start)
        return self.add(p)

    def circle(self, cx, cy, r, fill=None, line=None, width=1.0):
        return self.ellipse(cx, cy, r, r, fill, line, width)

    def rounded_rect(self, x, y, w, h, r, fill=None, line=None, width=1.0):
        p = Path(x + r, y, fill=fill, line=line, width=width)
        p.line_to(x + w - r, y).curve_to(x + w, y, x + w, y + r)
        p.line_to(x + w, y + h - r).curve_to(x + w, y + h, x + w - r, y + h)
        p.line_to(x + r, y + h).curve_to(x, y + h, x, y + h - r)
        p.line_to(x, y + r).curve_to(x, y, x + r, y)
        return self.add(p)

    # Encoding --------------------------------------------------------------
    def bounds(self):
        xs, ys = [], []
        for p in self.paths:
            half = p.width / 2 if p.line is not None else 0.0
            for x, y in p.points():
                xs += [x - half, x + half]
                ys += [y - half, y + half]
        return min(xs), max(xs), min(ys), max(ys)

    def encode(self, shape_id):
        fills, lines = [], []
        for p in self.paths:
            if p.fill is not None and rgba(p.fill) not in fills:
                fills.append(rgba(p.fill))
            if p.line is not None and (p.width, rgba(p.line)) not in lines:
                lines.append((p.width, rgba(p.line)))
        if len(fills) > 254 or len(lines) > 254:
            raise ValueError("too many styles for one shape")

        bw = BitWriter()
        bw.raw(struct.pack("<H", shape_id))
        x0, x1, y0, y1 = self.bounds()
        write_rect(bw, *(int(math.floor(v * TWIPS)) if i % 2 == 0 else int(math.ceil(v * TWIPS))
                         for i, v in enumerate((x0, x1, y0, y1))))
        bw.raw(bytes([len(fills)]) + b"".join(b"\x00" + f for f in fills))
        bw.raw(bytes([len(lines)]) + b"".join(
            struct.pack("<H", int(round(w * TWIPS))) + c for w, c in lines))
        fill_bits = unsigned_bits(len(fills))
        line_bits = unsigned_bits(len(lines))
        bw.ub(fill_bits, 4)
        bw.ub(line_bits, 4)

        pen = (0, 0)
        for p in self.paths:
            fill_index = fills.index(rgba(p.fill)) + 1 if p.fill is not None else 0
            line_index = lines.index((p.width, rgba(p.line))) + 1 if p.line is not None else 0
            sx, sy = _twips(p.start)
            # Style change: line style, fill style 1, fill style 0 and a move.
            bw.ub(0, 1)
            bw.ub(0, 1)  # no new styles
            bw.ub(1, 1)  # line style
            bw.ub(1, 1)  # fill style 1
            bw.ub(1, 1)  # fill style 0
            bw.ub(1, 1)  # move to
            n = signed_bits(sx, sy)
            bw.ub(n, 5)
            bw.sb(sx, n)
            bw.sb(sy, n)
            bw.ub(0, fill_bits)
            bw.ub(fill_index, fill_bits)
            bw.ub(line_index, line_bits)
            pen = (sx, sy)
            for kind, ctrl, end in p.segments:
                if kind == "L":
                    pen = _straight_edge(bw, pen, _twips(end))
                else:
                    pen = _curved_edge(bw, pen, _twips(ctrl), _twips(end))
        bw.ub(0, 6)  # end of shape
        return bw.getvalue()


def _twips(pt):
    return int(round(pt[0] * TWIPS)), int(round(pt[1] * TWIPS))


_MAX_DELTA = (1 << 16) - 1  # edge fields hold at most 17 signed bits


def _straight_edge(bw, pen, end):
    dx, dy = end[0] - pen[0], end[1] - pen[1]
    if abs(dx) > _MAX_DELTA or abs(dy) > _MAX_DELTA:
        mid = (pen[0] + dx // 2, pen[1] + dy // 2)
        return _straight_edge(bw, _straight_edge(bw, pen, mid), end)
    if dx == 0 and dy == 0:
        return pen
    n = max(signed_bits(dx, dy), 2)
    bw.ub(1, 1)  # edge record
    bw.ub(1, 1)  # straight
    bw.ub(n - 2, 4)
    if dx != 0 and dy != 0:
        bw.ub(1, 1)  # general line
        bw.sb(dx, n)
        bw.sb(dy, n)
    elif dx == 0:
        bw.ub(0, 1)
        bw.ub(1, 1)  # vertical
        bw.sb(dy, n)
    else:
        bw.ub(0, 1)
        bw.ub(0, 1)  # horizontal
        bw.sb(dx, n)
    return end


def _curved_edge(bw, pen, ctrl, end):
    cdx, cdy = ctrl[0] - pen[0], ctrl[1] - pen[1]
    adx, ady = end[0] - ctrl[0], end[1] - ctrl[1]
    if max(abs(cdx), abs(cdy), abs(adx), abs(ady)) > _MAX_DELTA:
        raise ValueError("curve too long for one edge record")
    n = max(signed_bits(cdx, cdy, adx, ady), 2)
    bw.ub(1, 1)  # edge record
    bw.ub(0, 1)  # curved
    bw.ub(n - 2, 4)
    for v in (cdx, cdy, adx, ady):
        bw.sb(v, n)
    return end


# --- the movie -------------------------------------------------------------------

class Movie:
    def __init__(self, width, height, fps, background=(255, 255, 255), version=8):
        if version < 8:
            raise ValueError("movies start with a FileAttributes tag, so version 8 or later")
        self.width, self.height, self.fps = width, height, fps
        self.version = version
        self.tags = []
        self.frames = 0
        self._next_id = 1
        self._shown = {}  # depth -> (character id, matrix key, cxform)
        self._tag(TAG_FILE_ATTRIBUTES, struct.pack("<I", 0))
        self._tag(TAG_SET_BACKGROUND_COLOR, bytes(background[:3]))

    def _tag(self, code, body=b""):
        if len(body) < 0x3F:
            self.tags.append(struct.pack("<H", (code << 6) | len(body)) + body)
        else:
            self.tags.append(struct.pack("<HI", (code << 6) | 0x3F, len(body)) + body)

    def define(self, shape):
        shape_id = self._next_id
        self._next_id += 1
        self._tag(TAG_DEFINE_SHAPE3, shape.encode(shape_id))
        return shape_id

    def frame(self, objects):
        """Shows one frame: objects maps depth -> (character id, Matrix[, alpha
        or (r, g, b, a) multipliers]).  Objects absent from the map are removed;
        unchanged ones cost nothing."""
        for depth in sorted(set(self._shown) - set(objects)):
            self._tag(TAG_REMOVE_OBJECT2, struct.pack("<H", depth))
            del self._shown[depth]
        for depth in sorted(objects):
            entry = objects[depth]
            char, matrix = entry[0], entry[1]
            cx = entry[2] if len(entry) > 2 else None
            if isinstance(cx, (int, float)):
                cx = (1.0, 1.0, 1.0, float(cx))
            cx_key = tuple(int(round(f * 256)) for f in cx) if cx else None
            if cx_key == (256, 256, 256, 256):
                cx, cx_key = None, None
            state = (char, matrix.key(), cx_key)
            old = self._shown.get(depth)
            if old == state:
                continue
            replace = old is not None and old[0] != char
            if replace:
                self._tag(TAG_REMOVE_OBJECT2, struct.pack("<H", depth))
            new = old is None or replace
            if cx is None and old is not None and not replace and old[2] is not None:
                cx = (1.0, 1.0, 1.0, 1.0)  # back to the shape's own colours
            self._place(depth, char if new else None, matrix, cx, move=not new)
            self._shown[depth] = state
        self._tag(TAG_SHOW_FRAME)
        self.frames += 1

    def _place(self, depth, char, matrix, cxform, move):
        bw = BitWriter()
        flags = 0x04  # matrix
        if char is not None:
            flags |= 0x02
        if cxform is not None:
            flags |= 0x08
        if move:
            flags |= 0x01
        bw.raw(struct.pack("<BH", flags, depth))
        if char is not None:
            bw.raw(struct.pack("<H", char))
        write_matrix(bw, matrix)
        if cxform is not None:
            write_cxform_with_alpha(bw, cxform)
        self._tag(TAG_PLACE_OBJECT2, bw.getvalue())

    def to_bytes(self):
        body = b"".join(self.tags) + struct.pack("<H", TAG_END << 6)
        bw = BitWriter()
        write_rect(bw, 0, self.width * TWIPS, 0, self.height * TWIPS)
        rate = int(round(self.fps * 256))
        head = bw.getvalue() + struct.pack("<HH", rate, self.frames)
        length = 8 + len(head) + len(body)
        return b"FWS" + bytes([self.version]) + struct.pack("<I", length) + head + body
