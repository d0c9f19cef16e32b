"""Saving from the preview of the real program: the save dialog, the three
file types, the file-exists dialog's answers and policies, and the files on
disk read back with ImageMagick. Imported by tavro_e2e.py."""
import os
import time
import subprocess

from tavro_e2e_base import PREVIEW, known_picture

SAVE_DIALOG = "Save Screen Capture as a File"
FILE_EXISTS = " File Exists"
ID_SAVE_BUTTON = 1002
ID_FILE_NAME, ID_FILE_TYPE = 1148, 1136
ID_OVERWRITE, ID_RENAME, ID_FIRST_POLICY = 3101, 3102, 3111
TYPES = {"jpg": 0, "bmp": 1, "gif": 2, "png": 3}
TRAY_AREA = (928, 0, 1024, 32)  # trayer is part of the grab, not of the picture shown


def decoded(path):
    """The file's pixels as raw RGB, decoded by ImageMagick."""
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout


def outside_tray(i, width):
    x, y = (i // 3) % width, (i // 3) // width
    l, t, r, b = TRAY_AREA
    return not (l <= x < r and t <= y < b)


def prepared(t, seed):
    w, h = t.desk.width, t.desk.height
    picture = known_picture(w, h, seed)
    t.desk.show_on_root(picture, w, h)
    t.start(DateStampImage=("REG_SZ", 0))
    t.capture_entire_screen()
    folder = os.path.join(t.desk.tmp, "saved")
    os.makedirs(folder, exist_ok=True)
    return picture, folder


def save_as(t, folder, name, kind):
    """Save button, then the dialog as a user fills it in."""
    t.click_control(PREVIEW, ID_SAVE_BUTTON)
    t.wait_window(SAVE_DIALOG)
    t.driver("select", SAVE_DIALOG, ID_FILE_TYPE, TYPES[kind])
    x, y, w, h = t.rect(SAVE_DIALOG, ID_FILE_NAME)
    t.desk.click(x + w // 2, y + h // 2)
    t.desk.key("ctrl+a")
    t.desk.run(["xdotool", "type", "--delay", "5", "Z:" + os.path.join(folder, name).replace("/", "\\")])
    t.click_control(SAVE_DIALOG, 1)
    t.wait_gone(SAVE_DIALOG)


def answer_file_exists(t, button, policy=None):
    t.wait_window(FILE_EXISTS)
    if policy is not None:
        t.click_control(FILE_EXISTS, ID_FIRST_POLICY + policy)
    t.click_control(FILE_EXISTS, button)
    t.wait_gone(FILE_EXISTS)


def wait_files(t, folder, names, seconds=20):
    """Waits until the folder holds exactly these files and the program is idle
    again (the save ran to its end)."""
    t.wait_until(lambda: sorted(os.listdir(folder)) == sorted(names), seconds,
                 f"files {sorted(names)} (have {sorted(os.listdir(folder))})")
    t.wait_until(lambda: t.driver("enabled", PREVIEW, ID_SAVE_BUTTON).strip() == "1" and
                 not t.visible(FILE_EXISTS) and not t.visible(SAVE_DIALOG), seconds, "the preview")


def SaveAsEachTypeGivesTheCapturedPixels(t):
    picture, folder = prepared(t, 10)
    width = t.desk.width
    names = []
    for kind in ("bmp", "jpg", "gif"):
        save_as(t, folder, "shot", kind)
        names.append("shot." + kind)
        wait_files(t, folder, names)

    bmp = decoded(os.path.join(folder, "shot.bmp"))
    assert len(bmp) == len(picture)
    bad = [i for i in range(0, len(picture), 3) if bmp[i:i + 3] != picture[i:i + 3] and outside_tray(i, width)]
    assert not bad, f"{len(bad)} BMP pixels differ from the screen"

    gif = decoded(os.path.join(folder, "shot.gif"))
    cube = bytes(((c + 3) // 51) * 51 for c in bmp)
    assert gif == cube, "GIF colours are not the cube colours of the screen"

    # The JPEG decodes, and is byte for byte what the library's own cjpeg
    # writes from the same pixels at quality 90 with baseline tables.
    jpg_path = os.path.join(folder, "shot.jpg")
    assert len(decoded(jpg_path)) == len(bmp)
    cjpeg = os.path.join(t.build, "_deps", "libjpeg-turbo", "build-native", "cjpeg-static")
    ppm = subprocess.run(["convert", os.path.join(folder, "shot.bmp"), "-alpha", "off", "ppm:-"],
                         check=True, capture_output=True).stdout
    reference = subprocess.run([cjpeg, "-quality", "90", "-baseline"], input=ppm, check=True,
                               capture_output=True).stdout
    assert open(jpg_path, "rb").read() == reference, "JPEG bytes differ from cjpeg's"

    # Every file opens opaque in readers that honour alpha.
    opaque = subprocess.run(["convert", os.path.join(folder, "shot.bmp"), "-format", "%[opaque]", "info:"],
                            capture_output=True, text=True).stdout.strip().lower()
    assert opaque == "true", f"BMP reads as transparent ({opaque})"

    # The folder is remembered for the next start.
    t.choose_exit_after_preview()
    saved_dir = t.stored()["SaveDir"][1]
    assert saved_dir.rstrip("\\").lower().endswith(os.path.basename(folder)), saved_dir


def FileExistsAnswersAndRenamePolicy(t):
    _, folder = prepared(t, 11)
    save_as(t, folder, "shot", "bmp")
    wait_files(t, folder, ["shot.bmp"])
    first = open(os.path.join(folder, "shot.bmp"), "rb").read()
    save_as(t, folder, "shot", "bmp")
    answer_file_exists(t, 2)  # Cancel
    wait_files(t, folder, ["shot.bmp"])
    save_as(t, folder, "shot", "bmp")
    answer_file_exists(t, ID_RENAME)
    wait_files(t, folder, ["shot.bmp", "shot(1).bmp"])
    save_as(t, folder, "shot", "bmp")
    answer_file_exists(t, ID_RENAME, policy=2)  # Always Rename
    wait_files(t, folder, ["shot.bmp", "shot(1).bmp", "shot(2).bmp"])
    save_as(t, folder, "shot", "bmp")  # no question any more
    wait_files(t, folder, ["shot.bmp", "shot(1).bmp", "shot(2).bmp", "shot(3).bmp"])
    assert open(os.path.join(folder, "shot.bmp"), "rb").read() == first


def FileExistsOverwritePolicy(t):
    _, folder = prepared(t, 12)
    target = os.path.join(folder, "shot.jpg")
    with open(target, "wb") as f:
        f.write(b"not a picture")
    save_as(t, folder, "shot", "jpg")
    answer_file_exists(t, ID_OVERWRITE, policy=1)  # Always Overwrite
    t.wait_until(lambda: open(target, "rb").read(3) == b"\xff\xd8\xff", 20, "the JPEG in place")
    wait_files(t, folder, ["shot.jpg"])
    os.utime(target, (0, 0))
    save_as(t, folder, "shot", "jpg")  # no question any more
    t.wait_until(lambda: os.stat(target).st_mtime > 0, 20, "the second overwrite")
    wait_files(t, folder, ["shot.jpg"])


def PreviewKeysEnterSavesEscapeKeepsTheWindow(t):
    prepared(t, 13)
    x, y, w, h = t.rect(PREVIEW, ID_SAVE_BUTTON)
    t.desk.run(["xdotool", "mousemove", str(x + w // 2), str(y + h + 60)])  # keys go under the pointer
    # Escape is the Copy button's key: the window stays open.
    t.desk.key("Escape")
    time.sleep(1)
    assert t.visible(PREVIEW)
    # Enter is the Save button's.
    t.desk.key("Return")
    t.wait_window(SAVE_DIALOG)
    t.click_control(SAVE_DIALOG, 2)
    t.wait_gone(SAVE_DIALOG)
    assert t.visible(PREVIEW)


SCENARIOS = [PreviewKeysEnterSavesEscapeKeepsTheWindow, SaveAsEachTypeGivesTheCapturedPixels, FileExistsAnswersAndRenamePolicy,
             FileExistsOverwritePolicy]
