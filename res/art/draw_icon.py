#!/usr/bin/env python3
"""Draws the program's icon: a valley between two hills under an evening sky,
with a river that narrows towards the horizon, on a rounded tile.

Each size is drawn from the same shapes, sampled several times per pixel so
that the edges are smooth, and written as a PAM image with alpha; ImageMagick
then packs the three sizes into one .ico.

Usage: draw_icon.py [output.ico]   (default: res/app.ico beside this folder)
Needs Python 3 and ImageMagick's convert; nothing else.
"""
import math
import os
import subprocess
import sys
import tempfile

SIZES = (16, 32, 48)

# Colours (r, g, b) from 0 to 1.
SKY_TOP = (0.13, 0.24, 0.52)
SKY_HORIZON = (0.98, 0.72, 0.45)
SUN = (1.00, 0.93, 0.62)
FAR_HILLS = (0.36, 0.32, 0.58)
LEFT_HILL_TOP = (0.45, 0.74, 0.33)
LEFT_HILL_FOOT = (0.18, 0.45, 0.20)
RIGHT_HILL_TOP = (0.27, 0.56, 0.27)
RIGHT_HILL_FOOT = (0.10, 0.30, 0.16)
RIVER_NEAR = (0.38, 0.66, 0.92)
RIVER_FAR = (0.90, 0.86, 0.80)
OUTLINE = (0.08, 0.11, 0.22)

HORIZON = 0.56
VALLEY = (0.52, 0.60)  # where the river meets the hills


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def far_hills_top(x):
    return HORIZON - 0.10 - 0.05 * math.sin(x * 7.0 + 0.6) - 0.02 * math.sin(x * 17.0)


def left_hill_top(x):
    # A rounded hill on the left whose slope runs down into the valley.
    return 0.36 + 0.25 * ((x - 0.12) / 0.45) ** 2 if x < VALLEY[0] + 0.05 else 2.0


def right_hill_top(x):
    return 0.44 + 0.18 * ((x - 0.92) / 0.40) ** 2 if x > VALLEY[0] - 0.05 else 2.0


def in_river(x, y):
    # A wedge from the bottom edge to the valley: wide near us, a point far off.
    if y < VALLEY[1]:
        return False
    t = (y - VALLEY[1]) / (1.0 - VALLEY[1])
    half = 0.03 + 0.10 * t + 0.12 * t * t
    centre = VALLEY[0] - 0.06 * t + 0.05 * math.sin(t * 5.0) * t
    return abs(x - centre) < half


def scene(x, y):
    """The colour at a point of the unit square (y grows downwards)."""
    if in_river(x, y):
        return mix(RIVER_FAR, RIVER_NEAR, (y - VALLEY[1]) / (1.0 - VALLEY[1]) * 1.6)
    # The nearer hill in front wins: the right one overlaps the left at the valley.
    if y >= right_hill_top(x) and x > VALLEY[0]:
        return mix(RIGHT_HILL_TOP, RIGHT_HILL_FOOT, (y - right_hill_top(x)) / 0.45)
    if y >= left_hill_top(x):
        return mix(LEFT_HILL_TOP, LEFT_HILL_FOOT, (y - left_hill_top(x)) / 0.5)
    if y >= right_hill_top(x):
        return mix(RIGHT_HILL_TOP, RIGHT_HILL_FOOT, (y - right_hill_top(x)) / 0.45)
    if y >= far_hills_top(x):
        return mix(FAR_HILLS, SKY_HORIZON, (y - far_hills_top(x)) / 0.25)
    if math.hypot(x - 0.66, y - 0.33) < 0.095:
        return SUN
    return mix(SKY_TOP, SKY_HORIZON, (y - 0.05) / (HORIZON - 0.05))


def tile_distance(px, py, size):
    """Signed distance in pixels from the edge of the rounded tile (negative inside)."""
    half = size / 2.0
    radius = size * 0.2
    qx = abs(px - half) - (half - radius)
    qy = abs(py - half) - (half - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def draw(size):
    """The icon at one size as rows of (r, g, b, a) bytes."""
    samples = 8 if size <= 32 else 6
    outline = max(1.0, size / 28.0)
    rows = []
    for j in range(size):
        row = bytearray()
        for i in range(size):
            r = g = b = a = 0.0
            for sj in range(samples):
                for si in range(samples):
                    px = i + (si + 0.5) / samples
                    py = j + (sj + 0.5) / samples
                    d = tile_distance(px, py, size)
                    if d > 0.0:
                        continue
                    colour = OUTLINE if d > -outline else scene(px / size, py / size)
                    r += colour[0]
                    g += colour[1]
                    b += colour[2]
                    a += 1.0
            n = samples * samples
            if a > 0.0:
                # Colour premultiplied by coverage, then divided out: edges keep their hue.
                row += bytes((round(255 * r / a), round(255 * g / a), round(255 * b / a), round(255 * a / n)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def write_pam(path, size, rows):
    with open(path, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (size, size))
        for row in rows:
            f.write(row)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "app.ico")
    with tempfile.TemporaryDirectory() as folder:
        images = []
        for size in SIZES:
            path = os.path.join(folder, "icon%d.pam" % size)
            write_pam(path, size, draw(size))
            images.append(path)
        # Largest first is how Windows' own icons list their images; each entry
        # is a 32-bit image with its alpha channel.
        subprocess.run(["convert"] + images[::-1] + [output], check=True)
    print("wrote", os.path.normpath(output))


if __name__ == "__main__":
    main()
