"""Starting a capture from anywhere: a second start of the program, the
capture key, the delay and the "Window" shape. Imported by tavro_e2e.py."""
import os
import time

from tavro_e2e_base import ID_CANCEL, ID_FIRST_SHAPE, ID_OK, PREVIEW, SHAPES

SETTINGS, HELPER = " Settings", "Tavro Test Helper"
ID_DELAY, ID_SETTINGS_KEY, ID_SETTINGS_NOTE, WINDOW_SHAPE = 3012, 5015, 5016, 6
TAKEN = "Print Screen is used by another program: choose another key in Settings"
SNIPPING = [r"HKCU\Control Panel\Keyboard", "/v", "PrintScreenKeyForSnippingEnabled", "/f"]
CTRL_F9 = 0x278  # VK_F9 with HOTKEYF_CONTROL, as the hot-key control spells it
VK_SNAPSHOT = 0x2C  # Print Screen


def helper(t, x, y, w, h, blue1=40, blue2=200):
    t.desk.spawn_wine([t.driver_exe, "helper"] + [str(v) for v in (x, y, w, h, blue1, blue2)])
    t.wait_window(HELPER)
    time.sleep(0.5)


def press_key(t, keys):
    """Wine hands hot keys over only while one of its windows has the X focus."""
    xid = t.desk.run(["xdotool", "search", "--name", HELPER]).split()[0]
    t.desk.run(["xdotool", "windowfocus", "--sync", xid])
    t.desk.key(keys)


def settings_note(t, close=True):
    t.choose("Settings")
    t.wait_window(SETTINGS)
    note = t.driver("text", SETTINGS, ID_SETTINGS_NOTE).rstrip("\r\n")
    if close:
        t.driver("close", SETTINGS)
    return note


def SecondStartAndCaptureKeyAskForACaptureOnlyWhenIdle(t):
    t.desk.wine(["reg", "delete"] + SNIPPING, check=False)  # left by an interrupted run
    helper(t, 600, 400, 120, 80)
    t.start()
    for args in ([], ["/capture"]):  # ends at once (no second icon) with a shape dialog
        t.desk.wine([os.path.join(t.build, "tavro.exe")] + args, timeout=30)
        t.wait_window(SHAPES)
        t.click_control(SHAPES, ID_CANCEL)
        t.wait_gone(SHAPES)
    note = settings_note(t)
    assert note == "", note
    press_key(t, "Print")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_FIRST_SHAPE + 1)  # Entire Screen
    t.click_control(SHAPES, ID_OK)
    t.wait_window(PREVIEW)
    press_key(t, "Print")  # the capture runs: nothing happens
    time.sleep(1.5)
    assert not t.visible(SHAPES) and t.visible(PREVIEW), t.windows()
    t.choose_exit_after_preview()

    # The system's own use of Print Screen, then another program holding it:
    # the key chosen instead works and is kept.
    t.desk.wine(["reg", "add"] + SNIPPING + ["/t", "REG_DWORD", "/d", "1"])
    try:
        t.start()
        assert "Use the Print screen key to open screen capture" in settings_note(t)
        t.choose("Exit")
        t.wait_exit()
    finally:  # the prefix is shared with the other scenarios
        t.desk.wine(["reg", "delete"] + SNIPPING)
    t.desk.spawn_wine([t.driver_exe, "holdkey", "44"])
    time.sleep(2)
    t.start()
    assert settings_note(t, close=False) == TAKEN
    t.driver("hotkey", SETTINGS, ID_SETTINGS_KEY, CTRL_F9)
    t.click_control(SETTINGS, ID_OK)
    t.wait_gone(SETTINGS)
    press_key(t, "ctrl+F9")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_CANCEL)
    t.choose("Exit")
    t.wait_exit()
    assert t.stored()["CaptureHotKey"] == ("REG_DWORD", hex(CTRL_F9)), t.stored()

    # Print Screen gives the control only its key-up; pressed there, it is chosen again.
    t.start(fresh_settings=False)
    settings_note(t, close=False)
    t.click_control(SETTINGS, ID_SETTINGS_KEY)
    t.desk.key("Print")
    t.click_control(SETTINGS, ID_OK)
    t.wait_gone(SETTINGS)
    t.choose("Exit")
    t.wait_exit()
    assert t.stored()["CaptureHotKey"] == ("REG_DWORD", hex(VK_SNAPSHOT)), t.stored()


def DelayAndWindowShapeCutTheWindowUnderTheMouse(t):
    x, y, w, h = 200, 150, 240, 160
    t.start(DateStampImage=("REG_SZ", 0))
    # (delay item, blue shown): after a delay the window has changed by the
    # grab; without one the desktop as it was at the start is cut. A click on
    # no window ends the capture as a click without a drag does.
    for delay, blue in ((1, 200), (0, 40), (0, None)):
        helper(t, x, y, w, h)
        before = t.desk.screenshot_rgb()
        t.choose("CAPTURE SCREEN")
        t.wait_window(SHAPES)
        t.click_control(SHAPES, ID_FIRST_SHAPE + WINDOW_SHAPE)
        t.driver("select", SHAPES, ID_DELAY, delay)
        t.click_control(SHAPES, ID_OK)
        ok_at = time.time()
        t.wait_overlay(15)
        assert (time.time() - ok_at >= 2.5) == (delay > 0), "the countdown took the wrong time"
        if blue is None:
            t.click_until(t.desk.width - 100, t.desk.height - 100, lambda: t.our_visible_windows() == [],
                          "the capture to end")
            break
        t.click_until(x + w // 2, y + h // 2, lambda: t.visible(PREVIEW), "the preview")
        assert t.status(1) == f" {w} x {h}   (width x height in pixels)", t.status(1)
        t.assert_preview_matches(lambda px, py: (px, py, blue), w, h)
        if not delay:  # the same crop of the screen as it was before
            sw = t.desk.width
            t.assert_preview_matches(lambda px, py: tuple(before[3 * ((y + py) * sw + x + px):][:3]), w, h)
        for title in (PREVIEW, HELPER):
            t.driver("close", title)
            t.wait_gone(title)


SCENARIOS = [SecondStartAndCaptureKeyAskForACaptureOnlyWhenIdle, DelayAndWindowShapeCutTheWindowUnderTheMouse]
