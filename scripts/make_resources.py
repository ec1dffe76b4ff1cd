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


def warning_sign():
    """A yellow warning triangle with a dark rim and an exclamation mark, 32 x 32."""
    pixels = [[0] * SIZE for _ in range(SIZE)]
    apex, base, left, right = (15.5, 1.5), 29.5, 0.5, 30.5
    for y in range(SIZE):
        for x in range(SIZE):
            cx, cy = x + 0.5, y + 0.5
            if cy < apex[1] or cy > base:
                continue
            t = (cy - apex[1]) / (base - apex[1])
            half = t * (right - left) / 2
            dist = min(cx - (apex[0] - half), (apex[0] + half) - cx, base - cy)
            if dist < 0:
                continue
            pixels[y][x] = 1 if dist < 1.6 else (3 if dist < 2.6 else 2)
            if 2 < dist < 3.2 and cy < 18:
                pixels[y][x] = 4  # a little light along the upper edges
    for y in range(10, 22):  # the stroke of the mark
        for x in range(14, 18):
            pixels[y][x] = 1
    for y in range(24, 27):  # its dot
        for x in range(14, 18):
            pixels[y][x] = 1
    return pixels


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


def ico(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    xor = b"".join(bytes(row) for row in reversed(pixels))
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for x, p in enumerate(row):
            if p == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    image = header + palette + xor + bytes(mask)
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8,
                                                      len(image), 22) + image


def png(pixels):
    """The same picture as a 256-colour (palette) PNG: the window icon on Linux, decoded by
    Qt itself without loading an image-format plug-in."""
    import zlib
    raw = b"".join(b"\x00" + bytes(row) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE)) + chunk(b"tRNS", b"\x00")
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
    for name, data in (("warning.gif", gif(sign)), ("vestrel.ico", ico(sign)),
                       ("vestrel.png", png(sign)), ("vestrel_icon.xpm", xpm(sign)),
                       ("data.ini", default_settings())):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    chime(os.path.join(OUT, "s.wav"))


if __name__ == "__main__":
    main()
