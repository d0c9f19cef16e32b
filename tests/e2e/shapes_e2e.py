"""Scenarios with real drags on the selection overlay, one per shape, plus
colour picking on the screen. Imported by tavro_e2e.py."""
import time

from tavro_e2e_base import (ID_FIRST_SHAPE, ID_OK, PREVIEW, SHAPES, known_picture)

WHITE = (255, 255, 255)


def pixel(picture, width, x, y):
    i = 3 * (y * width + x)
    return tuple(picture[i:i + 3])


def inside_ellipse(x, y, w, h, margin=2):
    """True well inside the ellipse inscribed in w x h (edge pixels are GDI's business)."""
    if w <= 2 * margin or h <= 2 * margin:
        return False
    cx, cy, rx, ry = w / 2, h / 2, w / 2 - margin, h / 2 - margin
    return ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1


def outside_ellipse(x, y, w, h, margin=2):
    cx, cy, rx, ry = w / 2, h / 2, w / 2 + margin, h / 2 + margin
    return ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 > 1


def capture_shape(t, shape_index, start, end, button=1):
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_FIRST_SHAPE + shape_index)
    t.click_control(SHAPES, ID_OK)
    t.wait_overlay()
    time.sleep(0.3)
    t.desk.drag(start[0], start[1], end[0], end[1], button)
    t.wait_window(PREVIEW)


def prepared(t, seed):
    w, h = t.desk.width, t.desk.height
    picture = known_picture(w, h, seed)
    t.desk.show_on_root(picture, w, h)
    t.start(DateStampImage=("REG_SZ", 0))
    return picture, w


def check_size(t, w, h):
    assert t.status(1) == f" {w} x {h}   (width x height in pixels)", t.status(1)


def RectangleDragsCutTheBoxInAnyDirection(t):
    picture, sw = prepared(t, 4)
    for (start, end, button) in (((120, 90), (420, 290), 1), ((420, 290), (120, 90), 3)):
        capture_shape(t, 0, start, end, button)
        check_size(t, 300, 200)
        t.assert_preview_matches(lambda x, y: pixel(picture, sw, 120 + x, 90 + y), 300, 200)
        t.driver("close", PREVIEW)
        t.wait_gone(PREVIEW)


def SquareHangsFromTheBoxTopLeft(t):
    picture, sw = prepared(t, 5)
    # 300 x 120 dragged from bottom-right to top-left, with the middle button.
    capture_shape(t, 4, (500, 400), (200, 280), 2)
    check_size(t, 120, 120)
    t.assert_preview_matches(lambda x, y: pixel(picture, sw, 200 + x, 280 + y), 120, 120)


def EllipseIsFramedInTheBackgroundColour(t):
    picture, sw = prepared(t, 6)
    capture_shape(t, 2, (150, 100), (350, 200))
    check_size(t, 220, 120)

    def expected(x, y):
        if x < 10 or y < 10 or x >= 210 or y >= 110:
            return WHITE
        if inside_ellipse(x - 10, y - 10, 200, 100):
            return pixel(picture, sw, 150 + x - 10, 100 + y - 10)
        if outside_ellipse(x - 10, y - 10, 200, 100):
            return WHITE
        return None
    t.assert_preview_matches(expected, 220, 120)


def CircleIsCutFromTheTopLeftOfTheBox(t):
    picture, sw = prepared(t, 7)
    capture_shape(t, 3, (350, 300), (150, 200))  # 200 x 100 box, up and left
    check_size(t, 120, 120)

    def expected(x, y):
        if inside_ellipse(x - 10, y - 10, 100, 100):
            return pixel(picture, sw, 150 + x - 10, 200 + y - 10)
        if outside_ellipse(x - 10, y - 10, 100, 100):
            return WHITE
        return None
    t.assert_preview_matches(expected, 120, 120)


def RoundedRectangleKeepsItsMiddleAndFramesItsCorners(t):
    picture, sw = prepared(t, 8)
    capture_shape(t, 5, (100, 150), (300, 250))
    check_size(t, 220, 120)

    def expected(x, y):
        if x < 10 or y < 10 or x >= 210 or y >= 110:
            return WHITE
        px, py = x - 10, y - 10
        if 52 <= px < 148 or 27 <= py < 73:  # clear of the 100 x 50 corner ellipses
            return pixel(picture, sw, 100 + px, 150 + py)
        if (px < 10 and py < 5) or (px > 190 and py > 95):  # the very corners
            return WHITE
        return None
    t.assert_preview_matches(expected, 220, 120)


def PickedColourReframesAnEllipseAndKeepsItsTurn(t):
    picture, sw = prepared(t, 9)
    capture_shape(t, 2, (150, 100), (350, 200))
    t.click_control(PREVIEW, 1016)  # Rotate (clockwise)
    t.wait_until(lambda: t.status(1).startswith(" 120 x 220"), 10, "the turned picture")
    t.driver("command", PREVIEW, 1020)  # Set > Pick Color on Screen
    t.wait_overlay(10, "the pick overlay")
    time.sleep(0.3)
    t.desk.click(40, 600)
    t.wait_until(lambda: not any(w[0] == "TImageForm" for w in t.windows()), 10, "the overlay to close")
    picked = pixel(picture, sw, 40, 600)
    t.wait_until(lambda: t.status(1).startswith(" 120 x 220"), 10, "the recomposed picture")
    time.sleep(0.5)
    # Turned clockwise: the frame is still on every side, now in the picked colour.
    t.assert_preview_matches(
        lambda x, y: picked if (x < 10 or y < 10 or x >= 110 or y >= 210) else None, 120, 220)


SCENARIOS = [RectangleDragsCutTheBoxInAnyDirection, SquareHangsFromTheBoxTopLeft,
             EllipseIsFramedInTheBackgroundColour, CircleIsCutFromTheTopLeftOfTheBox,
             RoundedRectangleKeepsItsMiddleAndFramesItsCorners,
             PickedColourReframesAnEllipseAndKeepsItsTurn]
