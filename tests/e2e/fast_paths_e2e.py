"""The fast paths: the last region taken again with its key, saving into the
folder with no preview, and a pin. Imported by tavro_e2e.py."""
import os
import subprocess
import time

from capture_anywhere_e2e import helper, press_key
from copy_print_e2e import empty_clipboard, pasted, pointer_on_preview, windows_path
from shapes_e2e import capture_shape, check_size, pixel, prepared
from tavro_e2e_base import ID_FIRST_SHAPE, ID_OK, PREVIEW, SHAPES

START, END, W, H = (120, 90), (420, 290), 300, 200
PIN = "Pin"


def crop(picture, sw):
    return b"".join(picture[3 * ((START[1] + y) * sw + START[0]):][:3 * W] for y in range(H))


def decoded(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def wait_file(path, seconds=15):
    end = time.time() + seconds
    while not os.path.exists(path):
        assert time.time() < end, f"{path} was not written; there: {os.listdir(os.path.dirname(path))}"
        time.sleep(0.2)
    time.sleep(0.5)  # written to a temporary name and moved: complete once there


def LastRegionRepeatsTheRectangleAndSaveInTheFolderSkipsThePreview(t):
    helper(t, 800, 600, 100, 80)  # a Wine window for the keys, away from the region
    picture, sw = prepared(t, 31)
    expected = lambda x, y: pixel(picture, sw, START[0] + x, START[1] + y)
    capture_shape(t, 0, START, END)
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)
    press_key(t, "shift+Print")
    t.wait_window(PREVIEW)
    assert not any(w[0] in ("TImageForm", "TSelectForm") for w in t.windows()), t.windows()
    check_size(t, W, H)
    t.assert_preview_matches(expected, W, H)
    t.choose_exit_after_preview()

    folder = os.path.join(t.desk.tmp, "shots")
    os.makedirs(folder, exist_ok=True)
    t.start(DateStampImage=("REG_SZ", 0), AfterCaptureShowPreview=("REG_DWORD", 0),
            AfterCaptureSave=("REG_DWORD", 1), SaveDir=("REG_SZ", windows_path(folder)),
            FileNamePattern=("REG_SZ", "shot %w x %h %n"))
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_FIRST_SHAPE)
    t.click_control(SHAPES, ID_OK)
    t.wait_overlay()
    time.sleep(0.3)
    t.desk.drag(*START, *END)
    for number, take in ((1, None), (2, lambda: press_key(t, "shift+Print"))):
        if take:
            take()
        path = os.path.join(folder, f"shot {W} x {H} {number:03}.png")
        wait_file(path)
        assert decoded(path) == crop(picture, sw), f"{path} is not the region's pixels"
        time.sleep(1)
        assert not t.visible(PREVIEW), "the preview showed though it was not chosen"
    t.choose("Exit")
    t.wait_exit()


def PinOpensAtThePicturesSizeZoomsCopiesAndCloses(t):
    picture, sw = prepared(t, 32)
    capture_shape(t, 0, START, END)
    pointer_on_preview(t)
    t.desk.key("F3")
    t.wait_window(PIN)
    pin = lambda: next(w[2] for w in t.windows() if w[0] == "TavroPin")
    # At 100% where it was taken, inside a one-pixel border.
    assert pin() == (START[0] - 1, START[1] - 1, W + 2, H + 2), pin()
    middle = (START[0] + W // 2, START[1] + H // 2)
    t.desk.click(*middle, button=4)  # the wheel, up: 110% around the pointer
    t.wait_until(lambda: pin()[2:] == (W * 11 // 10 + 2, H * 11 // 10 + 2), 10, f"a larger pin, not {pin()}")
    empty_clipboard(t)
    t.desk.run(["xdotool", "mousemove", str(middle[0]), str(middle[1])])
    t.desk.key("ctrl+c")
    width, height, rgb = pasted(t)
    assert (width, height) == (W, H) and rgb == crop(picture, sw), f"the pin copied {width} x {height}"
    t.desk.key("Escape")
    t.wait_gone(PIN)
    t.choose_exit_after_preview()


SCENARIOS = [LastRegionRepeatsTheRectangleAndSaveInTheFolderSkipsThePreview,
             PinOpensAtThePicturesSizeZoomsCopiesAndCloses]
