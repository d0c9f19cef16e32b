#!/usr/bin/env python3
"""End-to-end scenarios: the real tavro.exe on a private X desktop, driven with
real clicks (xdotool) and read through a small Win32 driver and the registry.

Usage: tavro_e2e.py --build BUILD_DIR --driver DRIVER_EXE SCENARIO
"""
import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop  # noqa: E402
from tavro_e2e_base import *  # noqa: E402,F401,F403
import save_e2e  # noqa: E402
import copy_print_e2e  # noqa: E402
import mail_e2e  # noqa: E402
import shapes_e2e  # noqa: E402
import image_program_e2e  # noqa: E402
import settings_e2e  # noqa: E402
import dpi_e2e  # noqa: E402
import png_e2e  # noqa: E402
import markup_e2e  # noqa: E402
import capture_anywhere_e2e  # noqa: E402
import undo_e2e  # noqa: E402
import record_e2e  # noqa: E402
import fast_paths_e2e  # noqa: E402
globals().update({f.__name__: f for f in image_program_e2e.SCENARIOS})
from office_e2e import SCENARIOS as OFFICE_SCENARIOS  # noqa: E402
globals().update({f.__name__: f for f in OFFICE_SCENARIOS})

# ---------------------------------------------------------------------------
# Scenarios

def StartShowsNoWindowAndCreatesTheKey(t):
    t.start()
    time.sleep(1)
    assert t.our_visible_windows() == [], t.our_visible_windows()
    subkeys = t.desk.wine(["reg", "query", r"HKCU\Software"], check=False).split()
    assert r"HKEY_CURRENT_USER\Software\Tavro" in subkeys, subkeys
    assert t.stored() == {}, "SETTINGS must not exist before the first save"


def TrayPressesOpenTheMenu(t):
    t.start()
    px, py = t.tray_point()
    for button in (1, 2, 3):
        x, y, w, h = t.tray_press(button)
        # At the mouse: the menu hangs from the pointer, moved left to fit the screen.
        assert abs(y - py) <= 2 and (abs(x - px) <= 2 or abs(x + w - px) <= 12), (button, x, y, w, h)
        assert h > 40
        t.desk.key("Escape")
        t.wait_until(lambda: not any(w[0] == "#32768" for w in t.windows()), 10, "the menu to close")
    assert t.our_visible_windows() == []


def CaptureShowsTheShapeDialog(t):
    t.start()
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    captions = [t.driver("text", SHAPES, ID_FIRST_SHAPE + i).strip() for i in range(6)]
    assert captions == ["Rectangle", "Entire Screen", "Ellipse", "Circle", "Square", "Rounded Rectangle"]
    assert t.driver("text", SHAPES, ID_NO_SHOW).strip() == "Don't Show This Screen"
    assert t.driver("checked", SHAPES, ID_FIRST_SHAPE).strip() == "1"
    t.click_control(SHAPES, ID_CANCEL)
    t.wait_gone(SHAPES)
    time.sleep(1)
    assert t.our_visible_windows() == []


def EntireScreenPreviewShowsTheScreenPixelForPixel(t):
    w, h = t.desk.width, t.desk.height
    picture = known_picture(w, h, 1)
    t.desk.show_on_root(picture, w, h)
    t.start(DateStampImage=("REG_SZ", 0))
    t.capture_entire_screen()
    assert t.status(1) == f" {w} x {h}   (width x height in pixels)"
    assert t.status(2).strip() == "TAVRO"
    captions = [t.driver("text", PREVIEW, i).strip() for i in
                (ID_RETRY, 1002, 1005, 1016, 1001, 1003, 1004, 1008, 1007, 1006)]
    assert captions == ["Retry", "Save", "Copy", "Rotate", "PowerPoint", "Word", "Excel", "Program",
                        "Mail", "Print"], captions
    # The tray area of the grab holds trayer, not the picture: compare elsewhere.
    t.assert_preview_shows(picture, w)
    assert t.driver("enabled", PREVIEW, ID_RETRY).strip() == "1"


def RetryCapturesAgainWithoutTheDialog(t):
    w, h = t.desk.width, t.desk.height
    t.desk.show_on_root(known_picture(w, h, 2), w, h)
    t.start(DateStampImage=("REG_SZ", 0))
    t.capture_entire_screen()
    second = known_picture(w, h, 3)
    t.desk.show_on_root(second, w, h)
    t.click_control(PREVIEW, ID_RETRY)
    saw_dialog = False
    end = time.time() + 15
    while time.time() < end:
        titles = [x[1] for x in t.windows()]
        saw_dialog |= SHAPES in titles
        if PREVIEW in titles and time.time() > end - 13:
            break
        time.sleep(0.2)
    t.wait_window(PREVIEW)
    assert not saw_dialog, "Retry showed the shape dialog"
    t.assert_preview_shows(second, w)


def CloseEndsTheCaptureAndReenablesIt(t):
    t.start()
    t.capture_entire_screen()
    # While the preview is open "CAPTURE SCREEN" is disabled: choosing it does nothing.
    t.choose("CAPTURE SCREEN")
    time.sleep(1.5)
    # A greyed item does not close the menu.
    t.desk.key("Escape")
    assert not t.visible(SHAPES)
    assert sum(1 for x in t.windows() if x[1] == PREVIEW) == 1
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_CANCEL)
    t.wait_gone(SHAPES)


def ShapeDialogCancelAndCloseBox(t):
    t.start()
    # Cancel puts a ticked box back.
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_NO_SHOW)
    assert t.driver("checked", SHAPES, ID_NO_SHOW).strip() == "1"
    t.click_control(SHAPES, ID_CANCEL)
    t.wait_gone(SHAPES)
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    assert t.driver("checked", SHAPES, ID_NO_SHOW).strip() == "0"
    # Escape is Cancel too (keys go to the window under the pointer).
    x, y, w, h = t.rect(SHAPES, ID_NO_SHOW)
    t.desk.run(["xdotool", "mousemove", str(x + 40), str(y + 40)])
    t.desk.key("Escape")
    t.wait_gone(SHAPES)
    # The close box keeps it: the next capture goes straight to the overlay.
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_NO_SHOW)
    t.driver("close", SHAPES)
    t.wait_gone(SHAPES)
    time.sleep(0.5)
    assert not t.visible(PREVIEW)
    t.choose("CAPTURE SCREEN")
    t.wait_overlay()
    assert not t.visible(SHAPES)
    # A click without a drag ends the capture without a preview.
    t.desk.click(500, 400)
    t.wait_until(lambda: not any(x[0] == "TImageForm" for x in t.windows()), 10, "the overlay to close")
    time.sleep(1)
    assert not t.visible(PREVIEW)


def DoubleClickShowsAboutOnlyWhenIdle(t):
    t.start()
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.driver("tray", WM_LBUTTONDBLCLK)
    time.sleep(1.5)
    assert not t.visible(ABOUT), "About shown during a capture"
    t.click_control(SHAPES, ID_CANCEL)
    t.wait_gone(SHAPES)
    t.driver("tray", WM_LBUTTONDBLCLK)
    t.wait_window(ABOUT)
    # Minimising sends it back to the tray.
    t.driver("syscommand", ABOUT, 0xF020)
    t.wait_gone(ABOUT)
    assert t.running()


def ExitWritesTheSettingsWithTheirTypes(t):
    t.start()
    t.capture_entire_screen()
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)
    t.choose("Exit")
    t.wait_exit()
    s = t.stored()
    assert s["SaveOnExit"] == ("REG_SZ", "1"), s
    assert s["CaptureShapeIndex"] == ("REG_DWORD", "0x1"), s
    assert s["BackgroundColor"] == ("REG_DWORD", "0xffffff"), s
    assert s["ImageProgIndex"] == ("REG_DWORD", "0x0"), s
    for flag in ("NameOnSlides", "DateOnSlides", "ShowHints", "DateStampImage"):
        assert s[flag] == ("REG_SZ", "1"), (flag, s)
    for text in ("SaveDir", "ImageProgram", "UserName"):
        assert s[text][0] == "REG_SZ", (text, s)
    assert s["CaptureHotKey"] == ("REG_DWORD", "0x2c"), s
    assert s["RecordHotKey"] == ("REG_DWORD", "0x32c"), s
    assert s["RecordFramesPerSecond"] == ("REG_DWORD", "0xf"), s
    assert s["RecordLongestSeconds"] == ("REG_DWORD", "0x3c"), s
    assert s["RecordShowPointer"] == ("REG_SZ", "1"), s
    assert s["LastRegionHotKey"] == ("REG_DWORD", "0x12c"), s
    assert s["AutoSaveType"] == ("REG_DWORD", "0x4"), s
    assert s["FileNamePattern"] == ("REG_SZ", "Capture %Y-%m-%d %H%M%S"), s
    for flag, value in (("ShowMousePointer", "0"), ("AfterCaptureShowPreview", "1"), ("AfterCaptureCopy", "0"),
                        ("AfterCaptureSave", "0"), ("AfterCapturePin", "0")):
        assert s[flag] == ("REG_SZ", value), (flag, s)
    assert len(s) == 24, s
    # The next start reads them: Entire Screen is preselected.
    t.start(fresh_settings=False)
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    assert t.driver("checked", SHAPES, ID_FIRST_SHAPE + 1).strip() == "1"


def LogoffWritesTheSettingsWithoutAWindow(t):
    t.start(UserName=("REG_SZ", "Ann"))
    t.capture_entire_screen()  # Entire Screen becomes the stored shape
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)
    assert "CaptureShapeIndex" not in t.stored()
    assert t.driver("endsession", "TForm1").strip() == "1"
    s = t.stored()
    assert s["CaptureShapeIndex"] == ("REG_DWORD", "0x1"), s
    assert s["UserName"] == ("REG_SZ", "Ann"), s
    assert len(s) == 24, s
    assert t.our_visible_windows() == [], t.windows()


def ExitWithPreviewOpenKeepsTheProgram(t):
    t.start()
    t.capture_entire_screen()
    t.choose("Exit")
    t.wait_gone(PREVIEW)
    time.sleep(1.5)
    assert t.running(), "Exit with the preview open ended the program"
    assert t.stored() == {}, "nothing is saved while the program keeps running"
    t.choose("Exit")
    t.wait_exit()
    assert t.stored()["SaveOnExit"] == ("REG_SZ", "1")


def HintsReachTheStatusBar(t):
    t.start()
    t.capture_entire_screen()
    for control, hint in ((ID_SAVE, "Save Image as File"), (ID_RETRY, "Retry Image Selection")):
        x, y, w, h = t.rect(PREVIEW, control)
        t.desk.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2)])
        t.wait_until(lambda: t.status(0) == hint, 10, f"hint {hint!r}")


def HintsOffLeaveThePanelAlone(t):
    t.start(ShowHints=("REG_SZ", 0))
    t.capture_entire_screen()
    x, y, w, h = t.rect(PREVIEW, ID_SAVE)
    t.desk.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2)])
    time.sleep(1.5)
    assert t.status(0) == "", t.status(0)


def HelpOpensTheTableOfContents(t):
    t.start()
    t.choose("Help")
    t.wait_window("Tavro Screen Capture Help")


def HelpMissingEverywhereIsSilent(t):
    # A copy of the program in a folder without the help file, started elsewhere.
    import shutil
    folder = os.path.join(t.desk.tmp, "nohelp")
    os.makedirs(folder)
    exe = os.path.join(folder, "tavro.exe")
    shutil.copy(os.path.join(t.build, "tavro.exe"), exe)
    t.start(exe=exe)
    t.choose("Help")
    time.sleep(2)
    assert t.our_visible_windows() == [] and not t.visible("Tavro Screen Capture Help"), t.windows()
    assert not any(w[0] == "#32770" for w in t.windows()), "a message box appeared"
    assert t.running()


def AboutCloseBoxEndsTheProgram(t):
    t.start()
    t.driver("tray", WM_LBUTTONDBLCLK)
    t.wait_window(ABOUT)
    t.driver("close", ABOUT)
    t.wait_exit()
    assert t.stored()["SaveOnExit"] == ("REG_SZ", "1")


def ExitWithAboutShownTakesTheIconDownBeforeTheFade(t):
    t.start()
    t.driver("tray", WM_LBUTTONDBLCLK)
    t.wait_window(ABOUT)
    watch = subprocess.Popen(["wine", t.driver_exe, "fading", ABOUT, "20000"], env=t.desk.env,
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
    try:
        assert watch.stdout.readline().strip() == "ready", "no About window or no tray icon to watch"
        t.choose("Exit")
        out, _ = watch.communicate(timeout=30)
    finally:
        if watch.poll() is None:
            watch.kill()
    t.wait_exit()
    _, fading, _, with_icon = out.split()
    assert int(fading) > 0, "the About window did not fade out"
    assert int(with_icon) == 0, f"the tray icon was still there in {with_icon} of {fading} samples of the fade"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--driver", required=True)
    ap.add_argument("scenario")
    a = ap.parse_args()
    scenarios = {f.__name__: f for f in shapes_e2e.SCENARIOS + save_e2e.SCENARIOS}
    scenarios.update({f.__name__: f for f in copy_print_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in mail_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in settings_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in dpi_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in png_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in markup_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in capture_anywhere_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in undo_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in record_e2e.SCENARIOS})
    scenarios.update({f.__name__: f for f in fast_paths_e2e.SCENARIOS})
    scenario = scenarios.get(a.scenario) or globals()[a.scenario]
    with Desktop(a.build, dpi=getattr(scenario, "dpi", 96)) as desk:
        t = Tavro(desk, os.path.abspath(a.build), os.path.abspath(a.driver))
        try:
            scenario(t)
        except BaseException:
            print("screenshot:", desk.save_screenshot(a.scenario + ".png"), file=sys.stderr)
            print("windows:", t.windows() if desk.env.get("DISPLAY") else "-", file=sys.stderr)
            if t.running():
                print("tray icon window:", t.driver("exists", "TavroTrayIconWindow", check=False).strip(),
                      file=sys.stderr)
            raise
        finally:
            if t.running():
                t.proc.kill()
    print(f"{a.scenario}: passed")


if __name__ == "__main__":
    main()
