#!/usr/bin/env python3
"""Draw the program's artwork: resources/1.png (window icon) and
resources/myico.ico (Windows executable icon) and resources/svterminal.png
(the desktop entry's icon).

Motif: a rounded deep-blue tile holding a white water drop, cyan sound
arcs radiating left and right of it, and two cyan wave lines below -
sound travelling through water.

Standard library only, so the artwork can be rebuilt on any machine.
"""

import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

WHITE = (255, 255, 255)
CYAN = (84, 226, 255)
WAVE = (150, 236, 255)
TILE_TOP = (28, 112, 214)
TILE_BOTTOM = (8, 40, 104)


# ---------------------------------------------------------------------------
# Shapes.  Each shape maps a y coordinate to a sorted list of disjoint
# x intervals [(a, b), ...] lying inside it.  Working per row instead of
# per pixel keeps pure Python fast enough for a 1920x2560 canvas.

def merge(iv):
    iv = sorted(p for p in iv if p[1] > p[0])
    out = []
    for a, b in iv:
        if out and a <= out[-1][1]:
            if b > out[-1][1]:
                out[-1] = (out[-1][0], b)
        else:
            out.append((a, b))
    return out


def union(*shapes):
    return lambda y: merge([p for s in shapes for p in s(y)])


def circle(cx, cy, r):
    def f(y):
        dy = y - cy
        if abs(dy) >= r:
            return []
        h = math.sqrt(r * r - dy * dy)
        return [(cx - h, cx + h)]
    return f


def rounded_rect(x0, y0, x1, y1, r):
    def f(y):
        if y <= y0 or y >= y1:
            return []
        d = max(y0 + r - y, y - (y1 - r), 0.0)
        if d == 0.0:
            return [(x0, x1)]
        h = math.sqrt(max(r * r - d * d, 0.0))
        return [(x0 + r - h, x1 - r + h)]
    return f


def teardrop(cx, cy, r, d):
    """Circle of radius r with a point at distance d straight above it."""
    tip = cy - d
    # Where the straight flanks meet the circle tangentially.
    ty = cy - r * r / d
    slope = r / math.sqrt(d * d - r * r)  # half-width gained per unit of y
    circ = circle(cx, cy, r)

    def f(y):
        if y <= tip or y >= cy + r:
            return []
        if y < ty:
            h = (y - tip) * slope
            return [(cx - h, cx + h)]
        return circ(y)
    return f


def arc(cx, cy, r, hw, half_angle, side):
    """Thick arc of radius r facing `side` (+1 right, -1 left), round caps."""
    ro, ri = r + hw, r - hw
    cot = 1.0 / math.tan(half_angle)

    def band(y):
        dy = abs(y - cy)
        if dy >= ro:
            return []
        outer = math.sqrt(ro * ro - dy * dy)
        inner = math.sqrt(ri * ri - dy * dy) if dy < ri else 0.0
        inner = max(inner, dy * cot)
        if outer <= inner:
            return []
        if side > 0:
            return [(cx + inner, cx + outer)]
        return [(cx - outer, cx - inner)]

    ex = cx + side * r * math.cos(half_angle)
    ey = r * math.sin(half_angle)
    return union(band, circle(ex, cy - ey, hw), circle(ex, cy + ey, hw))


def sine_band(x0, x1, base, amp, wavelength, thick):
    """Stroke of y = base + amp*sin(k(x - x0)) for x in [x0, x1], round ends."""
    k = 2.0 * math.pi / wavelength
    half = thick / 2.0

    def band(y):
        lo = (y - half - base) / amp
        hi = (y + half - base) / amp
        if lo >= 1.0 or hi <= -1.0:
            return []
        lo, hi = max(lo, -1.0), min(hi, 1.0)
        a_lo, a_hi = math.asin(lo), math.asin(hi)
        out = []
        for n in range(-1, int((x1 - x0) / wavelength) + 2):
            off = 2.0 * math.pi * n
            for t0, t1 in ((a_lo, a_hi), (math.pi - a_hi, math.pi - a_lo)):
                a = x0 + (t0 + off) / k
                b = x0 + (t1 + off) / k
                a, b = max(a, x0), min(b, x1)
                if b > a:
                    out.append((a, b))
        return merge(out)

    y1 = base + amp * math.sin(k * (x1 - x0))
    return union(band, circle(x0, base, half), circle(x1, y1, half))


# ---------------------------------------------------------------------------
# Scene: the same motif laid out inside any tile size.

def scene(w, h, margin, radius_frac):
    tx0, ty0, tx1, ty1 = margin, margin, w - margin, h - margin
    tw, th = tx1 - tx0, ty1 - ty0

    # Motif in its own units, origin at the drop's circle centre.
    mx0, mx1, my0, my1 = -0.50, 0.50, -0.40, 0.76
    s = min(0.90 * tw / (mx1 - mx0), 0.86 * th / (my1 - my0))
    ox = (tx0 + tx1) / 2.0
    oy = (ty0 + ty1) / 2.0 - s * (my0 + my1) / 2.0

    def P(x, y):
        return ox + s * x, oy + s * y

    tile = rounded_rect(tx0, ty0, tx1, ty1, radius_frac * min(tw, th))

    def tile_col(y):
        t = min(max((y - ty0) / th, 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(TILE_TOP, TILE_BOTTOM))

    cx, cy = P(0, 0)
    drop = teardrop(cx, cy, 0.185 * s, 0.40 * s)

    arcs = []
    # Few, bold strokes so the motif survives scaling down to 16 px.
    for r in (0.31, 0.445):
        for side in (-1, 1):
            arcs.append(arc(cx, cy, r * s, 0.05 * s, math.radians(40), side))

    x0, _ = P(-0.37, 0)
    x1, _ = P(0.37, 0)
    waves = [sine_band(x0, x1, P(0, yy)[1], 0.05 * s, 0.37 * s, 0.075 * s)
             for yy in (0.47, 0.67)]

    return [
        (tile, tile_col),
        (union(*arcs), lambda y: CYAN),
        (union(*waves), lambda y: WAVE),
        (drop, lambda y: WHITE),
    ]


# ---------------------------------------------------------------------------
# Rasteriser: exact horizontal coverage, `sub` samples vertically, output
# as runs of identical RGBA pixels per row.

def layer_steps(shape, y, sub, width):
    """Coverage of one shape on row y as [(x, coverage)] change points."""
    step, part = {}, {}
    for i in range(sub):
        for a, b in shape(y + (i + 0.5) / sub):
            a, b = max(a, 0.0), min(b, float(width))
            if b <= a:
                continue
            fa, fb = int(a), int(b)
            if fa == fb:
                part[fa] = part.get(fa, 0.0) + (b - a)
                continue
            part[fa] = part.get(fa, 0.0) + (fa + 1 - a)
            step[fa + 1] = step.get(fa + 1, 0) + 1
            step[fb] = step.get(fb, 0) - 1
            if b > fb:
                part[fb] = part.get(fb, 0.0) + (b - fb)
    if not part and not step:
        return []
    pos = set(step) | set(part) | {p + 1 for p in part}
    out, level = [], 0
    for p in sorted(pos):
        level += step.get(p, 0)
        out.append((p, (level + part.get(p, 0.0)) / sub))
    return out


def render_row(layers, y, width, sub):
    per = []
    for shape, col in layers:
        st = layer_steps(shape, y, sub, width)
        if st:
            per.append((st, col(y + 0.5)))
    if not per:
        return [(width, (0, 0, 0, 0))]
    cuts = sorted({0, width} | {p for st, _ in per for p, _ in st if p < width})
    idx = [0] * len(per)
    cov = [0.0] * len(per)
    runs = []
    for n in range(len(cuts) - 1):
        x = cuts[n]
        r = g = b = a = 0.0  # premultiplied
        for i, (st, c) in enumerate(per):
            while idx[i] < len(st) and st[idx[i]][0] <= x:
                cov[i] = st[idx[i]][1]
                idx[i] += 1
            k = cov[i]
            if k > 0.0:
                k = min(k, 1.0)
                r = c[0] * k + r * (1 - k)
                g = c[1] * k + g * (1 - k)
                b = c[2] * k + b * (1 - k)
                a = k + a * (1 - k)
        if a > 0.0:
            px = (int(r / a + 0.5), int(g / a + 0.5), int(b / a + 0.5),
                  int(a * 255 + 0.5))
        else:
            px = (0, 0, 0, 0)
        length = cuts[n + 1] - x
        if runs and runs[-1][1] == px:
            runs[-1] = (runs[-1][0] + length, px)
        else:
            runs.append((length, px))
    return runs


def render(w, h, layers, sub):
    return [render_row(layers, y, w, sub) for y in range(h)]


# ---------------------------------------------------------------------------
# Encoders.

def png_bytes(w, h, rows):
    # Sub filter straight from runs: a run of n equal pixels filters to one
    # delta pixel and zeros, so flat artwork compresses to almost nothing.
    raw = bytearray()
    for runs in rows:
        raw.append(1)
        prev = (0, 0, 0, 0)
        for n, px in runs:
            raw += bytes((px[j] - prev[j]) & 255 for j in range(4))
            raw += bytes(4 * (n - 1))
            prev = px

    def chunk(tag, data):
        body = tag + data
        return (struct.pack(">I", len(data)) + body
                + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def ico_bytes(size, rows):
    # 24-bit pixels cannot carry alpha, so coverage is thresholded into the
    # 1-bit AND mask (1 = transparent).  Masked pixels are black because
    # Windows XORs the colour onto the screen there.
    xor_stride = (size * 3 + 3) & ~3
    and_stride = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for runs in reversed(rows):  # BMP rows are bottom-up
        line, bits = bytearray(), []
        for n, (r, g, b, a) in runs:
            opaque = a >= 128
            line += (bytes((b, g, r)) if opaque else b"\0\0\0") * n
            bits += [0 if opaque else 1] * n
        xor += line + bytes(xor_stride - len(line))
        packed = bytearray(and_stride)
        for x, bit in enumerate(bits):
            if bit:
                packed[x >> 3] |= 0x80 >> (x & 7)
        mask += packed
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 24, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size & 255, size & 255, 0, 0, 1, 24,
                        len(image), 6 + 16)
    return icondir + entry + image


def write(rel, data):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


def main():
    w, h = 1920, 2560
    write("resources/1.png",
          png_bytes(w, h, render(w, h, scene(w, h, 40, 0.18), 4)))
    # The desktop entry's icon, square as icon themes expect.
    n = 256
    write("resources/svterminal.png",
          png_bytes(n, n, render(n, n, scene(n, n, 6, 0.2), 8)))
    n = 128
    write("resources/myico.ico",
          ico_bytes(n, render(n, n, scene(n, n, 3, 0.2), 16)))


if __name__ == "__main__":
    main()
