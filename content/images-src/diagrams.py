#!/usr/bin/env python3
"""Writes the lesson book's diagrams as SVG files into this folder.

    diagrams.py

The graphs of typical results are computed from the same formulas as the
simulations, with a little fixed scatter (fixed seeds) on the plotted points,
so the pictures agree with what a pupil measures.  The PNG files and the one
JPEG (iodine-test) in ../html/images/ are these drawings rendered at their
natural size on white; any SVG renderer will do (the committed ones were
rendered with Qt's SVG module, the JPEG at quality 90).  After changing a
drawing, run this script, render the SVG files over the pictures of the same
name, and delete the SVG files.
"""

import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "Liberation Sans, Arial, Helvetica, sans-serif"
INK = "#1d2433"
GRID = "#dde3ec"
BLUE, RED, ORANGE, GREEN, PURPLE, GREY = "#1f5fb4", "#c8372d", "#e0861a", "#2e8540", "#7b3fa0", "#6b7280"


def esc(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


class Svg:
    def __init__(self, width, height, background="#ffffff"):
        self.w, self.h = width, height
        self.items = [f'<rect width="{width}" height="{height}" fill="{background}"/>']

    def add(self, item):
        self.items.append(item)

    def text(self, x, y, s, size=15, anchor="start", weight="normal", colour=INK, rotate=None, style=""):
        tr = f' transform="rotate({rotate} {x:.1f} {y:.1f})"' if rotate is not None else ""
        self.add(f'<text x="{x:.1f}" y="{y:.1f}" font-family="{FONT}" font-size="{size}" '
                 f'text-anchor="{anchor}" font-weight="{weight}" fill="{colour}"{tr}{style}>{esc(s)}</text>')

    def line(self, x1, y1, x2, y2, colour=INK, width=1.5, dash=None, cap="butt"):
        d = f' stroke-dasharray="{dash}"' if dash else ""
        self.add(f'<line x1="{x1:.1f}" y1="{y1:.1f}" x2="{x2:.1f}" y2="{y2:.1f}" stroke="{colour}" '
                 f'stroke-width="{width}" stroke-linecap="{cap}"{d}/>')

    def polyline(self, pts, colour=INK, width=2.0, dash=None, fill="none"):
        d = f' stroke-dasharray="{dash}"' if dash else ""
        p = " ".join(f"{x:.1f},{y:.1f}" for x, y in pts)
        self.add(f'<polyline points="{p}" fill="{fill}" stroke="{colour}" stroke-width="{width}" '
                 f'stroke-linejoin="round"{d}/>')

    def polygon(self, pts, fill, stroke=INK, width=1.5):
        p = " ".join(f"{x:.1f},{y:.1f}" for x, y in pts)
        self.add(f'<polygon points="{p}" fill="{fill}" stroke="{stroke}" stroke-width="{width}" '
                 f'stroke-linejoin="round"/>')

    def rect(self, x, y, w, h, fill, stroke=INK, width=1.5, r=0):
        self.add(f'<rect x="{x:.1f}" y="{y:.1f}" width="{w:.1f}" height="{h:.1f}" rx="{r}" fill="{fill}" '
                 f'stroke="{stroke}" stroke-width="{width}"/>')

    def circle(self, x, y, r, fill, stroke=INK, width=1.5):
        self.add(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.1f}" fill="{fill}" stroke="{stroke}" '
                 f'stroke-width="{width}"/>')

    def arrow(self, x1, y1, x2, y2, colour=INK, width=3, head=12):
        a = math.atan2(y2 - y1, x2 - x1)
        bx, by = x2 - head * math.cos(a), y2 - head * math.sin(a)
        self.line(x1, y1, bx, by, colour, width)
        left = (bx + head * 0.5 * math.sin(a), by - head * 0.5 * math.cos(a))
        right = (bx - head * 0.5 * math.sin(a), by + head * 0.5 * math.cos(a))
        self.polygon([(x2, y2), left, right], colour, colour, 1)

    def save(self, name, defs=""):
        body = "\n".join(self.items)
        svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.w}" height="{self.h}" '
               f'viewBox="0 0 {self.w} {self.h}">\n{defs}{body}\n</svg>\n')
        with open(os.path.join(HERE, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg)


class Graph:
    """Axes with a grid in a rectangle of an Svg."""

    def __init__(self, svg, left, top, width, height, xr, yr, xstep, ystep, xlabel, ylabel,
                 title=None, xfmt="{:g}", yfmt="{:g}"):
        self.s, self.l, self.t, self.w, self.h = svg, left, top, width, height
        self.xr, self.yr = xr, yr
        x = xr[0]
        while x <= xr[1] + 1e-9:
            px = self.px(x)
            svg.line(px, top, px, top + height, GRID, 1)
            svg.line(px, top + height, px, top + height + 5, INK, 1.2)
            svg.text(px, top + height + 21, xfmt.format(round(x, 6)), 13, "middle")
            x += xstep
        y = yr[0]
        while y <= yr[1] + 1e-9:
            py = self.py(y)
            svg.line(left, py, left + width, py, GRID, 1)
            svg.line(left - 5, py, left, py, INK, 1.2)
            svg.text(left - 9, py + 4.5, yfmt.format(round(y, 6)), 13, "end")
            y += ystep
        svg.line(left, top + height, left + width, top + height, INK, 1.6)
        svg.line(left, top, left, top + height, INK, 1.6)
        svg.text(left + width / 2, top + height + 44, xlabel, 15, "middle", "bold")
        svg.text(left - 52, top + height / 2, ylabel, 15, "middle", "bold", rotate=-90)
        if title:
            svg.text(left + width / 2, top - 14, title, 16, "middle", "bold")

    def px(self, x):
        return self.l + (x - self.xr[0]) / (self.xr[1] - self.xr[0]) * self.w

    def py(self, y):
        return self.t + self.h - (y - self.yr[0]) / (self.yr[1] - self.yr[0]) * self.h

    def curve(self, f, x0, x1, colour, width=2.5, dash=None, steps=200):
        pts = []
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            pts.append((self.px(x), self.py(f(x))))
        self.s.polyline(pts, colour, width, dash)

    def points(self, pts, colour, marker="cross"):
        for x, y in pts:
            X, Y = self.px(x), self.py(y)
            if marker == "cross":
                self.s.line(X - 5, Y - 5, X + 5, Y + 5, colour, 2.2)
                self.s.line(X - 5, Y + 5, X + 5, Y - 5, colour, 2.2)
            elif marker == "circle":
                self.s.circle(X, Y, 4.5, "#ffffff", colour, 2.2)
            else:
                self.s.rect(X - 4.5, Y - 4.5, 9, 9, "#ffffff", colour, 2.2)

    def label(self, x, y, s, colour, anchor="start", size=14):
        self.s.text(self.px(x), self.py(y), s, size, anchor, "bold", colour)

    def error_bar(self, x, lo, hi, colour):
        X = self.px(x)
        self.s.line(X, self.py(lo), X, self.py(hi), colour, 1.5)
        for v in (lo, hi):
            self.s.line(X - 5, self.py(v), X + 5, self.py(v), colour, 1.5)


def scattered(rng, values, relative):
    return [v * (1 + rng.gauss(0, relative)) for v in values]


# --- graphs of typical results ------------------------------------------------

def ball_graph():
    rng = random.Random(1)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 100), (0, 70), 10, 10, "Drop height (cm)", "Bounce height (cm)",
              "Bounce height against drop height")
    drops = [20, 40, 60, 80, 100]
    for temp, colour, marker in ((100, RED, "circle"), (20, BLUE, "cross"), (0, GREEN, "square")):
        e = 0.1 + 0.7 * (1 - math.exp(-0.05 * temp))
        f = e * e
        g.curve(lambda x: f * x, 0, 100, colour, 2)
        g.points([(d, f * d * (1 + rng.gauss(0, 0.05))) for d in drops], colour, marker)
        g.label(101 if temp else 88, f * 100 + (1.5 if temp else 3), f"{temp} \u00b0C", colour,
                "end" if temp == 0 else "end")
    s.save("ball-graph")


def termvel_graph():
    s = Svg(760, 420)
    radii = [0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0]
    v = lambda r: 16 * r * r * 980 / (9 * 100)
    rng = random.Random(2)
    pts = [(r, v(r) * (1 + rng.gauss(0, 0.03))) for r in radii]
    g1 = Graph(s, 80, 50, 270, 290, (0, 2), (0, 80), 0.5, 10, "Radius (cm)", "Terminal velocity (cm/s)",
               "Against radius")
    g1.curve(v, 0, 2.0, BLUE)
    g1.points(pts, BLUE)
    g2 = Graph(s, 460, 50, 270, 290, (0, 4), (0, 80), 1, 10, "Radius\u00b2 (cm\u00b2)",
               "Terminal velocity (cm/s)", "Against radius squared")
    g2.curve(lambda x: 17.42 * x, 0, 4.0, RED)
    g2.points([(r * r, y) for r, y in pts], RED)
    s.save("termvel-graph")


def termvel_forces():
    s = Svg(360, 440)
    s.rect(50, 30, 260, 370, "#d6eaff", "#4a5568", 2)
    s.rect(51, 31, 258, 14, "#ffffff", "none", 0)
    s.line(50, 45, 310, 45, "#7f9cbf", 1.5)
    cx, cy = 180, 210
    s.circle(cx, cy, 34, "#e03c3c", "#7a1d16", 2)
    s.arrow(cx, cy + 34, cx, cy + 170, INK, 5)
    s.text(cx + 14, cy + 150, "weight", 17, "start", "bold")
    s.arrow(cx - 18, cy - 34, cx - 18, cy - 74, GREEN, 5)
    s.text(cx - 30, cy - 70, "upthrust", 17, "end", "bold", GREEN)
    s.arrow(cx + 18, cy - 34, cx + 18, cy - 130, ORANGE, 5)
    s.text(cx + 30, cy - 110, "drag", 17, "start", "bold", ORANGE)
    s.text(180, 428, "At terminal velocity: upthrust + drag = weight", 14, "middle")
    s.save("termvel-forces")


def car_ramp():
    s = Svg(560, 300)
    floor, foot_x, top_x = 190, 250, 20
    slope = math.tan(math.radians(25))  # drawn steeper than the real ramp, for clarity
    s.polygon([(foot_x, floor), (top_x, floor - (foot_x - top_x) * slope), (top_x, floor)], "#cfcfcf", INK, 2)
    s.line(0, floor, 560, floor, INK, 2.5)

    def car(x, y, angle, opacity=1.0):
        s.add(f'<g transform="translate({x:.1f},{y:.1f}) rotate({angle})" opacity="{opacity}">'
              '<rect x="-8" y="-34" width="60" height="22" rx="5" fill="#299eed" stroke="#1d2433" stroke-width="2"/>'
              '<rect x="4" y="-46" width="32" height="14" rx="4" fill="#299eed" stroke="#1d2433" stroke-width="2"/>'
              '<circle cx="4" cy="-9" r="9" fill="#3f3f3f"/><circle cx="40" cy="-9" r="9" fill="#3f3f3f"/></g>')

    cx = 60
    cy = floor - (foot_x - cx) * slope
    car(cx, cy, 25)
    hx = 300
    s.line(cx, cy, hx + 12, cy, GREY, 1.5, "5 4")
    s.arrow(hx, floor - 2, hx, cy + 2, RED, 3, 10)
    s.arrow(hx, cy + 2, hx, floor - 2, RED, 3, 10)
    s.text(hx + 10, (cy + floor) / 2 + 5, "release height", 15, "start", "bold", RED)
    stop_x = 460
    car(stop_x, floor, 0, 0.55)
    s.line(foot_x, floor, foot_x, floor + 52, GREY, 1.5, "5 4")
    s.line(stop_x, floor, stop_x, floor + 52, GREY, 1.5, "5 4")
    s.arrow(foot_x + 2, floor + 40, stop_x - 2, floor + 40, BLUE, 3, 10)
    s.arrow(stop_x - 2, floor + 40, foot_x + 2, floor + 40, BLUE, 3, 10)
    s.text((foot_x + stop_x) / 2, floor + 70, "stopping distance", 15, "middle", "bold", BLUE)
    s.text(foot_x, floor + 92, "foot of the ramp", 13, "middle", "normal", GREY)
    s.text(stop_x, floor + 92, "back wheel at rest", 13, "middle", "normal", GREY)
    s.save("car-ramp")


def car_graph():
    def distance(theta_deg, pos):
        th = math.radians(theta_deg)
        h = (30 - pos) * math.tan(th)
        tilt = th if pos < 25 else math.asin(h / 5)
        b = max(3.0394113 * math.sin(math.pi / 4 - tilt) + (h - 2.4), 0)
        return h, math.cos(th) * (19.107323 - 1 / math.sin(th)) * b

    rng = random.Random(3)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 9), (0, 120), 1, 20, "Release height (cm)",
              "Stopping distance (cm)", "Stopping distance against release height (15\u00b0 ramp)")
    data = [distance(15, p) for p in (25, 20, 15, 10, 5, 0)]
    pts = [(h, d * (1 + rng.gauss(0, 0.04))) for h, d in data]
    slope = (data[-1][1] - data[1][1]) / (data[-1][0] - data[1][0])
    g.curve(lambda x: max(slope * (x - data[1][0]) + data[1][1], 0), 0.9, 8.6, BLUE)
    g.points(pts, BLUE)
    s.save("car-graph")


def spring_graph():
    s = Svg(760, 420)
    xs = [2, 4, 6, 8, 10]
    rng = random.Random(4)
    ke = [0.5 * 50 * (x / 100) ** 2 * (1 + rng.gauss(0, 0.06)) for x in xs]
    g1 = Graph(s, 90, 50, 260, 290, (0, 10), (0, 0.3), 2, 0.05, "Compression (cm)", "Kinetic energy (J)",
               "Against compression", yfmt="{:.2f}")
    g1.curve(lambda x: 0.0025 * x * x, 0, 10.2, BLUE)
    g1.points(list(zip(xs, ke)), BLUE)
    g2 = Graph(s, 470, 50, 260, 290, (0, 100), (0, 0.3), 20, 0.05, "Compression\u00b2 (cm\u00b2)",
               "Kinetic energy (J)", "Against compression squared", yfmt="{:.2f}")
    g2.curve(lambda x: 0.0025 * x, 0, 102, RED)
    g2.points([(x * x, k) for x, k in zip(xs, ke)], RED)
    s.save("spring-graph")


def emagnet_graph():
    rng = random.Random(5)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 5.5), (0, 60), 0.5, 10, "Current (A)", "Number of nails picked up",
              "Nails picked up against current (50 turns)")
    g.curve(lambda i: 50 * 2.4 * i / 12, 0, 5.3, BLUE)
    for volts in (2, 4, 6, 8, 10, 12):
        current = round(volts / 2.4, 1)
        mean = 50 * volts / 12
        counts = [max(round(rng.gauss(mean, 5)), 0) for _ in range(5)]
        m = sum(counts) / 5
        g.error_bar(current, min(counts), max(counts), GREY)
        g.points([(current, m)], BLUE)
    s.save("emagnet-graph")


def friction_graph():
    rng = random.Random(6)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 11), (0, 9), 1, 1, "Total weight of block and weights (N)",
              "Limiting friction (N)", "Friction against weight for three surfaces")
    weights = [0.5, 2.5, 4.5, 6.5, 8.5, 10.5]
    for mu, name, colour, marker in ((0.81, "rough", RED, "circle"), (0.52, "medium", BLUE, "cross"),
                                     (0.25, "smooth", GREEN, "square")):
        g.curve(lambda w: mu * w, 0, 10.8, colour, 2)
        g.points([(w, max(mu * w + rng.gauss(0, 0.15), 0.2)) for w in weights], colour, marker)
        g.label(10.9, mu * 10.9 + 0.25, name, colour, "end")
    s.save("friction-graph")


def charles_graph():
    rng = random.Random(7)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (-300, 100), (0, 15), 50, 1, "Temperature (\u00b0C)",
              "Length of air column (cm)", "Length of trapped air against temperature")
    f = lambda t: 10 * (1 + t / 273)
    g.curve(f, -273, 0, RED, 2, "7 5")
    g.curve(f, 0, 100, BLUE, 2.5)
    g.points([(t, f(t) + rng.gauss(0, 0.05)) for t in (0, 20, 40, 60, 80, 100)], BLUE)
    g.s.circle(g.px(-273), g.py(0), 5, RED, RED)
    g.label(-262, 0.3, "\u2212273 \u00b0C: absolute zero", RED)
    s.save("charles-graph")


def heating_graph():
    rng = random.Random(8)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 30), (0, 90), 5, 10, "Time (min)", "Temperature (\u00b0C)",
              "Heating 50 g of water: 6 V, 5 \u03a9")
    a = 36 / (50 * 4.2 * 5)
    ins = lambda m: min(20 + a * 60 * m, 100)
    bare = lambda m: 20 + 80 * (1 - math.exp(-a / 80 * 60 * m))
    g.curve(ins, 0, 30, RED)
    g.curve(bare, 0, 30, BLUE)
    times = [0, 4, 8, 12, 16, 20, 24, 28]
    g.points([(t, ins(t) + (rng.gauss(0, 0.4) if t else 0)) for t in times], RED, "circle")
    g.points([(t, bare(t) + (rng.gauss(0, 0.4) if t else 0)) for t in times], BLUE)
    g.label(29.5, 86, "insulated", RED, "end")
    g.label(29.5, 48, "not insulated", BLUE, "end")
    s.save("heating-graph")


def resistance_graph():
    rng = random.Random(9)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 100), (0, 8), 10, 1, "Length of wire (cm)",
              "Meter reading (\u03a9)", "Resistance against length (0.50 mm wires)")
    area = math.pi * 0.25 ** 2
    lengths = [10, 20, 30, 40, 50, 60, 70, 80, 90, 100]
    for rho, name, colour, marker in ((1.3e-6, "nichrome", RED, "cross"), (4.8e-7, "constantan", BLUE, "circle")):
        r = lambda L: L * rho * 1e4 / area
        g.curve(lambda L: r(L) + 0.2, 0, 100, colour, 2)
        g.points([(L, r(L) + 0.2 + rng.gauss(0, 0.06)) for L in lengths], colour, marker)
    g.points([(3, 7.45)], RED, "cross")
    g.label(6, 7.33, "nichrome", RED)
    g.points([(3, 6.85)], BLUE, "circle")
    g.label(6, 6.73, "constantan", BLUE)
    g.label(24, 0.25, "zero error: 0.2 \u03a9", GREY)
    s.save("resistance-graph")


def cahcl_volume(volume, conc, mass, t):
    a, b, k = 0.01 * mass, 0.0005 * volume * conc, 10 / volume
    if abs(a - b) < 1e-12:
        x = k * t * a * a / (k * t * a + 1)
    else:
        e = math.exp(k * t * (a - b))
        x = a * b * (e - 1) / (a * e - b)
    return min(22400 * x, 50)


def cahcl_graph():
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 600), (0, 55), 60, 5, "Time (s)", "Volume of carbon dioxide (cm\u00b3)",
              "Gas collected: 25 cm\u00b3 of acid, 1.0 g of calcium carbonate")
    for conc, colour in ((0.4, RED), (0.2, BLUE), (0.1, GREEN)):
        g.curve(lambda t: cahcl_volume(25, conc, 1.0, t), 0, 600, colour)
        g.points([(t, cahcl_volume(25, conc, 1.0, t)) for t in range(0, 601, 60)], colour)
    g.label(590, 52, "0.4 M (burette full)", RED, "end")
    g.label(330, 32.5, "0.2 M", BLUE)
    g.label(330, 14.5, "0.1 M", GREEN)
    s.save("cahcl-graph")


def chemrate_graph():
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 40), (0, 100), 5, 10, "Time (min)", "Volume of oxygen (cm\u00b3)",
              "Oxygen collected: 10 cm\u00b3 of 0.8 M hydrogen peroxide")
    final = 11.2 * 10 * 0.8
    for temp, colour in ((40, RED), (20, BLUE)):
        k = 1.17e7 * math.exp(-59400 / ((temp + 273) * 8.314))
        f = lambda m: final * (1 - math.exp(-k * 60 * m))
        g.curve(f, 0, 40, colour)
        g.points([(m, f(m)) for m in range(0, 41, 4)], colour)
        g.label(39.5, f(40) - 7 if temp == 40 else f(40) + 3, f"{temp} \u00b0C", colour, "end")
    g.s.line(g.px(0), g.py(final), g.px(40), g.py(final), GREY, 1.2, "6 4")
    g.label(1, final + 2, "all the peroxide decomposed", GREY)
    s.save("chemrate-graph")


def thermchem_graph():
    rng = random.Random(10)
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 40), (18, 28), 4, 1, "Volume of acid added (cm\u00b3)",
              "Temperature (\u00b0C)", "1.0 M HCl into 20 cm\u00b3 of 1.0 M NaOH")
    rise = lambda v: 20 + min(v, 20) * 57 / ((v + 20) * 4.2)
    pts = [(v, rise(v) + (rng.gauss(0, 0.25) if v else 0)) for v in range(0, 41, 2)]
    g.curve(rise, 0, 40, "#9aa5b5", 1.5)
    g.points(pts, BLUE)
    # Straight lines through the points either side of the peak meet at the end point.
    g.curve(lambda v: 26.79 + 0.2 * (v - 20), 9, 22, RED, 2)
    g.curve(lambda v: 26.79 - 0.148 * (v - 20), 18, 34, RED, 2)
    g.s.line(g.px(20), g.py(18), g.px(20), g.py(26.8), GREY, 1.2, "6 4")
    g.label(20.6, 18.5, "end point: 20 cm\u00b3", GREY)
    s.save("thermchem-graph")


def amylase_graph():
    # Clearing times in minutes; the first orange dimple comes a minute later.  At 10 and 60 degrees
    # the starch outlasts the 30 minutes the simulation can show, so those rates are only known
    # to be below 1/30 per minute and are drawn as arrows pointing down from there.
    table = {10: 30, 15: 16, 20: 10, 25: 7, 30: 5, 35: 4, 40: 4, 45: 4, 50: 5, 55: 9, 60: 30}
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 70), (0, 0.25), 10, 0.05, "Temperature (\u00b0C)",
              "Rate (1 \u00f7 time in min)", "Rate of starch breakdown by amylase", yfmt="{:.2f}")
    pts = [(t, 1 / (m + 1)) for t, m in sorted(table.items())]
    # A Catmull-Rom curve through the points: smooth, without overshooting bumps.
    smooth = []
    for i in range(len(pts) - 1):
        p0, p1, p2, p3 = pts[max(i - 1, 0)], pts[i], pts[i + 1], pts[min(i + 2, len(pts) - 1)]
        for k in range(12):
            u = k / 12
            y = 0.5 * (2 * p1[1] + (-p0[1] + p2[1]) * u + (2 * p0[1] - 5 * p1[1] + 4 * p2[1] - p3[1]) * u * u
                       + (-p0[1] + 3 * p1[1] - 3 * p2[1] + p3[1]) * u ** 3)
            smooth.append((g.px(p1[0] + (p2[0] - p1[0]) * u), g.py(min(max(y, 1 / 31), 0.2))))
    smooth.append((g.px(pts[-1][0]), g.py(pts[-1][1])))
    g.s.polyline(smooth, BLUE, 2.5)
    g.points(pts[1:-1], BLUE)
    for t in (10, 60):
        g.s.arrow(g.px(t), g.py(1 / 31), g.px(t), g.py(0.008), BLUE, 2, 8)
        g.label(t + 1.2, 0.012, "over 30 min", GREY, "start", 12)
    g.label(39.5, 0.215, "optimum", GREEN, "middle")
    s.save("amylase-graph")


def yeast_graph():
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (10, 70), (0, 50), 5, 5, "Temperature (\u00b0C)",
              "Carbon dioxide in 10 min (cm\u00b3)", "Yeast respiration with 0.3 M glucose")

    def volume(temp):
        ft = 0.02 * temp * math.exp(-0.01 * (temp - 40) ** 2)
        fg = 1.84 * 0.3 * math.exp(-10 * (0.3 - 0.5) ** 2)
        return 50 * (1 - math.exp(-0.01 * ft * fg * 600))

    rng = random.Random(11)
    g.curve(volume, 10, 70, BLUE)
    g.points([(t, volume(t) * (1 + rng.gauss(0, 0.04))) for t in range(15, 66, 5)], BLUE)
    s.save("yeast-graph")


def photosyn_graph():
    s = Svg(640, 440)
    g = Graph(s, 80, 40, 520, 320, (0, 100), (0, 0.4), 10, 0.05, "Light meter reading",
              "Rate (cm of bubble per min)", "Photosynthesis at 20 \u00b0C, 0.1 % bicarbonate",
              yfmt="{:.2f}")
    rate = lambda i: (1 - math.exp(-5 * i / 100)) * 0.64 * (1 - math.exp(-1)) * 0.015 * 60
    rng = random.Random(12)
    g.curve(rate, 0, 100, GREEN)
    g.points([(i, rate(i) * (1 + rng.gauss(0, 0.04))) for i in (7, 9, 14, 20, 30, 37, 45, 67, 100)], GREEN)
    g.label(12, 0.06, "light limits the rate", GREY)
    g.label(98, 0.30, "something else limits the rate", GREY, "end")
    s.save("photosyn-graph")


def catalyst_profile():
    s = Svg(640, 420)
    left, right, top, bottom = 80, 600, 40, 350
    s.line(left, top, left, bottom, INK, 2)
    s.line(left, bottom, right, bottom, INK, 2)
    s.text(left - 20, (top + bottom) / 2, "Energy", 16, "middle", "bold", rotate=-90)
    s.text((left + right) / 2, bottom + 32, "Progress of reaction", 16, "middle", "bold")
    react, prod = 250, 310

    def smoothstep(u):
        u = min(max(u, 0.0), 1.0)
        return u * u * (3 - 2 * u)

    def hill(barrier):
        """Flat reactants, a smooth climb of height barrier, a fall to the products."""
        pts = []
        for i in range(201):
            u = i / 200
            x = left + 20 + u * (right - left - 40)
            if u < 0.5:
                y = react - barrier * smoothstep((u - 0.15) / 0.35)
            else:
                y = react - barrier + (prod - react + barrier) * smoothstep((u - 0.5) / 0.35)
            pts.append((x, y))
        return pts

    red_barrier, blue_barrier = 170, 80
    s.polyline(hill(red_barrier), RED, 3)
    s.polyline(hill(blue_barrier), BLUE, 3, "9 6")
    s.text(left + 30, react - 10, "reactants", 15)
    s.text(right - 30, prod - 10, "products", 15, "end")
    peak_x = (left + right) / 2
    s.arrow(peak_x - 120, react, peak_x - 120, react - red_barrier, RED, 2.5, 10)
    s.text(peak_x - 128, react - 130, "activation energy", 14, "end", "bold", RED)
    s.text(peak_x - 128, react - 112, "without catalyst", 14, "end", "normal", RED)
    s.arrow(peak_x + 120, react, peak_x + 120, react - blue_barrier, BLUE, 2.5, 10)
    s.text(peak_x + 128, react - 60, "activation energy", 14, "start", "bold", BLUE)
    s.text(peak_x + 128, react - 42, "with catalyst", 14, "start", "normal", BLUE)
    s.line(peak_x - 120, react - red_barrier, peak_x, react - red_barrier, GREY, 1, "4 4")
    s.line(peak_x, react - blue_barrier, peak_x + 120, react - blue_barrier, GREY, 1, "4 4")
    s.line(left + 20, react, right - 20, react, GREY, 1, "4 4")
    s.save("catalyst-profile")


# --- pictures -----------------------------------------------------------------

def window_picture():
    s = Svg(600, 400, "#ffffff")
    s.rect(10, 10, 580, 380, "#f3f5f9", "#4a5568", 2, 6)
    s.rect(10, 10, 580, 26, "#1f4e79", "#1f4e79", 0, 6)
    s.text(300, 28, "Brevalis - 3rd Edition", 14, "middle", "bold", "#ffffff")
    for x, item in ((22, "File"), (60, "Edit"), (100, "Experiments"), (196, "Toolbars"), (270, "Help")):
        s.text(x, 54, item, 13)
    s.rect(16, 62, 568, 28, "#e6ebf2", "#b8c7da", 1)
    for i, c in enumerate((GREEN, RED, BLUE)):
        s.rect(24 + i * 30, 66, 22, 20, c, "#1d2433", 1, 3)
    s.text(118, 81, "experiment toolbar", 12, "start", "normal", GREY)
    for i in range(6):
        s.rect(314 + i * 26, 66, 22, 20, "#ffffff", "#1d2433", 1, 3)
    s.text(474, 81, "lesson toolbar", 12, "start", "normal", GREY)
    # Left pane: a simulation.
    s.rect(16, 96, 280, 254, "#ffffff", "#b8c7da", 1)
    s.rect(40, 120, 14, 200, "#ffff80", INK, 1)
    for k in range(11):
        s.line(48, 120 + k * 20, 54, 120 + k * 20, INK, 1)
    s.circle(80, 150, 10, "#007f00")
    s.circle(175, 200, 52, "#e7e7ff", "#3f3f3f", 3)
    for k in range(-4, 5):
        s.line(130, 200 + k * 10, 142 if k % 5 else 150, 200 + k * 10, INK, 1)
    s.circle(185, 200, 22, "#007f00")
    s.text(156, 340, "the simulation", 14, "middle", "bold", BLUE)
    s.rect(300, 96, 6, 254, "#cbd5e1", "#cbd5e1", 0)
    # Right pane: a page.
    s.rect(310, 96, 274, 254, "#ffffff", "#b8c7da", 1)
    s.text(322, 122, "Bouncing ball", 16, "start", "bold", "#1f4e79")
    for k in range(8):
        s.rect(322, 136 + k * 18, 240 - (k % 3) * 40, 7, "#d3dbe6", "none", 0, 3)
    s.text(447, 340, "the lesson book", 14, "middle", "bold", BLUE)
    # Status bar with the three split buttons.
    s.rect(16, 356, 568, 26, "#e6ebf2", "#b8c7da", 1)
    for i in range(3):
        s.rect(24 + i * 26, 360, 20, 18, "#ffffff", "#1d2433", 1, 2)
        s.line(34 + i * 26, 362, 34 + i * 26, 376, "#1d2433", 1)
    s.text(110, 374, "split buttons: simulation only \u00b7 both \u00b7 book only", 12)
    s.save("window")


def iodine_tray():
    # A soft, photographic look: shaded tray, glossy drops (saved as JPEG).
    defs = ('<defs>'
            '<radialGradient id="blue" cx="40%" cy="35%" r="70%"><stop offset="0" stop-color="#7d7dff"/>'
            '<stop offset="0.6" stop-color="#2b2b8f"/><stop offset="1" stop-color="#14144d"/></radialGradient>'
            '<radialGradient id="orange" cx="40%" cy="35%" r="70%"><stop offset="0" stop-color="#ffd49a"/>'
            '<stop offset="0.6" stop-color="#f08a1c"/><stop offset="1" stop-color="#a24d00"/></radialGradient>'
            '<radialGradient id="dimple" cx="50%" cy="45%" r="60%"><stop offset="0" stop-color="#ffffff"/>'
            '<stop offset="0.8" stop-color="#e9e9ee"/><stop offset="1" stop-color="#c5c7d0"/></radialGradient>'
            '<linearGradient id="tray" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#fbfbfd"/>'
            '<stop offset="1" stop-color="#dcdde4"/></linearGradient>'
            '<linearGradient id="bench" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="#c9a27a"/>'
            '<stop offset="1" stop-color="#8d6a49"/></linearGradient>'
            '</defs>')
    s = Svg(560, 380)
    s.items = [f'<rect width="560" height="380" fill="url(#bench)"/>']
    s.add('<rect x="36" y="36" width="488" height="292" rx="22" fill="#000000" opacity="0.2"/>')
    s.add('<rect x="28" y="26" width="488" height="292" rx="22" fill="url(#tray)" stroke="#b3b5bf" stroke-width="2"/>')
    times = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15]
    for i, minutes in enumerate(times):
        col, row = i % 5, i // 5
        x, y = 92 + col * 90, 88 + row * 92
        s.add(f'<circle cx="{x}" cy="{y}" r="32" fill="url(#dimple)" stroke="#b9bbc6" stroke-width="1.5"/>')
        colour = "url(#blue)" if minutes <= 10 else "url(#orange)"
        s.add(f'<ellipse cx="{x}" cy="{y + 2}" rx="21" ry="19" fill="{colour}"/>')
        s.add(f'<ellipse cx="{x - 7}" cy="{y - 7}" rx="6" ry="4" fill="#ffffff" opacity="0.6"/>')
        s.text(x, y - 38, f"{minutes} min", 13, "middle", "bold", "#2d3f58")
    s.text(280, 354, "At 20 \u00b0C: blue-black up to 10 min, orange from 11 min", 15,
           "middle", "bold", "#ffffff")
    s.save("iodine-test", defs)


def splash():
    defs = ('<defs>'
            '<linearGradient id="sky" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#1f4e79"/>'
            '<stop offset="1" stop-color="#2f7bbf"/></linearGradient>'
            '<linearGradient id="liquid" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#7fe0b0"/>'
            '<stop offset="1" stop-color="#2e9b63"/></linearGradient>'
            '<radialGradient id="ball" cx="35%" cy="30%" r="70%"><stop offset="0" stop-color="#ff9b8f"/>'
            '<stop offset="1" stop-color="#c8372d"/></radialGradient>'
            '</defs>')
    s = Svg(500, 332)
    s.items = ['<rect width="500" height="332" fill="url(#sky)"/>']
    # Faint graph paper.
    for x in range(10, 500, 20):
        s.line(x, 0, x, 332, "#ffffff", 0.6)
    for y in range(6, 332, 20):
        s.line(0, y, 500, y, "#ffffff", 0.6)
    s.add('<rect width="500" height="332" fill="url(#sky)" opacity="0.82"/>')
    # Conical flask.
    s.add('<path d="M 330 78 L 330 140 L 282 240 Q 276 256 292 256 L 408 256 Q 424 256 418 240 L 370 140 '
          'L 370 78 Z" fill="#ffffff" fill-opacity="0.18" stroke="#ffffff" stroke-width="4" stroke-linejoin="round"/>')
    s.add('<path d="M 306 190 L 394 190 L 418 240 Q 424 256 408 256 L 292 256 Q 276 256 282 240 Z" '
          'fill="url(#liquid)"/>')
    s.add('<rect x="322" y="66" width="56" height="16" rx="4" fill="#ffffff"/>')
    for cx, cy, r in ((330, 226, 7), (356, 210, 5), (372, 232, 8), (348, 170, 6), (362, 146, 4.5), (340, 118, 3.5)):
        s.circle(cx, cy, r, "none", "#ffffff", 2.2)
    # Bouncing ball and its path.
    s.add('<path d="M 150 70 Q 172 70 186 250 Q 208 150 230 250 Q 246 190 262 250" fill="none" '
          'stroke="#ffffff" stroke-width="2.5" stroke-dasharray="6 6" opacity="0.75"/>')
    s.add('<circle cx="150" cy="70" r="18" fill="url(#ball)" stroke="#ffffff" stroke-width="2.5"/>')
    # Atom orbit.
    s.add('<g transform="translate(440 120)" fill="none" stroke="#ffd35a" stroke-width="2.5">'
          '<ellipse rx="34" ry="12"/><ellipse rx="34" ry="12" transform="rotate(60)"/>'
          '<ellipse rx="34" ry="12" transform="rotate(-60)"/></g>')
    s.circle(440, 120, 6, "#ffd35a", "#ffd35a")
    s.line(60, 256, 440, 256, "#ffffff", 3)
    s.text(40, 298, "Brevalis", 44, "start", "bold", "#ffffff")
    s.text(246, 298, "the virtual science laboratory", 15, "start", "normal", "#e6f0ff")
    s.save("Splash", defs)


if __name__ == "__main__":
    for make in (ball_graph, termvel_graph, termvel_forces, car_ramp, car_graph, spring_graph, emagnet_graph,
                 friction_graph, charles_graph, heating_graph, resistance_graph, cahcl_graph, chemrate_graph,
                 thermchem_graph, amylase_graph, yeast_graph, photosyn_graph, catalyst_profile, window_picture,
                 iodine_tray, splash):
        make()
