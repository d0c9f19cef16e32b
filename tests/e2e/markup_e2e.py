"""Markup on a capture in the real program: an arrow, a text and a redaction
drawn with the mouse and keys, a rectangle drawn and undone, saved as PNG and
the file's pixels checked against the screen. Imported by tavro_e2e.py."""
import os
import time

from save_e2e import decoded, save_as, wait_files
from shapes_e2e import capture_shape, pixel, prepared
from tavro_e2e_base import ID_IMAGE, PREVIEW

ORIGIN = (100, 100)  # where the capture starts on the screen
SIZE = (400, 300)
RED = (255, 0, 0)


def MarkupOnACaptureIsSavedWithTheMarksAndWithoutTheUndoneOne(t):
    picture, sw = prepared(t, 41)
    capture_shape(t, 0, ORIGIN, (ORIGIN[0] + SIZE[0], ORIGIN[1] + SIZE[1]))
    ix, iy, _, _ = t.rect(PREVIEW, ID_IMAGE)

    def at(x, y):
        return ix + x, iy + y

    def drag(tool, start, end):
        t.desk.run(["xdotool", "mousemove", *map(str, at(*start))])
        t.desk.key(tool)
        t.desk.drag(*at(*start), *at(*end))
        time.sleep(0.3)
        assert t.visible(PREVIEW), "gone after " + tool

    drag("a", (20, 20), (150, 100))
    drag("x", (200, 150), (300, 250))
    t.desk.key("t")
    t.desk.click(*at(40, 200))
    t.desk.run(["xdotool", "type", "--delay", "30", "Hi"])
    t.desk.key("Escape")
    drag("r", (250, 20), (380, 120))
    t.desk.key("ctrl+z")
    time.sleep(0.5)
    assert t.visible(PREVIEW), "gone after undo"
    folder = os.path.join(t.desk.tmp, "markup")
    os.makedirs(folder, exist_ok=True)
    save_as(t, folder, "marked", "png")
    wait_files(t, folder, ["marked.png"])
    rgb = decoded(os.path.join(folder, "marked.png"))

    def saved(x, y):
        return tuple(rgb[3 * (y * SIZE[0] + x):3 * (y * SIZE[0] + x) + 3])

    def screen(x, y):
        return pixel(picture, sw, ORIGIN[0] + x, ORIGIN[1] + y)

    assert saved(85, 60) == RED, f"the arrow's shaft: {saved(85, 60)}"
    assert saved(140, 94) == RED, f"the arrow's head: {saved(140, 94)}"
    inside = {saved(x, y) for x in range(200, 300) for y in range(150, 250)}
    assert len(inside) <= 81, f"the redaction shows {len(inside)} colours"
    assert not any(saved(x, y) == screen(x, y) for x in range(204, 296, 7) for y in range(154, 246, 7)), \
        "the redaction keeps pixels of the screen"
    text = [(x, y) for x in range(40, 90) for y in range(170, 215) if saved(x, y) == RED]
    assert len(text) > 30, f"the text shows {len(text)} red pixels"
    undone = [(x, y) for x, y in [(250, 70), (380, 70), (315, 20), (315, 120)] if saved(x, y) != screen(x, y)]
    assert not undone, f"the undone rectangle shows at {undone}"
    for x, y in [(5, 290), (395, 5), (199, 260), (120, 150)]:
        assert saved(x, y) == screen(x, y), f"unmarked pixel {x},{y} changed"
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)


SCENARIOS = [MarkupOnACaptureIsSavedWithTheMarksAndWithoutTheUndoneOne]
