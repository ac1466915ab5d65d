#!/usr/bin/env python3
"""Draws the still picture shown in the preview pane of the Screen Saver
Settings page: a quiet valley with a lake at dusk, rendered from a height
field in perspective, one column of the image at a time (each column marches
away from the eye and paints whatever rises above what is already drawn).

The picture is drawn at three times its size and averaged down, encoded by
ImageMagick as a baseline JPEG, and then padded with a comment segment to the
exact byte size the program's resources are laid out for.

Usage: draw_preview.py [output.jpg]   (default: res/preview.jpg beside this folder)
Needs Python 3 and ImageMagick's convert; nothing else.
"""
import math
import os
import random
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 152, 112
SCALE = 3  # samples per pixel along each axis
FILE_SIZE = 16619  # bytes of the finished file
QUALITY = 100
COMMENT = b"Marrowdale 3D Screensaver - Tidewright"

# Colours (r, g, b) from 0 to 1.
SKY_ZENITH = (0.09, 0.10, 0.27)
SKY_MIDDLE = (0.42, 0.30, 0.52)
SKY_HORIZON = (0.99, 0.66, 0.38)
SUN_GLOW = (1.00, 0.84, 0.55)
HAZE = (0.74, 0.50, 0.50)
GRASS = (0.10, 0.17, 0.12)
GRASS_LIT = (0.62, 0.46, 0.26)
ROCK = (0.30, 0.25, 0.30)
WATER_DEEP = (0.06, 0.08, 0.18)

# The eye and the view.
EYE_HEIGHT = 12.0
HORIZON_ROW = 0.44  # of the image height, from the top
FOCAL = 0.95  # of the image width
WATER_LEVEL = 0.0
SUN_X = 0.63  # of the image width: where the sun has just set
SUN_DIRECTION = (0.35, 0.30, 0.89)  # towards the sun: ahead, a little right, low


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def terrain(x, z):
    """Ground height at a point; x across the view, z away from the eye."""
    # A valley along the view whose floor holds the lake, ridges either side,
    # and mountains that rise with distance.
    side = abs(x + 6.0 * math.sin(z * 0.018)) / (18.0 + z * 0.35)
    height = 16.0 * side ** 2.0 - 3.0
    height += 3.0 * math.sin(x * 0.11 + 1.3) * math.sin(z * 0.07 + 0.4)
    height += 1.6 * math.sin(x * 0.23 - z * 0.13 + 2.1)
    height += 0.7 * math.sin(x * 0.51 + z * 0.37)
    height += min(z, 500.0) * 0.055 * (0.5 + 0.5 * math.sin(x * 0.017 + 0.8)) ** 2
    return height


def normal(x, z):
    e = 0.5
    dx = terrain(x + e, z) - terrain(x - e, z)
    dz = terrain(x, z + e) - terrain(x, z - e)
    nx, ny, nz = -dx, 2.0 * e, -dz
    n = math.sqrt(nx * nx + ny * ny + nz * nz)
    return nx / n, ny / n, nz / n


def sky(u, v):
    """The sky at a point of the image (u across, v down, both 0 to 1)."""
    t = v / HORIZON_ROW
    colour = mix(SKY_ZENITH, SKY_MIDDLE, t / 0.6) if t < 0.6 else mix(SKY_MIDDLE, SKY_HORIZON, (t - 0.6) / 0.4)
    # The glow of the sun just below the horizon.
    d = math.hypot((u - SUN_X) * 1.4, (v - HORIZON_ROW) * 2.2)
    return mix(colour, SUN_GLOW, 0.85 * math.exp(-d * d / 0.018))


def ground(x, z, h, u):
    """The colour of the ground at a world point seen at image column u."""
    nx, ny, nz = normal(x, z)
    sun = max(0.0, nx * SUN_DIRECTION[1] + ny * SUN_DIRECTION[2] * 0.5 + nz * SUN_DIRECTION[0])
    slope = 1.0 - ny
    base = mix(GRASS, ROCK, (h - 8.0) / 30.0 + slope * 1.5)
    lit = mix(base, GRASS_LIT, sun * 0.7)
    lit = tuple(c * (0.55 + 0.45 * ny) for c in lit)
    # Air between the eye and the ground takes on the evening light.
    fog = 1.0 - math.exp(-z / 190.0)
    haze = mix(HAZE, SUN_GLOW, 0.5 * math.exp(-((u - SUN_X) ** 2) / 0.02))
    return mix(lit, haze, fog * 0.95)


def water(u, v, z):
    """The lake: the sky mirrored about the horizon, darker where it is near."""
    mirrored = sky(u, 2.0 * HORIZON_ROW - v)
    near = math.exp(-z / 120.0)
    colour = mix(mirrored, WATER_DEEP, 0.1 + 0.35 * near)
    # Small ripples break the reflection into streaks.
    ripple = 0.06 * math.sin(z * 1.7 + u * 9.0) * math.sin(z * 0.6)
    return tuple(min(1.0, max(0.0, c + ripple * c)) for c in colour)


def render(width, height):
    pixels = [[None] * width for _ in range(height)]
    horizon = HORIZON_ROW * height
    focal = FOCAL * width
    for column in range(width):
        u = (column + 0.5) / width
        ray = (u - 0.5) * width / focal  # x per unit of z
        top = height  # rows from here down are painted
        z = 1.0
        while z < 900.0 and top > 0:
            x = ray * z
            land = terrain(x, z)
            h = max(land, WATER_LEVEL)
            row = int(math.ceil(horizon + (EYE_HEIGHT - h) / z * focal))
            if row < top:
                for r in range(max(row, 0), top):
                    v = (r + 0.5) / height
                    pixels[r][column] = water(u, v, z) if land < WATER_LEVEL else ground(x, z, h, u)
                top = max(row, 0)
            z *= 1.003
        for r in range(top):
            pixels[r][column] = sky(u, (r + 0.5) / height)
    add_stars(pixels, width, height)
    return pixels


def add_stars(pixels, width, height):
    # A few faint first stars high in the darkest part of the sky.
    stars = random.Random(1871)
    for _ in range(14):
        c = stars.randrange(width)
        r = stars.randrange(int(height * HORIZON_ROW * 0.45))
        glow = stars.uniform(0.25, 0.6)
        for dr in range(SCALE):
            for dc in range(SCALE):
                if r + dr < height and c + dc < width:
                    pixels[r + dr][c + dc] = mix(pixels[r + dr][c + dc], (1.0, 0.97, 0.9), glow)


def shrink(pixels, factor):
    rows = []
    for j in range(len(pixels) // factor):
        row = bytearray()
        for i in range(len(pixels[0]) // factor):
            total = [0.0, 0.0, 0.0]
            for dj in range(factor):
                for di in range(factor):
                    for k, c in enumerate(pixels[j * factor + dj][i * factor + di]):
                        total[k] += c
            row += bytes(round(255 * t / (factor * factor)) for t in total)
        rows.append(bytes(row))
    return rows


def pad_with_comment(jpeg, size):
    """The JPEG grown to exactly size bytes by a comment segment after its header."""
    if jpeg[:2] != b"\xff\xd8":
        raise SystemExit("encoder output does not start with SOI")
    position = 2
    # Keep the JFIF header first, as JFIF readers expect.
    if jpeg[2:4] == b"\xff\xe0":
        position = 4 + int.from_bytes(jpeg[4:6], "big")
    missing = size - len(jpeg)
    if missing == 0:
        return jpeg
    if missing < 4 + len(COMMENT) or missing > 4 + 65533:
        raise SystemExit("encoded picture is %d bytes, cannot pad to %d: change QUALITY" % (len(jpeg), size))
    payload = (COMMENT + b" " * missing)[: missing - 4]
    segment = b"\xff\xfe" + (len(payload) + 2).to_bytes(2, "big") + payload
    return jpeg[:position] + segment + jpeg[position:]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "preview.jpg")
    rows = shrink(render(WIDTH * SCALE, HEIGHT * SCALE), SCALE)
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "preview.ppm")
        encoded = os.path.join(folder, "preview.jpg")
        with open(source, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
            for row in rows:
                f.write(row)
        # Baseline, full-resolution colour, no metadata but the JFIF header.
        subprocess.run(["convert", source, "-strip", "-interlace", "none", "-sampling-factor", "1x1",
                        "-quality", str(QUALITY), "-density", "96", "-units", "PixelsPerInch",
                        "jpeg:" + encoded], check=True)
        with open(encoded, "rb") as f:
            jpeg = f.read()
    with open(output, "wb") as f:
        f.write(pad_with_comment(jpeg, FILE_SIZE))
    print("wrote %s: quality %d, %d bytes encoded, %d bytes padded" % (os.path.normpath(output), QUALITY, len(jpeg),
                                                                     FILE_SIZE))


if __name__ == "__main__":
    main()
