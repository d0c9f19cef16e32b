"""Copy and print from the preview of the real program: the clipboard read
back by another process (clipboard_tool), and print jobs that reach the
private spooler scripts/test.sh starts. Imported by tavro_e2e.py."""
import os
import subprocess
import time
from fractions import Fraction

from tavro_e2e_base import ID_STATUS, PREVIEW, known_picture

ID_COPY, ID_PRINT, ID_DATESTAMP = 1005, 1006, 1021
PRINT_DIALOG = "Print"
TRAY_LEFT, TRAY_BOTTOM = 928, 32  # trayer is part of the grab, not of the picture


def tool(t):
    return os.path.join(t.build, "tests", "output", "clipboard_tool.exe")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def prepared(t, seed, stamp=0):
    w, h = t.desk.width, t.desk.height
    picture = known_picture(w, h, seed)
    t.desk.show_on_root(picture, w, h)
    t.start(DateStampImage=("REG_SZ", stamp))
    t.capture_entire_screen()
    return picture


def pointer_on_preview(t):
    """Keys go to the window under the pointer: the status bar's middle."""
    x, y, w, h = t.rect(PREVIEW, ID_STATUS)
    t.desk.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2)])


def empty_clipboard(t):
    t.desk.wine([tool(t), "empty"])


def pasted(t, seconds=15):
    """The clipboard's bitmap as another program pastes it: (width, height, RGB)."""
    path = os.path.join(t.desk.tmp, "pasted.ppm")
    end = time.time() + seconds
    while True:
        code = subprocess.run(["wine", tool(t), "dump", windows_path(path)], env=t.desk.env,
                              stdin=subprocess.DEVNULL, capture_output=True).returncode
        if code == 0:
            break
        assert code == 3 and time.time() < end, f"no bitmap reached the clipboard (tool exit {code})"
        time.sleep(0.3)
    with open(path, "rb") as f:
        magic, size, _, rgb = f.read().split(b"\n", 3)
    width, height = map(int, size.split())
    return width, height, rgb


def differing_rows(rgb, picture, width, height):
    """Rows of the pasted picture that differ from the captured screen, outside the tray."""
    bad = []
    row = 3 * width
    for y in range(height):
        end = 3 * TRAY_LEFT if y < TRAY_BOTTOM else row
        if rgb[y * row:y * row + end] != picture[y * row:y * row + end]:
            bad.append(y)
    return bad


def menu_item(t, menu_index, item_downs):
    """A menu bar item chosen with the keyboard, as a user without a mouse would:
    F10, Right to the menu, Down to drop it, Down to the item, Enter."""
    pointer_on_preview(t)
    t.desk.key("F10")
    for _ in range(menu_index):
        t.desk.key("Right")
    t.desk.key("Down")
    t.wait_until(lambda: any(w[0] == "#32768" for w in t.windows()), 10, "the menu")
    for _ in range(item_downs):
        t.desk.key("Down")
    t.desk.key("Return")


def CopyFromButtonMenuAndEscapeGivesThePicturesPixels(t):
    picture = prepared(t, 20)
    w, h = t.desk.width, t.desk.height
    ways = [
        ("the Copy button", lambda: t.click_control(PREVIEW, ID_COPY)),
        ("Edit > Copy to Clipboard", lambda: menu_item(t, 1, 3)),  # Undo, Redo, Retry, Copy (separators skipped)
        ("Escape", lambda: (pointer_on_preview(t), t.desk.key("Escape"))),
    ]
    for name, copy in ways:
        empty_clipboard(t)
        copy()
        width, height, rgb = pasted(t)
        assert (width, height) == (w, h), f"{name}: pasted {width} x {height}"
        bad = differing_rows(rgb, picture, w, h)
        assert not bad, f"{name}: {len(bad)} rows differ from the captured screen, first {bad[0]}"
        assert t.visible(PREVIEW), f"{name} closed the preview"

    # The date stamp is part of what is copied.
    t.driver("command", PREVIEW, ID_DATESTAMP)
    time.sleep(1)
    empty_clipboard(t)
    t.click_control(PREVIEW, ID_COPY)
    width, height, rgb = pasted(t)
    bad = differing_rows(rgb, picture, w, h)
    assert bad and len(bad) < h // 4, f"the stamped copy differs in {len(bad)} rows"


def print_output():
    output = os.environ.get("TAVRO_PRINT_OUTPUT")
    assert output and os.environ.get("CUPS_SERVER"), \
        "no private spooler: run the tests through scripts/test.sh (make test)"
    return output


def lp_jobs(which="all"):
    out = subprocess.run(["lpstat", "-W", which, "-o"], capture_output=True, text=True, check=True).stdout
    return [line for line in out.splitlines() if line.strip()]


def print_extent(pixels):
    return round(Fraction(9252141, 2 ** 21) * pixels)  # the float 4.4117646, half to even


def PrintDialogCancelledPrintsNothingConfirmedPrintsOnePage(t):
    output = print_output()
    if os.path.exists(output):
        os.remove(output)
    before, done_before = len(lp_jobs()), len(lp_jobs("completed"))
    picture = prepared(t, 21)
    w, h = t.desk.width, t.desk.height

    # Cancelled: nothing printed, nothing shown, the preview goes on.
    t.click_control(PREVIEW, ID_PRINT)
    t.wait_window(PRINT_DIALOG)
    t.click_control(PRINT_DIALOG, 2)
    t.wait_gone(PRINT_DIALOG)
    time.sleep(1.5)
    assert len(lp_jobs()) == before and not os.path.exists(output), "a cancelled dialog printed"
    assert not any(win[0] == "#32770" for win in t.windows()), "a message box appeared"
    assert t.visible(PREVIEW)

    # Confirmed from File > Print Image: one job of one page.
    menu_item(t, 0, 1)  # Save as File, Print Image
    t.wait_window(PRINT_DIALOG)
    t.click_control(PRINT_DIALOG, 1)
    t.wait_gone(PRINT_DIALOG)
    t.wait_until(lambda: len(lp_jobs("completed")) == done_before + 1 and os.path.exists(output), 60,
                 "the print job")
    assert len(lp_jobs()) == before + 1, lp_jobs()
    assert not any(win[0] == "#32770" for win in t.windows()), "a message box appeared"

    pdf = os.path.join(t.desk.tmp, "job.pdf")
    subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                    "-dAutoFilterColorImages=false", "-dColorImageFilter=/FlateEncode",
                    "-dDownsampleColorImages=false", "-o", pdf, output], check=True)
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    assert "Pages:           1" in info, info
    # Wine drives the queue at 300 dpi: 1024 x 768 is 4518 x 3388 printer pixels,
    # rendered here at 150 dpi.
    pw, ph = print_extent(w), print_extent(h)
    assert (pw, ph) == (4518, 3388)
    prefix = os.path.join(t.desk.tmp, "page")
    subprocess.run(["pdftoppm", "-r", "150", "-x", "0", "-y", "0", "-W", str(pw // 2 + 60), "-H",
                    str(ph // 2 + 60), pdf, prefix], check=True)
    page = prefix + "-1.ppm"
    # The picture's box on the page (a white border first, so trim cuts white).
    box = subprocess.run(["convert", page, "-bordercolor", "white", "-border", "1", "-format", "%@", "info:"],
                         capture_output=True, text=True, check=True).stdout.strip()
    size, x, y = box.split("+")
    bw, bh = map(int, size.split("x"))
    assert (int(x) - 1, int(y) - 1) == (0, 0), f"the picture is not at the top-left: {box}"
    assert abs(bw - pw / 2) <= 1.5 and abs(bh - ph / 2) <= 1.5, f"printed {bw} x {bh} at 150 dpi, expected {pw / 2} x {ph / 2}"

    # The colours of picture pixels, sampled at their centres, at the printer's
    # 300 dpi (renderers smooth pictures enlarged less than four times) over the
    # top-left part of the page.
    cw, ch = 2000, 1500
    subprocess.run(["pdftoppm", "-r", "300", "-x", "0", "-y", "0", "-W", str(cw), "-H", str(ch), pdf,
                    prefix + "300"], check=True)
    with open(prefix + "300-1.ppm", "rb") as f:
        _, size, _, rgb = f.read().split(b"\n", 3)
    assert size.split() == [str(cw).encode(), str(ch).encode()], size
    wrong = []
    for py in range(0, ch * w // pw, 13):
        for px in range(0, cw * w // pw, 17):
            rx, ry = int((px + 0.5) * pw / w), int((py + 0.5) * ph / h)
            got = rgb[3 * (ry * cw + rx):3 * (ry * cw + rx) + 3]
            want = picture[3 * (py * w + px):3 * (py * w + px) + 3]
            if any(abs(a - b) > 8 for a, b in zip(got, want)):
                wrong.append((px, py, tuple(got), tuple(want)))
    assert not wrong, f"{len(wrong)} sampled pixels differ, first {wrong[0]}"


SCENARIOS = [CopyFromButtonMenuAndEscapeGivesThePicturesPixels,
             PrintDialogCancelledPrintsNothingConfirmedPrintsOnePage]
