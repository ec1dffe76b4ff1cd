#!/usr/bin/env python3
"""Makes Vestrel's own resources: the warning picture, the application icon, the
warning chime and the default settings file. The results are committed; run this
again only to change them."""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "resources")
SIZE = 32

# Palette: 0 transparent, then the colours of the sign; the rest of the 256 entries black.
PALETTE = [(255, 0, 255), (0, 0, 0), (255, 204, 0), (204, 120, 0), (255, 236, 140)]
PALETTE += [(0, 0, 0)] * (256 - len(PALETTE))


# The sign, one description for every size, in a square of 32 units: layers of the
# triangle, each inset from its outline by so many units and painted over the one before
# (some only above the height UPPER), then the exclamation mark over them.
APEX, BASE, LEFT, RIGHT = (15.5, 1.5), 29.5, 0.5, 30.5
UPPER = 18
LAYERS = [(0, 1, False), (1.6, 3, False), (2.6, 2, False),  # (inset, colour, upper only)
          (2, 4, True), (3.2, 2, True)]  # a little light along the upper edges
MARK = [(14, 10, 18, 22), (14, 24, 18, 27)]  # the stroke and its dot: x0, y0, x1, y1


def inset(x, y):
    """How deep (x, y) lies inside the triangle: across to a side, or up from the base."""
    half = (y - APEX[1]) / (BASE - APEX[1]) * (RIGHT - LEFT) / 2
    return min(x - (APEX[0] - half), APEX[0] + half - x, BASE - y)


def colour_at(x, y):
    if any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in MARK):
        return 1
    colour, depth = 0, inset(x, y)
    for d, c, upper in LAYERS:
        if depth >= d and (y < UPPER or not upper):
            colour = c
    return colour


def warning_sign():
    """The sign at 32 x 32, one sample a pixel: the warning picture and the window icon."""
    return [[colour_at(x + 0.5, y + 0.5) for x in range(SIZE)] for y in range(SIZE)]


def icon_png(size):
    """The sign at any size as an RGBA PNG, each pixel the mean of a grid of samples."""
    n = max(4, 128 // size)
    rows = []
    for y in range(size):
        row = b"\x00"
        for x in range(size):
            hits = [PALETTE[c] for c in (colour_at((x + (i + 0.5) / n) * SIZE / size,
                                                    (y + (j + 0.5) / n) * SIZE / size)
                                         for j in range(n) for i in range(n)) if c]
            rgb = [round(sum(p[k] for p in hits) / len(hits)) if hits else 0 for k in range(3)]
            row += bytes(rgb + [round(255 * len(hits) / (n * n))])
        rows.append(row)
    return png(size, b"".join(rows))


def icon_svg():
    """The sign as SVG: each layer the triangle inset by its depth."""
    slope = (RIGHT - LEFT) / 2 / (BASE - APEX[1])  # half the width gained per unit down

    def triangle(d):
        top, bottom = APEX[1] + d / slope, BASE - d
        half = (bottom - APEX[1]) * slope - d
        return " ".join("%g,%g" % (round(x, 4), round(y, 4)) for x, y in (
            (APEX[0], top), (APEX[0] + half, bottom), (APEX[0] - half, bottom)))
    lines = ['<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
             '<clipPath id="upper"><rect width="32" height="%g"/></clipPath>' % UPPER]
    for d, c, upper in LAYERS:
        lines.append('<polygon points="%s" fill="#%02x%02x%02x"%s/>' % (
            (triangle(d),) + PALETTE[c] + (' clip-path="url(#upper)"' if upper else "",)))
    for x0, y0, x1, y1 in MARK:
        lines.append('<rect x="%g" y="%g" width="%g" height="%g" fill="#%02x%02x%02x"/>'
                     % ((x0, y0, x1 - x0, y1 - y0) + PALETTE[1]))
    return ("\n".join(lines + ["</svg>"]) + "\n").encode()


def gif(pixels):
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", SIZE, SIZE, 0xF7, 0, 0)  # global table of 256 entries
    for r, g, b in PALETTE:
        out += bytes((r, g, b))
    out += bytes((0x21, 0xF9, 4, 0x01, 0, 0, 0, 0))  # colour 0 is transparent
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
    min_code = 8
    clear, stop = 1 << min_code, (1 << min_code) + 1
    # Literal codes only, with a clear code often enough that codes stay 9 bits wide.
    codes = []
    flat = [p for row in pixels for p in row]
    for i, p in enumerate(flat):
        if i % 250 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(stop)
    bits, nbits, data = 0, 0, bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += 9
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    out.append(min_code)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00\x3B"
    return bytes(out)


def png(size, raw):
    """A square 8-bit RGBA PNG from its filtered rows."""
    import zlib

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def xpm(pixels):
    """The icon as XPM source: Qt reads it without loading any image-format plug-in, so the
    window icon costs nothing at start-up."""
    used = sorted({p for row in pixels for p in row})
    chars = {p: chr(ord("a") + i) for i, p in enumerate(used)}
    lines = ["/* XPM */", "static const char* const vestrel_icon[] = {",
             '"%d %d %d 1",' % (SIZE, SIZE, len(used))]
    for p in used:
        colour = "None" if p == 0 else "#%02X%02X%02X" % PALETTE[p]
        lines.append('"%s c %s",' % (chars[p], colour))
    for row in pixels:
        lines.append('"%s",' % "".join(chars[p] for p in row))
    lines[-1] = lines[-1].rstrip(",")
    lines.append("};")
    return ("\n".join(lines) + "\n").encode()


def ico(entries):
    """A Windows icon file from (size, image bytes) entries."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data, colours in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, 1,
                           8 if colours else 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data, _ in entries)


def ico_bitmap(pixels):
    """The sign at 32 x 32 as an icon's 256-colour bitmap, pixel for pixel the picture's:
    a bottom-up image of palette indices, then the mask (1 where colour 0 lets through)."""
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    # Black under the mask: the screen shows through unchanged.
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in [(0, 0, 0)] + PALETTE[1:])
    image = b"".join(bytes(row) for row in reversed(pixels))
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for p in row:
            bits = bits << 1 | (p == 0)
        mask += bits.to_bytes(SIZE // 8, "big")
    return header + palette + image + mask


def chime(path):
    """A soft two-note chime, 1.2 s, 44.1 kHz mono 16-bit PCM."""
    rate, length = 44100, 1.2
    notes = [(0.0, 880.0), (0.18, 1318.5)]
    frames = bytearray()
    for n in range(int(rate * length)):
        t = n / rate
        v = 0.0
        for start, freq in notes:
            if t >= start:
                u = t - start
                env = math.exp(-u * 4.0) * min(1.0, u / 0.005)
                v += env * (math.sin(2 * math.pi * freq * u) + 0.25 * math.sin(4 * math.pi * freq * u))
        fade = min(1.0, (length - t) / 0.05)
        frames += struct.pack("<h", int(max(-1.0, min(1.0, 0.35 * v * fade)) * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def default_settings():
    text = ("[texts]\r\n1=U počítače už sedíte déle jak\r\n"
            "2=Doporučuji práci odložit a protáhnout se.\r\n[data]\r\n1=60\r\n2=0\r\n")
    return text.encode("cp1250")


def main():
    sign = warning_sign()
    files = [("warning.gif", gif(sign)), ("vestrel_icon.xpm", xpm(sign)),
             ("data.ini", default_settings()),
             ("hicolor/scalable/apps/vestrel.svg", icon_svg())]
    # The application icon in the icon theme's own layout, at the sizes desktops draw.
    files += [("hicolor/%dx%d/apps/vestrel.png" % (n, n), icon_png(n))
              for n in (16, 24, 32, 48, 64, 128, 256)]
    # Windows: the warning picture as an icon, and the application icon with the sizes
    # Explorer shows beside the 32 x 32 one of 256 colours.
    files += [("warning.ico", ico([(SIZE, ico_bitmap(sign), 256)])),
              ("vestrel.ico", ico([(16, icon_png(16), 0), (SIZE, ico_bitmap(sign), 256),
                                   (48, icon_png(48), 0), (256, icon_png(256), 0)]))]
    for name, data in files:
        os.makedirs(os.path.dirname(os.path.join(OUT, name)), exist_ok=True)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    chime(os.path.join(OUT, "s.wav"))


if __name__ == "__main__":
    main()
