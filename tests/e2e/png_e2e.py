"""PNG from the preview of the real program: the round shapes see-through in
the file and on the clipboard, read by ImageMagick and by a second decoder of
our own (zlib and the five row filters). Imported by tavro_e2e.py."""
import os
import struct
import subprocess
import zlib

from copy_print_e2e import ID_COPY, tool, windows_path
from save_e2e import decoded, save_as, wait_files
from shapes_e2e import WHITE, capture_shape, pixel, prepared
from tavro_e2e_base import PREVIEW

ID_ROTATE, ID_MIRROR = 1016, 1018
# name, shape button, drag, commands before saving, picture size
CASES = [("ellipse", 2, (150, 100), (350, 200), [], (220, 120)),
         ("circle", 3, (350, 300), (150, 200), [], (120, 120)),
         ("rounded", 5, (100, 150), (300, 250), [ID_MIRROR, ID_ROTATE], (120, 220)),
         ("rectangle", 0, (120, 90), (420, 290), [], (300, 200))]


def read_png(path):
    """(width, height, channels, rows of bytes) of an 8-bit RGB or RGBA PNG."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat = 8, b""
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + size]
        assert zlib.crc32(kind + body) == struct.unpack(">I", data[pos + 8 + size:pos + 12 + size])[0]
        pos += 12 + size
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
    assert depth == 8 and colour in (2, 6), (depth, colour)
    ch = 4 if colour == 6 else 3
    raw, stride, prev, out = zlib.decompress(idat), width * ch, bytearray(width * ch), bytearray()
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a, b = line[i - ch] if i >= ch else 0, prev[i]
            c = prev[i - ch] if i >= ch else 0
            p = a + b - c
            paeth = a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c
            line[i] = (line[i] + (0, a, b, (a + b) // 2, paeth)[kind]) & 255
        out += line
        prev = line
    return width, height, ch, bytes(out)


def check_png(path, bmp_path, size, round_shape):
    w, h, ch, rgba = read_png(path)
    assert (w, h) == size and ch == (4 if round_shape else 3), (path, w, h, ch)
    assert decoded(path) == decoded(bmp_path), f"{path}: colours differ from the BMP save"
    if not round_shape:
        return
    magick = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], check=True, capture_output=True).stdout
    assert magick == rgba, f"{path}: ImageMagick and our reader disagree"
    alpha = rgba[3::4]
    assert set(alpha) == {0, 255}, f"{path}: alpha other than 0 and 255"
    frame = [alpha[y * w + x] for y in range(h) for x in range(w) if min(x, y, w - 1 - x, h - 1 - y) < 10]
    assert not any(frame), f"{path}: the frame is not transparent"
    assert alpha[(h // 2) * w + w // 2] == 255, f"{path}: the middle is not opaque"
    # Nothing cut from the desktop is see-through, no background is opaque.
    edge = [i for i in range(w * h) if (rgba[4 * i:4 * i + 3] != bytes(WHITE)) and not alpha[i]]
    assert not edge, f"{path}: {len(edge)} desktop pixels are transparent"
    return alpha


def PngKeepsRoundShapesSeeThroughInFilesAndOnTheClipboard(t):
    picture, sw = prepared(t, 11)
    folder = os.path.join(t.desk.tmp, "png")
    os.makedirs(folder, exist_ok=True)
    names = []
    for name, shape, start, end, commands, (w, h) in CASES:
        capture_shape(t, shape, start, end)
        for command in commands:
            t.driver("command", PREVIEW, command)
        t.wait_until(lambda: t.status(1).startswith(f" {w} x {h} "), 10, "the turned picture")
        for kind in ("png", "bmp"):
            save_as(t, folder, name, kind)
            names.append(f"{name}.{kind}")
            wait_files(t, folder, names)
        path = os.path.join(folder, name + ".png")
        alpha = check_png(path, os.path.join(folder, name + ".bmp"), (w, h), shape != 0)
        if name == "ellipse":
            # Opaque exactly where the desktop shows: compared with the screen.
            rgb = decoded(path)
            wrong = [(x, y) for y in range(h) for x in range(w) if alpha[y * w + x] and
                     pixel(picture, sw, 140 + x, 90 + y) != tuple(rgb[3 * (y * w + x):3 * (y * w + x) + 3])]
            assert not wrong, f"{len(wrong)} opaque pixels are not the desktop's"
            t.click_control(PREVIEW, ID_COPY)
            formats = t.desk.wine([tool(t), "formats"]).split("\n")
            offered = [line.split(" ", 1) for line in formats if line.strip()]
            assert offered[0][0] == "2" and ["17", ""] in [[n, s.strip()] for n, s in offered] and \
                any(s.strip() == "PNG" for _, s in offered), offered
            pasted = os.path.join(folder, "pasted.png")
            t.desk.wine([tool(t), "png", windows_path(pasted)])
            assert check_png(pasted, os.path.join(folder, name + ".bmp"), (w, h), True) == alpha
            os.remove(pasted)
        t.driver("close", PREVIEW)
        t.wait_gone(PREVIEW)


SCENARIOS = [PngKeepsRoundShapesSeeThroughInFilesAndOnTheClipboard]
