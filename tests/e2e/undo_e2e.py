"""Undo, Redo and Crop in the preview of the real program, with the keys a
user presses: the saved PNG holds the picture the history says. Imported by
tavro_e2e.py."""
import os

from save_e2e import TRAY_AREA, decoded, prepared, save_as, wait_files
from tavro_e2e_base import PREVIEW

ID_ROTATE, ID_IMAGE = 1016, 4005


def turned(picture, w, h):
    """The screen turned clockwise as raw RGB, and which of its pixels show the
    tray (part of the grab, not of the picture put on the screen)."""
    out, tray = bytearray(), []
    l, t, r, b = TRAY_AREA
    for y in range(w):
        for x in range(h):
            sx, sy = y, h - 1 - x
            out += picture[3 * (sy * w + sx):3 * (sy * w + sx) + 3]
            tray.append(l <= sx < r and t <= sy < b)
    return bytes(out), tray


def same_outside_tray(got, expected, tray, what):
    assert len(got) == len(expected), f"{what}: {len(got)} bytes, expected {len(expected)}"
    bad = [i for i in range(0, len(expected), 3) if got[i:i + 3] != expected[i:i + 3] and not tray[i // 3]]
    assert not bad, f"{what}: {len(bad)} pixels differ"


def RotateCropUndoTwiceRedoSavesTheHistorysPicture(t):
    picture, folder = prepared(t, 14)
    w, h = t.desk.width, t.desk.height
    t.driver("command", PREVIEW, ID_ROTATE)
    t.wait_until(lambda: t.status(1).startswith(f" {h} x {w} "), 10, "the turned picture")
    # Crop: the key C, a drag from picture pixel (20, 30) to (220, 180) that
    # keys go to under the pointer, Enter.
    x, y, _, _ = t.rect(PREVIEW, ID_IMAGE)
    t.desk.run(["xdotool", "mousemove", str(x + 100), str(y + 100)])
    t.desk.key("c")
    t.desk.drag(x + 20, y + 30, x + 220, y + 180)
    t.desk.key("Return")
    t.wait_until(lambda: t.status(1).startswith(" 200 x 150 "), 10, "the cropped picture")
    t.desk.key("ctrl+z")
    t.wait_until(lambda: t.status(1).startswith(f" {h} x {w} "), 10, "the crop undone")
    t.desk.key("ctrl+z")
    t.wait_until(lambda: t.status(1).startswith(f" {w} x {h} "), 10, "the turn undone")
    t.desk.key("ctrl+y")
    t.wait_until(lambda: t.status(1).startswith(f" {h} x {w} "), 10, "the turn redone")
    save_as(t, folder, "turned", "png")
    wait_files(t, folder, ["turned.png"])
    expected, tray = turned(picture, w, h)
    same_outside_tray(decoded(os.path.join(folder, "turned.png")), expected, tray, "turned.png")

    # Ctrl+Shift+Z redoes too: the crop comes back, cut from the turned screen.
    t.desk.key("ctrl+shift+z")
    t.wait_until(lambda: t.status(1).startswith(" 200 x 150 "), 10, "the crop redone")
    save_as(t, folder, "cropped", "png")
    wait_files(t, folder, ["turned.png", "cropped.png"])
    rows = [expected[3 * ((30 + r) * h + 20):3 * ((30 + r) * h + 220)] for r in range(150)]
    trays = [tray[(30 + r) * h + 20 + c] for r in range(150) for c in range(200)]
    same_outside_tray(decoded(os.path.join(folder, "cropped.png")), b"".join(rows), trays, "cropped.png")


SCENARIOS = [RotateCropUndoTwiceRedoSavesTheHistorysPicture]
