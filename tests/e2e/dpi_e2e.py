"""The program on a 150% display (LogPixels 144 in its own prefix): windows
take their 96-DPI sizes times the scale, and a capture stays in physical
pixels. Imported by tavro_e2e.py."""
from settings_e2e import ID_GROUP, SETTINGS, open_settings
from shapes_e2e import capture_shape, check_size, pixel, prepared
from tavro_e2e_base import ID_IMAGE, ID_RETRY, ID_SCROLLBOX, PREVIEW

DPI = 144


def SettingsDialogAt150PercentKeepsItsLayoutScaled(t):
    t.start()
    open_settings(t)
    client = tuple(int(v) for v in t.driver("winclient", SETTINGS).split(","))
    assert abs(client[0] - 1436) <= 2 and abs(client[1] - 597) <= 2, client
    gx, gy, gw, gh = t.rect(SETTINGS, ID_GROUP)
    assert (gw, gh) == (720, 150), (gw, gh)
    ox, oy, ow, oh = t.rect(SETTINGS, 1)
    assert (ox - gx, oy - gy, ow, oh) == (15, 487, 113, 75), (ox - gx, oy - gy, ow, oh)


def RectangleAt150PercentIsPixelExactUnderAScaledToolbar(t):
    picture, sw = prepared(t, 7)
    capture_shape(t, 0, (150, 200), (450, 400))
    check_size(t, 300, 200)
    # The toolbar's buttons are 60 x 65 at 96 DPI; the picture is not scaled.
    for control in (ID_RETRY, 1001, 1006):
        assert t.rect(PREVIEW, control)[2:] == (90, 98), (control, t.rect(PREVIEW, control))
    ix, iy, _, _ = t.rect(PREVIEW, ID_IMAGE)
    bx, by, _, _ = t.rect(PREVIEW, ID_SCROLLBOX, client=True)
    assert (ix - bx, iy - by) == (15, 15), (ix - bx, iy - by)
    t.assert_preview_matches(lambda x, y: pixel(picture, sw, 150 + x, 200 + y), 300, 200)


SCENARIOS = [SettingsDialogAt150PercentKeepsItsLayoutScaled, RectangleAt150PercentIsPixelExactUnderAScaledToolbar]
for scenario in SCENARIOS:
    scenario.dpi = DPI
