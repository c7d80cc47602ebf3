#!/usr/bin/env python3
"""Builds the lesson book's five Flash movies.

    movies.py OUTPUT_FOLDER [Name ...]

Each movie is a short vector animation that loops seamlessly: every object's
position is a function of the time within the loop, so the last frame leads
straight back into the first.  The pages beside the movies (VOLTMOD.HTM,
ENERGY.HTM, RESMODEL.HTM, ENZYME_INFO.HTM, AMYLASE-INFO.HTM) carry the key to
the colours, since the movies hold no text.
"""

import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from swf import Movie, Shape, rotate, scale, translate  # noqa: E402

WIDTH, HEIGHT, FPS = 550, 400, 24

INK = (40, 48, 64)
WIRE = (120, 126, 140)
ELECTRON = (40, 110, 220)
ENERGY = (255, 196, 0)
GLOW = (255, 236, 120)


def smooth(u):
    """0 -> 0 and 1 -> 1 with zero speed at both ends."""
    u = min(max(u, 0.0), 1.0)
    return u * u * (3 - 2 * u)


def lerp(a, b, u):
    return a + (b - a) * u


def phase(t, start, end):
    """How far t is through [start, end], limited to 0..1."""
    return min(max((t - start) / (end - start), 0.0), 1.0)


def plus_sign(shape, cx, cy, size, colour, thickness):
    h = thickness / 2
    shape.rect(cx - size, cy - h, 2 * size, thickness, fill=colour)
    shape.rect(cx - h, cy - size, thickness, size - h, fill=colour)
    shape.rect(cx - h, cy + h, thickness, size - h, fill=colour)


def minus_sign(shape, cx, cy, size, colour, thickness):
    shape.rect(cx - size, cy - thickness / 2, 2 * size, thickness, fill=colour)


def run_frames(movie, seconds, state_at):
    frames = int(round(seconds * FPS))
    for f in range(frames):
        movie.frame(state_at(f / FPS))


# --- a voltage gives energy to the charges ----------------------------------

def voltage_movie():
    """Electrons circulate round a cell and a lamp.  Each carries a packet of
    energy (yellow) that it picks up inside the cell and gives up in the lamp,
    which glows: the cell's voltage is the energy given to each charge."""
    m = Movie(WIDTH, HEIGHT, FPS)
    left, right, top, bottom, corner = 100, 450, 90, 310, 12

    circuit = Shape()
    circuit.rounded_rect(left, top, right - left, bottom - top, corner, line=WIRE, width=10)
    m_circuit = m.define(circuit)

    cell = Shape()
    cy = (top + bottom) / 2
    cell.rect(left - 30, cy - 22, 60, 44, fill=(255, 255, 255))
    cell.rect(left - 34, cy - 18, 68, 6, fill=INK)          # long plate: positive
    cell.rect(left - 18, cy + 10, 36, 12, fill=INK)         # short plate: negative
    plus_sign(cell, left - 55, cy - 24, 8, (200, 40, 40), 4)
    minus_sign(cell, left - 55, cy + 24, 8, ELECTRON, 4)
    m_cell = m.define(cell)

    lamp = Shape()
    lamp.circle(right, cy, 30, fill=(255, 255, 255), line=INK, width=4)
    d = 30 / math.sqrt(2)
    lamp.polyline([(right - d, cy - d), (right + d, cy + d)], INK, 4)
    lamp.polyline([(right - d, cy + d), (right + d, cy - d)], INK, 4)
    m_lamp = m.define(lamp)

    glow = Shape()
    glow.circle(0, 0, 62, fill=GLOW + (150,))
    glow.circle(0, 0, 46, fill=(255, 250, 200, 200))
    m_glow = m.define(glow)

    rays = Shape()
    for k in range(10):
        a = math.radians(k * 36 + 18)
        rays.polyline([(70 * math.cos(a), 70 * math.sin(a)),
                       (88 * math.cos(a), 88 * math.sin(a))], (240, 170, 0), 5)
    m_rays = m.define(rays)

    electron = Shape()
    electron.circle(0, 0, 10, fill=ELECTRON, line=(20, 60, 140), width=1.5)
    minus_sign(electron, 0, 0, 5, (255, 255, 255), 3)
    m_electron = m.define(electron)

    packet = Shape()
    packet.polygon([(13 * math.cos(math.radians(a)) * (1 if i % 2 == 0 else 0.45),
                     13 * math.sin(math.radians(a)) * (1 if i % 2 == 0 else 0.45))
                    for i, a in enumerate(range(-90, 270, 36))],
                   fill=ENERGY, line=(200, 120, 0), width=1)
    m_packet = m.define(packet)

    # The electrons' loop, anticlockwise on the screen: out of the negative
    # plate, along the bottom, up through the lamp, back along the top and into
    # the positive plate.
    corners = [(left, cy + 16), (left, bottom), (right, bottom), (right, top), (left, top),
               (left, cy - 15)]
    lengths = [math.dist(a, b) for a, b in zip(corners, corners[1:])]
    wire_length = sum(lengths)
    inside_cell = 31.0  # from the positive plate back to the negative plate
    loop = wire_length + inside_cell
    lamp_start = lengths[0] + lengths[1] + (bottom - cy) - 30
    lamp_end = lamp_start + 60

    def point_at(s):
        s %= loop
        if s >= wire_length:  # crossing the cell, positive to negative plate
            u = (s - wire_length) / inside_cell
            return (left, lerp(cy - 15, cy + 16, u))
        for (a, b), length in zip(zip(corners, corners[1:]), lengths):
            if s <= length:
                u = s / length
                return (lerp(a[0], b[0], u), lerp(a[1], b[1], u))
            s -= length
        return corners[-1]

    def energy_at(s):
        s %= loop
        if s >= wire_length:
            return (s - wire_length) / inside_cell
        if s < lamp_start:
            return 1.0
        if s < lamp_end:
            return 1.0 - (s - lamp_start) / (lamp_end - lamp_start)
        return 0.0

    count, seconds = 12, 4.0
    spacing = loop / count

    def state(t):
        objects = {1: (m_circuit, translate(0, 0)), 2: (m_cell, translate(0, 0))}
        flicker = 0.85 + 0.15 * math.sin(2 * math.pi * t * 3 / seconds)
        objects[3] = (m_glow, translate(right, cy) * scale(flicker), 0.9)
        objects[4] = (m_rays, translate(right, cy) * rotate(t * 360 / seconds / 4) * scale(flicker))
        objects[5] = (m_lamp, translate(0, 0))
        for k in range(count):
            s = k * spacing + t / seconds * spacing
            x, y = point_at(s)
            objects[10 + 2 * k] = (m_electron, translate(x, y))
            e = energy_at(s)
            objects[11 + 2 * k] = (m_packet, translate(x + 12, y - 12) * scale(max(e, 0.01)),
                                   1.0 if e > 0.02 else 0.0)
        return objects

    run_frames(m, seconds, state)
    return m


# --- a bouncing ball's energy ------------------------------------------------

def energy_ball_movie():
    """A ball falls and bounces lower each time.  Three bars show its energy
    stores: gravitational potential (blue), kinetic (red) and the thermal
    store of the ball and floor (orange), whose total never changes."""
    m = Movie(WIDTH, HEIGHT, FPS)
    floor_y, ball_x, radius = 350, 160, 20
    drop = 260.0  # the first drop, pixels from the bottom of the ball to the floor
    g = 2 * drop / 1.0 ** 2  # the first fall takes one second
    keep = 0.64  # fraction of its energy the ball keeps at each bounce
    bounces = 5

    scene = Shape()
    scene.rect(20, floor_y, 280, 14, fill=(190, 170, 140), line=INK, width=2)
    # A faint mark at the height the ball is dropped from.
    scene.polyline([(ball_x - 45, floor_y - drop), (ball_x + 45, floor_y - drop)], (170, 170, 170), 2)
    m_scene = m.define(scene)

    ball = Shape()
    ball.circle(0, -radius, radius, fill=(230, 60, 60), line=(130, 20, 20), width=2)
    ball.circle(-7, -radius - 7, 5, fill=(255, 180, 180))
    m_ball = m.define(ball)

    bar_x = [350, 410, 470]
    bar_colours = [(60, 110, 220), (230, 60, 60), (245, 150, 30)]
    bar_base, bar_height, bar_width = 350, 260, 44

    frame = Shape()
    for x in bar_x:
        frame.rect(x, bar_base - bar_height, bar_width, bar_height, line=(200, 200, 210), width=1.5)
    frame.polyline([(335, bar_base), (530, bar_base)], INK, 3)
    m_frame = m.define(frame)

    bars = []
    for colour in bar_colours:
        s = Shape()
        s.rect(0, -1, bar_width, 1, fill=colour)
        bars.append(m.define(s))

    # Flight k (k = 0 is the first fall) starts with mechanical energy keep**k.
    events = [(0.0, 1.0, -1)]  # (start time, height of the flight's top, flight number)
    t = math.sqrt(2 * drop / g)
    for k in range(1, bounces + 1):
        events.append((t, drop * keep ** k, k))
        t += 2 * math.sqrt(2 * drop * keep ** k / g)
    rest_time = t
    seconds = math.ceil((rest_time + 1.2) * FPS) / FPS

    def ball_state(t):
        """Height of the ball above the floor and its mechanical energy."""
        if t < events[1][0]:
            return drop - 0.5 * g * t * t, 1.0, False
        for (start, top_h, k), nxt in zip(events[1:], events[2:] + [(rest_time, 0, 0)]):
            if t < nxt[0]:
                v0 = math.sqrt(2 * g * top_h)
                tau = t - start
                h = max(v0 * tau - 0.5 * g * tau * tau, 0.0)
                squash = tau < 0.06 or nxt[0] - t < 0.03
                return h, keep ** k, squash
        return 0.0, keep ** bounces, False

    def state(t):
        h, mech, squash = ball_state(t)
        # The last half second fades the resting ball out and returns the bars
        # to the start, so the loop begins again with the ball at the top.
        reset = phase(t, seconds - 0.5, seconds)
        alpha = phase(t, 0.0, 0.25) if t < 0.25 else 1.0 - reset
        pose = translate(ball_x, floor_y - h) * (scale(1.15, 0.85) if squash else scale(1.0))
        gpe = h / drop
        stores = (gpe, max(mech - gpe, 0.0), 1.0 - mech)
        objects = {1: (m_scene, translate(0, 0)), 2: (m_frame, translate(0, 0)),
                   3: (m_ball, pose, alpha)}
        for i, (value, start, char) in enumerate(zip(stores, (1.0, 0.0, 0.0), bars)):
            shown = lerp(value, start, reset)
            objects[10 + i] = (char, translate(bar_x[i], bar_base) * scale(1, shown * bar_height))
        return objects

    run_frames(m, seconds, state)
    return m


# --- electrons drifting through a wire ---------------------------------------

def electrons_movie():
    """Free electrons (blue) dart about between the vibrating metal ions
    (orange) of a wire, bumping into them, while the battery makes them drift,
    on average, from the negative end to the positive end."""
    m = Movie(WIDTH, HEIGHT, FPS)
    rng = random.Random(20240601)
    band_top, band_bottom = 110, 290
    seconds = 6.0
    wrap = 590.0  # the pattern repeats every wrap pixels along the wire

    wire = Shape()
    wire.rect(-10, band_top, WIDTH + 20, band_bottom - band_top, fill=(232, 234, 242))
    wire.polyline([(-10, band_top), (WIDTH + 10, band_top)], WIRE, 4)
    wire.polyline([(-10, band_bottom), (WIDTH + 10, band_bottom)], WIRE, 4)
    minus_sign(wire, 40, 60, 14, ELECTRON, 6)
    plus_sign(wire, WIDTH - 40, 60, 14, (200, 40, 40), 6)
    # A drift arrow under the wire, from the negative end to the positive end.
    wire.polygon([(180, 335), (350, 335), (350, 325), (372, 340), (350, 355), (350, 345), (180, 345)],
                 fill=(150, 160, 180))
    m_wire = m.define(wire)

    ion = Shape()
    ion.circle(0, 0, 17, fill=(240, 150, 60), line=(170, 90, 20), width=1.5)
    plus_sign(ion, 0, 0, 8, (255, 255, 255), 3.5)
    m_ion = m.define(ion)

    electron = Shape()
    electron.circle(0, 0, 7, fill=ELECTRON, line=(20, 60, 140), width=1)
    m_electron = m.define(electron)

    ions = []
    for row, y in enumerate((145, 200, 255)):
        for col in range(9):
            x = 30 + col * 70 + (35 if row == 1 else 0)
            ions.append((x, y, rng.uniform(0, 2 * math.pi), rng.uniform(0, 2 * math.pi)))

    def electron_path():
        stops = 11
        y0 = rng.uniform(band_top + 12, band_bottom - 12)
        x0 = rng.uniform(0, wrap)
        pts = [(x0, y0)]
        for k in range(1, stops):
            x = x0 + wrap * k / stops + rng.uniform(-45, 45)
            pts.append((x, rng.uniform(band_top + 12, band_bottom - 12)))
        pts.append((x0 + wrap, y0))
        # Irregular times between collisions, like a real free path.
        weights = [rng.uniform(0.5, 1.5) for _ in range(stops)]
        total = sum(weights)
        times = [0.0]
        for w in weights:
            times.append(times[-1] + seconds * w / total)
        return pts, times

    paths = [electron_path() for _ in range(16)]

    def electron_at(path, t):
        pts, times = path
        for i in range(len(times) - 1):
            if t <= times[i + 1]:
                u = (t - times[i]) / (times[i + 1] - times[i])
                x = lerp(pts[i][0], pts[i + 1][0], u)
                y = lerp(pts[i][1], pts[i + 1][1], u)
                return ((x + 20) % wrap) - 20, y
        return pts[-1]

    def state(t):
        objects = {1: (m_wire, translate(0, 0))}
        w = 2 * math.pi * t / seconds
        for i, (x, y, p, q) in enumerate(ions):
            dx = 2.5 * math.sin(8 * w + p)
            dy = 2.5 * math.sin(11 * w + q)
            objects[10 + i] = (m_ion, translate(x + dx, y + dy))
        for i, path in enumerate(paths):
            objects[100 + i] = (m_electron, translate(*electron_at(path, t)))
        return objects

    run_frames(m, seconds, state)
    return m


# --- an enzyme and its substrate ---------------------------------------------

def enzyme_movie():
    """A substrate molecule (two-coloured) fits the enzyme's active site like a
    key in a lock and is split into two products; the enzyme is unchanged.  A
    round molecule of the wrong shape bumps into the site and bounces away."""
    m = Movie(WIDTH, HEIGHT, FPS)
    cx, cy, r = 275.0, 245.0, 125.0
    site = (cx, 150.0)  # where the substrate's centre sits when bound
    half = 30.0

    def site_outline():
        # Around the body clockwise from the right edge of the site, with a few
        # gentle bumps, then down into the site and back up its left wall.
        edge_y = cy - math.sqrt(r * r - half * half)
        start = math.atan2(edge_y - cy, half)
        end = math.atan2(edge_y - cy, -half) + 2 * math.pi
        pts = []
        steps = 56
        for i in range(steps + 1):
            a = lerp(start, end, i / steps)
            rr = r * (1 + 0.04 * math.sin(3 * a) + 0.025 * math.sin(5 * a + 1))
            if i in (0, steps):
                rr = r
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        pts += [(cx - half, site[1]), (cx, site[1] + 25), (cx + half, site[1])]
        return pts

    enzyme = Shape()
    enzyme.polygon(site_outline(), fill=(70, 170, 110), line=(30, 100, 60), width=3)
    m_enzyme = m.define(enzyme)

    left_half = Shape()
    left_half.polygon([(-half, -30), (0, -30), (0, 25), (-half, 0)],
                      fill=(150, 80, 200), line=(80, 30, 120), width=2)
    m_left = m.define(left_half)
    right_half = Shape()
    right_half.polygon([(0, -30), (half, -30), (half, 0), (0, 25)],
                       fill=(230, 110, 170), line=(140, 40, 90), width=2)
    m_right = m.define(right_half)

    wrong = Shape()
    wrong.circle(0, 0, 40, fill=(90, 160, 230), line=(30, 80, 140), width=2)
    m_wrong = m.define(wrong)

    spark = Shape()
    spark.polygon([(14 * math.cos(math.radians(a)) * (1 if i % 2 == 0 else 0.35),
                    14 * math.sin(math.radians(a)) * (1 if i % 2 == 0 else 0.35))
                   for i, a in enumerate(range(-90, 270, 30))], fill=ENERGY)
    m_spark = m.define(spark)

    seconds = 7.0

    def wrong_at(t):
        # In from the right, bumps against the site's rim and leaves again.
        rim = (cx + 4, 98.0)  # too wide: it rests on the rim of the site
        if t < 1.4:
            u = smooth(phase(t, 0.0, 1.4))
            return lerp(620, rim[0], u), lerp(60, rim[1], u), 0.0
        u = smooth(phase(t, 1.4, 3.0))
        return lerp(rim[0], 640, u), lerp(rim[1], 20, u), 0.0

    def substrate_at(t):
        """Centre and rotation of the whole substrate before it splits."""
        if t < 1.6:
            return -60.0, 60.0, -60.0
        if t < 3.0:
            u = smooth(phase(t, 1.6, 3.0))
            return lerp(-60, site[0], u), lerp(60, 70, u), lerp(-60, 0, u)
        u = smooth(phase(t, 3.0, 3.6))
        return site[0], lerp(70, site[1], u), 0.0

    def state(t):
        objects = {1: (m_enzyme, translate(0, 0))}
        x, y, _ = wrong_at(t)
        objects[5] = (m_wrong, translate(x, y))
        split = smooth(phase(t, 4.4, 6.4))
        fade = 1.0 - phase(t, 5.8, 6.6)
        if t < 4.4:
            x, y, a = substrate_at(t)
            pose = translate(x, y) * rotate(a)
            objects[3] = (m_left, pose)
            objects[4] = (m_right, pose)
        else:
            objects[3] = (m_left, translate(lerp(site[0], 110, split), lerp(site[1], 40, split))
                          * rotate(-80 * split), fade)
            objects[4] = (m_right, translate(lerp(site[0], 440, split), lerp(site[1], 40, split))
                          * rotate(70 * split), fade)
        flash = phase(t, 3.9, 4.5)
        if 0 < flash < 1:
            objects[6] = (m_spark, translate(site[0], site[1] - 5) * scale(0.5 + 1.5 * math.sin(math.pi * flash)))
        return objects

    run_frames(m, seconds, state)
    return m


# --- amylase cutting starch into sugar ---------------------------------------

def amylase_movie():
    """Amylase (green) moves along a starch chain of glucose units and cuts it
    into maltose, pairs of glucose units, which drift away."""
    m = Movie(WIDTH, HEIGHT, FPS)
    count, spacing, chain_y = 12, 40.0, 150.0
    x0 = WIDTH / 2 - spacing * (count - 1) / 2

    def unit_pos(i):
        return x0 + i * spacing, chain_y + 10 * math.sin(i * 0.9)

    glucose = Shape()
    glucose.polygon([(15 * math.cos(math.radians(60 * k + 30)), 15 * math.sin(math.radians(60 * k + 30)))
                     for k in range(6)], fill=(245, 200, 80), line=(160, 110, 20), width=2)
    m_glucose = m.define(glucose)

    bond = Shape()
    bond.rect(-13, -3, 26, 6, fill=(160, 110, 20))
    m_bond = m.define(bond)

    enzyme = Shape()
    # A rounded body with a notch at the top that grips the chain.
    pts = []
    for i in range(41):
        a = math.radians(lerp(-70, 250, i / 40))
        pts.append((34 * math.cos(a), 34 * math.sin(a) + 30))
    pts += [(-12, -8), (0, 8), (12, -8)]
    enzyme.polygon(pts, fill=(70, 170, 110), line=(30, 100, 60), width=2.5)
    m_enzyme = m.define(enzyme)

    spark = Shape()
    spark.polygon([(12 * math.cos(math.radians(a)) * (1 if i % 2 == 0 else 0.35),
                    12 * math.sin(math.radians(a)) * (1 if i % 2 == 0 else 0.35))
                   for i, a in enumerate(range(-90, 270, 30))], fill=ENERGY)
    m_spark = m.define(spark)

    cuts = [1, 3, 5, 7, 9]  # the bond after unit i is cut, freeing pairs of units
    arrive, pause, travel = 1.0, 0.5, 0.45
    cut_times = [arrive + k * (pause + travel) + pause * 0.6 for k in range(len(cuts))]
    leave = cut_times[-1] + 0.6
    seconds = 8.0
    rng = random.Random(7)
    drift = [(rng.uniform(-60, 60), rng.uniform(140, 190), rng.uniform(-50, 50)) for _ in range(count // 2)]

    def bond_pos(i):
        (ax, ay), (bx, by) = unit_pos(i), unit_pos(i + 1)
        return (ax + bx) / 2, (ay + by) / 2, math.degrees(math.atan2(by - ay, bx - ax))

    def enzyme_x(t):
        stops = [bond_pos(i)[0] for i in cuts]
        if t < arrive:
            return lerp(-50, stops[0], smooth(phase(t, 0.2, arrive)))
        for k in range(len(stops)):
            stay_end = arrive + k * (pause + travel) + pause
            if t < stay_end:
                return stops[k]
            if k + 1 < len(stops) and t < stay_end + travel:
                return lerp(stops[k], stops[k + 1], smooth(phase(t, stay_end, stay_end + travel)))
        return lerp(stops[-1], WIDTH + 60, smooth(phase(t, leave, leave + 1.0)))

    def pair_release(p):
        """Time at which pair p (units 2p and 2p+1) is set free."""
        left_cut = cut_times[p - 1] if p > 0 else -1
        right_cut = cut_times[p] if p < len(cuts) else -1
        return max(left_cut, right_cut)

    def chain(depth, alpha):
        """The whole starch chain at its starting place."""
        objects = {}
        for i in range(count):
            objects[depth + i] = (m_glucose, translate(*unit_pos(i)), alpha)
        for i in range(count - 1):
            mx, my, ang = bond_pos(i)
            objects[depth + count + i] = (m_bond, translate(mx, my) * rotate(ang), alpha)
        return objects

    def state(t):
        # The chain starts whole; the sugars drift off and fade, and a fresh
        # chain fades in at the end of the loop, so the last frame leads back
        # into the first.
        objects = chain(120, phase(t, seconds - 0.8, seconds)) if t > seconds - 0.8 else {}
        for p in range(count // 2):
            release = pair_release(p)
            u = smooth(phase(t, release, release + 2.2))
            dx, dy, turn = drift[p]
            ax, ay = unit_pos(2 * p)
            bx, by = unit_pos(2 * p + 1)
            pcx, pcy = (ax + bx) / 2, (ay + by) / 2
            move = translate(pcx + dx * u, pcy + dy * u) * rotate(turn * u) * translate(-pcx, -pcy)
            alpha = 1.0 - phase(t, release + 1.6, release + 2.4)
            objects[10 + 3 * p] = (m_glucose, move * translate(ax, ay), alpha)
            objects[11 + 3 * p] = (m_glucose, move * translate(bx, by), alpha)
            mx, my, ang = bond_pos(2 * p)
            objects[12 + 3 * p] = (m_bond, move * translate(mx, my) * rotate(ang), alpha)
        for k, i in enumerate(cuts):
            if t < cut_times[k]:
                mx, my, ang = bond_pos(i)
                objects[60 + k] = (m_bond, translate(mx, my) * rotate(ang))
        ex = enzyme_x(t)
        i = min(range(len(cuts)), key=lambda k: abs(bond_pos(cuts[k])[0] - ex))
        ey = bond_pos(cuts[i])[1]
        objects[80] = (m_enzyme, translate(ex, ey + 4))
        for k, ct in enumerate(cut_times):
            f = phase(t, ct - 0.1, ct + 0.35)
            if 0 < f < 1:
                mx, my, _ = bond_pos(cuts[k])
                objects[90] = (m_spark, translate(mx, my) * scale(0.5 + 1.4 * math.sin(math.pi * f)))
        return objects

    run_frames(m, seconds, state)
    return m


MOVIES = {
    "Voltage": voltage_movie,
    "EnergyBall": energy_ball_movie,
    "Electrons": electrons_movie,
    "Enzyme": enzyme_movie,
    "Amylase": amylase_movie,
}


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    names = argv[2:] or list(MOVIES)
    os.makedirs(out, exist_ok=True)
    for name in names:
        data = MOVIES[name]().to_bytes()
        with open(os.path.join(out, name + ".swf"), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
