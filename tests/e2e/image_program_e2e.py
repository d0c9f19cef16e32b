"""Opening the capture in an image program from the real program: the
image-program dialog, "Program" with and without the dialog, the Programs menu
commands, and what each program gets on its command line. The recorder
(tests/doubles) stands in for the user's program, the program associated with
BMP files and Paint, registered in the prefix under HKLM (Wine ignores the
classes of HKCU). Tavro runs from a folder with a blank in its name, so the
temporary file's path has one too. Imported by tavro_e2e.py."""
import os
import re
import shutil
import time

from tavro_e2e_base import PREVIEW, known_picture
from save_e2e import decoded, outside_tray

IMAGE_ED = " Set Image Edit or View Program"
APP_TITLE = "Tavro Screen Capture v2.0"
ID_PROGRAM_BUTTON = 1008
RUN_USER, RUN_DEFAULT, RUN_PAINT = 1010, 1011, 1012  # the Programs menu's entries
ID_EDIT, ID_BROWSE, ID_DEFAULT, ID_FIRST_WAY, ID_NO_SHOW, ID_HEADING = 3201, 3202, 3203, 3211, 3220, 3221
ID_OK, ID_CANCEL = 1, 2
CLASSES = r"HKLM\Software\Classes"
APP_PATHS = r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths"


def win_path(path):
    return "Z:" + path.replace("/", "\\")


class Programs:
    """The three stand-in programs, registered, and their records."""

    def __init__(self, t):
        self.t = t
        tools = os.path.join(t.desk.tmp, "Image Tools")
        os.makedirs(tools)
        built = os.path.join(t.build, "tests", "doubles", "recorder.exe")
        self.paths = {}
        for role, name in (("user", "user editor.exe"), ("default", "bmp viewer.exe"), ("paint", "mspaint.exe")):
            shutil.copy(built, os.path.join(tools, name))
            self.paths[role] = win_path(os.path.join(tools, name))
        self.log = os.path.join(t.desk.tmp, "record.txt")
        t.desk.env["TAVRO_RECORDER_LOG"] = win_path(self.log)
        self.keys = [CLASSES + r"\.bmp", APP_PATHS + r"\mspaint", APP_PATHS + r"\mspaint.exe"]
        self.saved = {k: self._default(k) for k in self.keys}
        self._set(CLASSES + r"\.bmp", "TavroTest.Picture")
        self._set(CLASSES + r"\TavroTest.Picture\shell\open\command", '"%s" "%%1"' % self.paths["default"])
        self._set(APP_PATHS + r"\mspaint", self.paths["paint"])
        self._set(APP_PATHS + r"\mspaint.exe", self.paths["paint"])

    def _default(self, key):
        out = self.t.desk.wine(["reg", "query", key, "/ve"], check=False)
        for line in out.splitlines():
            if "REG_SZ" in line:
                return line.split("REG_SZ", 1)[1].strip()
        return None

    def _set(self, key, value):
        self.t.desk.wine(["reg", "add", key, "/ve", "/d", value, "/f"])

    def restore(self):
        self.t.desk.wine(["reg", "delete", CLASSES + r"\TavroTest.Picture", "/f"], check=False)
        for key, value in self.saved.items():
            if value is None:
                self.t.desk.wine(["reg", "delete", key, "/f"], check=False)
            else:
                self._set(key, value)

    def clear(self):
        for path in (self.log, self.log + ".bmp"):
            if os.path.exists(path):
                os.remove(path)

    def record(self, seconds=20):
        """The next start's record: (raw command line, argv, copied)."""
        self.t.wait_until(lambda: os.path.exists(self.log), seconds, "an image program to start")
        cmdline, argv, copied = "", [], False
        for line in open(self.log, encoding="utf-8").read().splitlines():
            key, _, value = line.partition("=")
            if key == "cmdline":
                cmdline = value
            elif key.startswith("argv["):
                argv.append(value)
            elif key == "copied":
                copied = value == "1"
        return cmdline, argv, copied

    def assert_started(self, role, temp, picture, width):
        """The program of that role got the temporary file as one quoted
        argument, and the file held the captured pixels."""
        cmdline, argv, copied = self.record()
        assert argv[0].lower().endswith(os.path.basename(self.paths[role]).lower()), (role, argv)
        assert len(argv) == 2, f"{role}: {len(argv)} arguments: {cmdline!r}"
        # A new file in the user's temporary folder, never beside the program.
        assert re.fullmatch(r".*\\capture-temp-[0-9a-f]+-[0-9a-f]+\.bmp", argv[1]), argv[1]
        assert not argv[1].lower().startswith(temp.lower()), (argv[1], temp)
        assert cmdline.endswith(f'"{argv[1]}"'), cmdline
        assert copied
        got = decoded(self.log + ".bmp")
        assert len(got) == len(picture)
        bad = [i for i in range(0, len(picture), 3) if got[i:i + 3] != picture[i:i + 3] and outside_tray(i, width)]
        assert not bad, f"{len(bad)} pixels handed to {role} differ from the screen"
        self.clear()

    def assert_none_started(self, wait=1.5):
        time.sleep(wait)
        assert not os.path.exists(self.log), f"a program was started: {self.record()}"


def prepared(t, seed, **settings):
    """Tavro from a folder with a blank, the programs registered, and an
    entire-screen capture of a known picture in the preview."""
    folder = os.path.join(t.desk.tmp, "Program Files Tavro")
    os.makedirs(folder)
    exe = os.path.join(folder, "tavro.exe")
    shutil.copy(os.path.join(t.build, "tavro.exe"), exe)
    programs = Programs(t)
    w, h = t.desk.width, t.desk.height
    picture = known_picture(w, h, seed)
    try:
        t.desk.show_on_root(picture, w, h)
        t.start(exe=exe, DateStampImage=("REG_SZ", 0), **settings)
        t.capture_entire_screen()
    except BaseException:
        programs.restore()
        raise
    return programs, picture, win_path(folder)


def open_dialog(t):
    t.click_control(PREVIEW, ID_PROGRAM_BUTTON)
    t.wait_window(IMAGE_ED)


def close_dialog(t, button):
    t.click_control(IMAGE_ED, button)
    t.wait_gone(IMAGE_ED)


def way(t):
    return [t.driver("checked", IMAGE_ED, ID_FIRST_WAY + i).strip() for i in range(3)].index("1")


def ProgramButtonWithTheDialogAndWithout(t):
    programs, picture, temp = prepared(t, 21)
    width = t.desk.width
    try:
        open_dialog(t)
        texts = [t.driver("text", IMAGE_ED, i).strip() for i in
                 (ID_HEADING, ID_BROWSE, ID_DEFAULT, ID_FIRST_WAY, ID_FIRST_WAY + 1, ID_FIRST_WAY + 2, ID_NO_SHOW,
                  ID_OK, ID_CANCEL)]
        assert texts == ["Set Image Edit or View Program", "Browse", "Default", "Use Program Above",
                         "Use Default Program", "Use Microsoft Paint", "Don't Show This Screen", "OK", "Cancel"], texts
        assert way(t) == 0
        # No program of the user's yet: the associated one is offered, in its long form.
        assert t.driver("text", IMAGE_ED, ID_EDIT).strip().lower() == programs.paths["default"].lower()
        t.driver("settext", IMAGE_ED, ID_EDIT, r"C:\typed but cancelled.exe")
        close_dialog(t, ID_CANCEL)
        programs.assert_none_started()

        # The user's program, named in the box.
        open_dialog(t)
        assert t.driver("text", IMAGE_ED, ID_EDIT).strip().lower() == programs.paths["default"].lower()
        t.driver("settext", IMAGE_ED, ID_EDIT, programs.paths["user"])
        close_dialog(t, ID_OK)
        programs.assert_started("user", temp, picture, width)

        # "Default" fills in the associated program; Paint chosen, not to be asked again.
        open_dialog(t)
        assert t.driver("text", IMAGE_ED, ID_EDIT).strip() == programs.paths["user"]
        t.click_control(IMAGE_ED, ID_DEFAULT)
        t.wait_until(lambda: t.driver("text", IMAGE_ED, ID_EDIT).strip().lower() ==
                     programs.paths["default"].lower(), 10, "the associated program in the box")
        t.click_control(IMAGE_ED, ID_FIRST_WAY + 2)
        t.click_control(IMAGE_ED, ID_NO_SHOW)
        close_dialog(t, ID_OK)
        programs.assert_started("paint", temp, picture, width)

        # Straight to Paint from now on.
        t.click_control(PREVIEW, ID_PROGRAM_BUTTON)
        programs.assert_started("paint", temp, picture, width)
        assert not t.visible(IMAGE_ED)

        t.choose_exit_after_preview()
        stored = t.stored()
        assert stored["ImageProgIndex"][1] in ("2", "0x2", "0x00000002 (2)", "0x2 (2)"), stored["ImageProgIndex"]
        assert stored["ImageProgram"][1].lower() == programs.paths["default"].lower(), stored["ImageProgram"]
    finally:
        programs.restore()


def ProgramsMenuOpensEachProgram(t):
    programs, picture, temp = prepared(t, 22, ImageProgram=("REG_SZ", r"C:\no such editor.exe"),
                                       ImageProgIndex=("REG_SZ", 1))
    width = t.desk.width
    try:
        # "User Program" without such a program asks once; OK with a real one starts it.
        t.driver("command", PREVIEW, RUN_USER)
        t.wait_window(IMAGE_ED)
        assert t.driver("text", IMAGE_ED, ID_EDIT).strip() == r"C:\no such editor.exe"
        t.driver("settext", IMAGE_ED, ID_EDIT, programs.paths["user"])
        close_dialog(t, ID_OK)
        programs.assert_started("user", temp, picture, width)
        t.driver("command", PREVIEW, RUN_USER)
        programs.assert_started("user", temp, picture, width)
        assert not t.visible(IMAGE_ED)

        t.driver("command", PREVIEW, RUN_DEFAULT)
        programs.assert_started("default", temp, picture, width)
        t.driver("command", PREVIEW, RUN_PAINT)
        programs.assert_started("paint", temp, picture, width)

        # "Program" with the stored way (the associated program), then without the dialog.
        open_dialog(t)
        assert way(t) == 1
        t.click_control(IMAGE_ED, ID_NO_SHOW)
        close_dialog(t, ID_OK)
        programs.assert_started("default", temp, picture, width)
        t.click_control(PREVIEW, ID_PROGRAM_BUTTON)
        programs.assert_started("default", temp, picture, width)
        assert not t.visible(IMAGE_ED)
        # The settings' "Set" still shows the dialog, where the box can be cleared.
        t.driver("command", PREVIEW, 1009)
        t.wait_window(IMAGE_ED)
        assert t.driver("checked", IMAGE_ED, ID_NO_SHOW).strip() == "1"
        close_dialog(t, ID_CANCEL)
    finally:
        programs.restore()


def PictureFileBesideTheProgramIsNeitherReplacedNorHandedOver(t):
    programs, picture, temp = prepared(t, 23)
    try:
        # A file planted under the old fixed name beside the program.
        path = os.path.join(t.desk.tmp, "Program Files Tavro", "capture-temp.bmp")
        with open(path, "wb") as f:
            f.write(b"BM old")
        t.driver("command", PREVIEW, RUN_PAINT)
        programs.assert_started("paint", temp, picture, t.desk.width)
        assert open(path, "rb").read() == b"BM old"
    finally:
        programs.restore()


SCENARIOS = [ProgramButtonWithTheDialogAndWithout, ProgramsMenuOpensEachProgram,
             PictureFileBesideTheProgramIsNeitherReplacedNorHandedOver]
