"""The settings dialog of the real program: its texts and layout, what it
loads and stores, Cancel, Escape and Enter, the "Set" buttons that act at
once, and the registry after Exit. Imported by tavro_e2e.py."""
import time

from tavro_e2e_base import PREVIEW, SHAPES

SETTINGS = " Settings"
ID_OK, ID_CANCEL = 1, 2
ID_GROUP, ID_NAME_LABEL, ID_NAME, ID_NAME_BOX, ID_DATE_BOX = 5001, 5002, 5003, 5004, 5005
ID_SET_CAP, ID_SET_PROG, ID_SET_COLOR = 5007, 5008, 5009
ID_STAMP_BOX, ID_HINTS_BOX, ID_SAVE_BOX = 5011, 5012, 5013
ID_STAMP, ID_UNSTAMP = 1021, 1022  # the preview's date-stamp commands


def open_settings(t):
    t.choose("Settings")
    t.wait_window(SETTINGS)


def checked(t, control):
    return t.driver("checked", SETTINGS, control).strip() == "1"


def text(t, control):
    return t.driver("text", SETTINGS, control).rstrip("\r\n")


def SettingsDialogShowsTheStoredValuesAndStoresOnlyOnOk(t):
    t.start(UserName=("REG_SZ", "Ann"), DateOnSlides=("REG_SZ", "0"), DateStampImage=("REG_SZ", "0"))
    open_settings(t)
    # Positions inside the client area, taken from the first group box at (5, 5).
    gx, gy, gw, gh = t.rect(SETTINGS, ID_GROUP)
    x, y = gx - 5, gy - 5
    assert (gw, gh) == (480, 100), (gw, gh)
    frame = next(w[2] for w in t.windows() if w[1] == SETTINGS)
    assert x + 492 <= frame[0] + frame[2] and y + 398 <= frame[1] + frame[3], frame
    assert text(t, ID_GROUP) == " Microsoft Office Settings "
    assert text(t, ID_NAME_LABEL) == "User Name:"
    assert text(t, ID_NAME) == "Ann"
    assert checked(t, ID_NAME_BOX) and not checked(t, ID_DATE_BOX)
    assert not checked(t, ID_STAMP_BOX) and checked(t, ID_HINTS_BOX) and checked(t, ID_SAVE_BOX)
    assert text(t, ID_SET_PROG) == "Set"
    ox, oy, ow, oh = t.rect(SETTINGS, ID_OK)
    assert (ox - x, oy - y, ow, oh) == (15, 330, 75, 50), (ox - x, oy - y, ow, oh)

    # Cancel stores nothing; the next showing loads the stored values again.
    t.driver("settext", SETTINGS, ID_NAME, "Bob")
    t.driver("click", SETTINGS, ID_DATE_BOX)
    t.click_control(SETTINGS, ID_CANCEL)
    t.wait_gone(SETTINGS)
    open_settings(t)
    assert text(t, ID_NAME) == "Ann" and not checked(t, ID_DATE_BOX)

    # Escape is Cancel too.
    t.driver("settext", SETTINGS, ID_NAME, "Eve")
    cx, cy, cw, ch = t.rect(SETTINGS, ID_NAME_BOX)
    t.desk.click(cx + 4, cy + ch // 2)  # ticks nothing off: toggles the name box
    t.desk.key("Escape")
    t.wait_gone(SETTINGS)
    open_settings(t)
    assert text(t, ID_NAME) == "Ann" and checked(t, ID_NAME_BOX)

    # OK stores the name as typed; "Save Settings on Exit" off writes only itself.
    t.driver("settext", SETTINGS, ID_NAME, "  Carl  ")
    t.driver("click", SETTINGS, ID_SAVE_BOX)
    t.click_control(SETTINGS, ID_OK)
    t.wait_gone(SETTINGS)
    open_settings(t)
    assert text(t, ID_NAME) == "  Carl  " and not checked(t, ID_SAVE_BOX)
    t.click_control(SETTINGS, ID_CANCEL)
    t.wait_gone(SETTINGS)
    t.choose("Exit")
    t.wait_exit()
    s = t.stored()
    assert s["SaveOnExit"] == ("REG_SZ", "0"), s
    assert s["UserName"] == ("REG_SZ", "Ann"), s


def SettingsEnterInTheNameStoresAndSetButtonsActAtOnce(t):
    t.start()
    open_settings(t)
    # Enter while typing in the name box stores and closes.
    t.driver("settext", SETTINGS, ID_NAME, "Dee")
    t.click_control(SETTINGS, ID_NAME)
    t.desk.key("Return")
    t.wait_gone(SETTINGS)

    # The shape chosen through "Set" stays even when the dialog is cancelled.
    open_settings(t)
    t.click_control(SETTINGS, ID_SET_CAP)
    t.wait_window(SHAPES)
    t.click_control(SHAPES, 3001 + 4)  # Square
    t.click_control(SHAPES, ID_OK)
    t.wait_gone(SHAPES)
    t.click_control(SETTINGS, ID_CANCEL)
    t.wait_gone(SETTINGS)

    # The date-stamp commands keep "Put Date on Image" in step.
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    assert t.driver("checked", SHAPES, 3001 + 4).strip() == "1", "the shape set in the settings is not kept"
    t.click_control(SHAPES, 3001 + 1)  # Entire Screen
    t.click_control(SHAPES, ID_OK)
    t.wait_window(PREVIEW)
    t.driver("command", PREVIEW, ID_UNSTAMP)
    time.sleep(0.5)
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)
    open_settings(t)
    assert text(t, ID_NAME) == "Dee"
    assert not checked(t, ID_STAMP_BOX)
    t.click_control(SETTINGS, ID_OK)
    t.wait_gone(SETTINGS)

    # Exit with the settings dialog open closes it and writes the settings.
    open_settings(t)
    time.sleep(0.6)  # two presses on the icon this close together would be a double-click
    t.choose("Exit")
    t.wait_exit()
    s = t.stored()
    assert s["UserName"] == ("REG_SZ", "Dee"), s
    assert s["CaptureShapeIndex"] == ("REG_DWORD", "0x1"), s
    assert s["DateStampImage"] == ("REG_SZ", "0"), s


SCENARIOS = [SettingsDialogShowsTheStoredValuesAndStoresOnlyOnOk,
             SettingsEnterInTheNameStoresAndSetButtonsActAtOnce]
