#!/usr/bin/env python3
"""Draws the application icon from its shape list and writes the icon files.

    scripts/make-icon.py [program/icon/tarvane-icon.json]

The drawing is a list of shapes on a 100 x 100 canvas (circles, round-capped
lines, arcs), painted in order. From it this script writes, next to the
drawing:

  tarvane.ico       one icon with twelve images: 48, 32 and 16 pixels at
                    16 colours, the same at 256 colours, and 128, 64, 48, 32,
                    24 and 16 pixels at 32-bit colour with alpha
  png/tarvane-N.png the 32-bit images for desktop icon themes

Pure Python, so a fresh machine can redraw the icon without image libraries.
The outputs are kept in the repository; the build only reads them.
"""
import json
import math
import struct
import sys
import zlib
from pathlib import Path

SUPERSAMPLING = 4

# The sixteen colours every Windows 16-colour icon is drawn with.
VGA_PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# (size, bits per pixel) in the order the icon lists them.
IMAGES = [(48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8),
          (128, 32), (64, 32), (48, 32), (32, 32), (24, 32), (16, 32)]
PNG_SIZES = [128, 64, 48, 32, 24, 16]


def parse_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def angle_inside(angle, start, end):
    """Whether `angle` (degrees, clockwise from +x with y down) lies on the
    arc running clockwise from `start` to `end`."""
    angle, start, end = angle % 360, start % 360, end % 360
    if start <= end:
        return start <= angle <= end
    return angle >= start or angle <= end


def covers(shape, x, y):
    kind = shape["kind"]
    if kind == "circle":
        cx, cy = shape["centre"]
        return math.hypot(x - cx, y - cy) <= shape["radius"]
    if kind == "line":
        (ax, ay), (bx, by) = shape["from"], shape["to"]
        return segment_distance(x, y, ax, ay, bx, by) <= shape["width"] / 2
    if kind == "arc":
        cx, cy = shape["centre"]
        if abs(math.hypot(x - cx, y - cy) - shape["radius"]) > shape["width"] / 2:
            return False
        angle = math.degrees(math.atan2(y - cy, x - cx))
        return angle_inside(angle, shape["from"], shape["to"])
    raise ValueError(f"unknown shape kind {kind!r}")


def render(shapes, size, colour_key, samples):
    """RGBA rows of the drawing at `size` pixels, each pixel averaged over
    samples x samples points."""
    scale = 100.0 / size
    colours = [parse_colour(shape[colour_key]) for shape in shapes]
    rows = []
    for row in range(size):
        pixels = []
        for column in range(size):
            red = green = blue = alpha = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (column + (sx + 0.5) / samples) * scale
                    y = (row + (sy + 0.5) / samples) * scale
                    hit = None
                    for shape, colour in zip(shapes, colours):
                        if covers(shape, x, y):
                            hit = colour
                    if hit is not None:
                        red += hit[0]
                        green += hit[1]
                        blue += hit[2]
                        alpha += 1
            count = samples * samples
            if alpha == 0:
                pixels.append((0, 0, 0, 0))
            else:
                # Colour of the covered part, opacity from the coverage.
                pixels.append((round(red / alpha), round(green / alpha), round(blue / alpha),
                               round(255 * alpha / count)))
        rows.append(pixels)
    return rows


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def build_palette_256(rows):
    """Up to 256 colours: the averages of the most used 5-bit-per-channel
    buckets of the opaque pixels."""
    buckets = {}
    for pixels in rows:
        for red, green, blue, alpha in pixels:
            if alpha >= 128:
                key = (red >> 3, green >> 3, blue >> 3)
                total = buckets.setdefault(key, [0, 0, 0, 0])
                total[0] += red
                total[1] += green
                total[2] += blue
                total[3] += 1
    ranked = sorted(buckets.values(), key=lambda t: -t[3])[:256]
    palette = [(t[0] // t[3], t[1] // t[3], t[2] // t[3]) for t in ranked]
    return palette + [(0, 0, 0)] * (256 - len(palette))


def row_padding(byte_count):
    return b"\0" * (-byte_count % 4)


def and_mask(rows):
    """The 1-bit transparency mask, bottom row first: 1 = transparent."""
    out = bytearray()
    for pixels in reversed(rows):
        line = bytearray((len(pixels) + 7) // 8)
        for column, pixel in enumerate(pixels):
            if pixel[3] < 128:
                line[column // 8] |= 0x80 >> (column % 8)
        out += line + row_padding(len(line))
    return bytes(out)


def dib(rows, bits):
    """One icon image: a BITMAPINFOHEADER with double height, the palette,
    the colour bits bottom row first and the AND mask."""
    size = len(rows)
    palette = []
    if bits == 32:
        pixel_bytes = bytearray()
        for pixels in reversed(rows):
            for red, green, blue, alpha in pixels:
                pixel_bytes += bytes((blue, green, red, alpha))
    else:
        palette = VGA_PALETTE if bits == 4 else build_palette_256(rows)
        cache = {}
        pixel_bytes = bytearray()
        for pixels in reversed(rows):
            indices = []
            for pixel in pixels:
                if pixel[3] < 128:
                    indices.append(0)
                    continue
                key = pixel[:3]
                if key not in cache:
                    cache[key] = nearest(palette, key)
                indices.append(cache[key])
            if bits == 4:
                line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
            else:
                line = bytes(indices)
            pixel_bytes += line + row_padding(len(line))
    mask = and_mask(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(pixel_bytes) + len(mask), 0, 0, len(palette), 0)
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colour_table + bytes(pixel_bytes) + mask


def ico(images):
    """The icon file from (size, bits, image bytes) entries."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, bits, blob in images:
        colours = 16 if bits == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                               len(blob), offset)
        offset += len(blob)
        blobs += blob
    return directory + entries + blobs


def png(rows):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    size = len(rows)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in pixels) for pixels in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    root = Path(__file__).resolve().parent.parent
    source = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "program/icon/tarvane-icon.json"
    shapes = json.loads(source.read_text(encoding="utf-8"))["shapes"]
    folder = source.parent

    smooth = {}
    images = []
    for size, bits in IMAGES:
        if bits == 4:
            # Sixteen colours leave no room for smoothing: hard edges in the
            # shapes' own palette colours.
            rows = render(shapes, size, "palette16", 1)
        else:
            if size not in smooth:
                smooth[size] = render(shapes, size, "colour", SUPERSAMPLING)
            rows = smooth[size]
        images.append((size, bits, dib(rows, bits)))

    (folder / "tarvane.ico").write_bytes(ico(images))
    (folder / "png").mkdir(exist_ok=True)
    for size in PNG_SIZES:
        rows = smooth.get(size) or render(shapes, size, "colour", SUPERSAMPLING)
        (folder / "png" / f"tarvane-{size}.png").write_bytes(png(rows))
    print(f"make-icon: wrote {folder / 'tarvane.ico'} and {len(PNG_SIZES)} PNG images")


if __name__ == "__main__":
    main()
