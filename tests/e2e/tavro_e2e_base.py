"""The program under test, as the end-to-end scenarios see it: its windows
through the Win32 driver, its settings through the registry, its picture
through the X screen."""
import os
import re
import select
import subprocess
import time

PREVIEW = " Previewer"
SHAPES = " Select Capture Shape"
ABOUT = " Tavro Screen Capture"
OUR_CLASSES = {"TForm1", "TPreviewForm", "TSelectForm", "TImageForm", "TavroPin"}
KEY = r"HKCU\Software\Tavro"

# Control ids of the shape dialog and the preview.
ID_OK, ID_CANCEL = 1, 2
ID_FIRST_SHAPE, ID_NO_SHOW = 3001, 3010
ID_RETRY, ID_IMAGE, ID_SCROLLBOX, ID_STATUS = 4001, 4005, 4004, 4006
ID_SAVE = 1002
MENU_ITEMS = ["Help", "Settings", "CAPTURE SCREEN", "Record GIF", "Capture Last Region", "Exit"]
WM_LBUTTONDBLCLK = 0x203


def known_picture(width, height, seed):
    """A picture with every pixel different from its neighbours."""
    rows = []
    for y in range(height):
        row = bytearray(width * 3)
        for x in range(width):
            row[3 * x] = (x * 7 + y * 3 + seed) & 255
            row[3 * x + 1] = (x ^ y ^ seed) & 255
            row[3 * x + 2] = ((x * y) >> 6) + seed * 31 & 255
        rows.append(bytes(row))
    return b"".join(rows)


class DriverGone(AssertionError):
    pass


class DriverServer:
    """One driver process (driver serve) answering a scenario's queries: a
    Wine process start for each of them would cost more than the query."""

    def __init__(self, desk, driver_exe):
        self.proc = desk.spawn_wine([driver_exe, "serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                    stderr=None)
        self.pending = b""

    def ask(self, args, check=True, timeout=60):
        try:
            self.proc.stdin.write(("\t".join(args) + "\n").encode())
            self.proc.stdin.flush()
        except BrokenPipeError:
            raise DriverGone(f"the driver had ended before {args}") from None
        out, end = [], time.time() + timeout
        while True:
            line = self._line(end, args)
            if line.startswith("\x1e"):
                status = int(line[1:])
                break
            out.append(line + "\n")
        text = "".join(out)
        if check and status != 0:
            raise AssertionError(f"driver {args} failed ({status}): {text}")
        return text

    def _line(self, end, args):
        fd = self.proc.stdout.fileno()
        while b"\n" not in self.pending:
            if not select.select([fd], [], [], max(0.0, end - time.time()))[0]:
                raise AssertionError(f"driver {args} gave no answer")
            chunk = os.read(fd, 65536)
            if not chunk:
                raise DriverGone(f"the driver ended during {args}")
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode("utf-8", "replace").rstrip("\r")


class Tavro:
    def __init__(self, desk, build, driver):
        self.desk, self.build, self.driver_exe = desk, build, driver
        self.proc = None
        self.server = None

    # -- the program -----------------------------------------------------
    def start(self, fresh_settings=True, exe=None, **values):
        if fresh_settings:
            self.desk.wine(["reg", "delete", KEY, "/f"], check=False)
        for name, (kind, data) in values.items():
            self.desk.wine(["reg", "add", KEY + r"\SETTINGS", "/v", name, "/t", kind, "/d", str(data), "/f"])
        self.proc = self.desk.spawn_wine([exe or os.path.join(self.build, "tavro.exe")])
        self.wait_until(lambda: self.driver("exists", "TavroTrayIconWindow", check=False).strip() == "1",
                        20, "the tray icon's window")
        time.sleep(0.5)  # the icon reaches trayer through the X server
        return self

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, seconds=20):
        self.wait_until(lambda: not self.running(), seconds, "tavro.exe to end")

    def driver(self, *args, check=True):
        # A new Wine session (wineserver -k) ends the driver: one more is started.
        for attempt in (1, 2):
            if self.server is None or self.server.proc.poll() is not None:
                self.server = DriverServer(self.desk, self.driver_exe)
            try:
                return self.server.ask([str(a) for a in args], check)
            except DriverGone:
                self.server.proc.wait(10)
                if attempt == 2:
                    raise

    @staticmethod
    def wait_until(cond, seconds, what):
        end = time.time() + seconds
        while True:
            if cond():
                return
            if time.time() > end:
                raise AssertionError(f"timed out waiting for {what}")
            time.sleep(0.2)

    def click_until(self, x, y, cond, what, tries=3, seconds=5):
        """Clicks at (x, y) until cond holds: a window Win32 already lists may
        not be mapped on the X screen yet on a busy machine, and a click that
        comes before takes the window beneath."""
        for _ in range(tries - 1):
            self.desk.click(x, y)
            try:
                return self.wait_until(cond, seconds, what)
            except AssertionError:
                pass
        self.desk.click(x, y)
        self.wait_until(cond, seconds, what)

    # -- windows ---------------------------------------------------------
    def windows(self):
        out = []
        for line in self.driver("windows").splitlines():
            parts = line.split("|")
            if len(parts) == 3:
                x, y, w, h = (int(v) for v in parts[2].split(","))
                out.append((parts[0], parts[1], (x, y, w, h)))
        return out

    def our_visible_windows(self):
        return [w for w in self.windows() if w[0] in OUR_CLASSES]

    def wait_window(self, title, seconds=15):
        r = self.driver("wait", title, seconds * 1000, check=False)
        assert r.strip() == "ok", f"window {title!r} did not appear"
        for _, shown, rect in self.windows():
            if shown == title:
                self.desk.wait_mapped(rect)
                break

    def wait_gone(self, title, seconds=15):
        r = self.driver("gone", title, seconds * 1000, check=False)
        assert r.strip() == "ok", f"window {title!r} did not go away"

    def wait_overlay(self, seconds=10, what="the overlay"):
        """Waits until the capture's overlay is listed and shown on the X
        screen, so that a click reaches it and not the window beneath."""
        found = []

        def listed():
            found[:] = [w[2] for w in self.windows() if w[0] == "TImageForm"]
            return bool(found)

        self.wait_until(listed, seconds, what)
        self.desk.wait_mapped(found[0])

    def visible(self, title):
        return any(w[1] == title for w in self.windows())

    def rect(self, title, control, client=False):
        out = self.driver("client" if client else "rect", title, control)
        return tuple(int(v) for v in out.strip().split(","))

    def click_control(self, title, control, button=1):
        x, y, w, h = self.rect(title, control)
        self.desk.click(x + w // 2, y + h // 2, button)

    def status(self, part):
        return self.driver("status", PREVIEW, ID_STATUS, part).rstrip("\r\n")

    # -- tray ------------------------------------------------------------
    def tray_point(self):
        return self.desk.width - 12, 16

    def tray_press(self, button=1):
        x, y = self.tray_point()
        for seconds in (5, 10):  # on a busy machine a press before the icon reaches trayer is lost
            self.desk.click(x, y, button)
            try:
                self.wait_until(lambda: any(w[0] == "#32768" for w in self.windows()), seconds, "the tray menu")
                break
            except AssertionError:
                if seconds == 10:
                    raise
        menu = next(w[2] for w in self.windows() if w[0] == "#32768")
        self.desk.wait_mapped(menu)
        return menu

    def choose(self, item, button=1):
        """Opens the tray menu and clicks one of its items."""
        x, y, w, h = self.tray_press(button)
        step = (h - 4) / len(MENU_ITEMS)
        index = MENU_ITEMS.index(item)
        self.desk.click(x + w // 2, int(y + 2 + step * index + step / 2))

    def capture_entire_screen(self):
        self.choose("CAPTURE SCREEN")
        self.wait_window(SHAPES)
        self.click_control(SHAPES, ID_FIRST_SHAPE + 1)
        self.click_control(SHAPES, ID_OK)
        self.wait_window(PREVIEW)

    def choose_exit_after_preview(self, tries=1):
        """Closes the preview, then ends the program from the tray. With
        tries, Exit is chosen again while the program stays: while the
        closed preview's export still runs, Exit sends it to the tray."""
        self.driver("close", PREVIEW)
        self.wait_gone(PREVIEW)
        for attempt in range(tries):
            self.choose("Exit")
            try:
                return self.wait_exit(20 if attempt == tries - 1 else 5)
            except AssertionError:
                if attempt == tries - 1:
                    raise

    # -- pixels ----------------------------------------------------------
    def assert_preview_shows(self, picture, width):
        """The visible part of the picture control equals the picture, pixel for pixel."""
        ix, iy, iw, ih = self.rect(PREVIEW, ID_IMAGE)
        bx, by, bw, bh = self.rect(PREVIEW, ID_SCROLLBOX, client=True)
        left, top = max(ix, bx), max(iy, by)
        right, bottom = min(ix + iw, bx + bw), min(iy + ih, by + bh)
        assert right - left > 100 and bottom - top > 100, "picture hardly visible"
        assert (left - bx, top - by) == (10, 10), "picture not at (10, 10) of its area"
        screen = self.desk.screenshot_rgb()
        sw = self.desk.width
        for y in range(top, bottom):
            got = screen[3 * (y * sw + left):3 * (y * sw + right)]
            py = y - iy
            want = picture[3 * (py * width + left - ix):3 * (py * width + right - ix)]
            if got != want:
                self.desk.save_screenshot("mismatch.png")
                raise AssertionError(f"preview row {py} differs from the screen that was captured")

    def assert_preview_matches(self, expected, width, height):
        """Every visible pixel of the picture for which expected(x, y) gives a
        colour has that colour; None skips a pixel."""
        ix, iy, iw, ih = self.rect(PREVIEW, ID_IMAGE)
        assert (iw, ih) == (width, height), f"picture control is {iw} x {ih}"
        bx, by, bw, bh = self.rect(PREVIEW, ID_SCROLLBOX, client=True)
        left, top = max(ix, bx), max(iy, by)
        right, bottom = min(ix + iw, bx + bw), min(iy + ih, by + bh)
        screen = self.desk.screenshot_rgb()
        sw = self.desk.width
        checked = 0
        for y in range(top, bottom):
            for x in range(left, right):
                want = expected(x - ix, y - iy)
                if want is None:
                    continue
                i = 3 * (y * sw + x)
                got = tuple(screen[i:i + 3])
                if got != tuple(want):
                    self.desk.save_screenshot("mismatch.png")
                    raise AssertionError(f"picture pixel ({x - ix}, {y - iy}) is {got}, expected {want}")
                checked += 1
        assert checked > 100, f"only {checked} pixels checked"

    # -- settings --------------------------------------------------------
    def stored(self):
        """The SETTINGS values as {name: (type, data)}."""
        out = self.desk.wine(["reg", "query", KEY + r"\SETTINGS"], check=False)
        values = {}
        for line in out.splitlines():
            m = re.match(r"\s+(\S+)\s+(REG_\w+)\s*(.*)$", line)
            if m:
                values[m.group(1)] = (m.group(2), m.group(3).strip())
        return values


