"""A private X desktop with a notification area and a Wine session on it.

Every test gets its own Xvfb (on a display number nobody uses), trayer as the
tray host, and a fresh wineserver for the end-to-end prefix, so Wine's desktop
process binds to this display. Only processes started here are ended.
"""
import os
import select
import shutil
import subprocess
import tempfile
import time


class Desktop:
    def __init__(self, build, width=1024, height=768, prefix=None, arch=None, dpi=96):
        self.build = os.path.abspath(build)
        # Each desktop lane of ctest (tests/CMakeLists.txt) names its own prefix.
        prefix = prefix or os.environ.get("TAVRO_DESKTOP_PREFIX", "wineprefix-e2e")
        self.width, self.height = width, height
        self.procs = []
        self.env = dict(os.environ)
        # One prefix per display scale (LogPixels), so no run has to change it.
        self.prefix = os.path.join(self.build, prefix + ("" if dpi == 96 else f"-{dpi}"))
        arch_file = os.path.join(self.build, "wine-arch")  # the size of prefix the build needs
        arch = arch or (open(arch_file).read().strip() if os.path.exists(arch_file) else "win32")
        self.env.update(WINEPREFIX=self.prefix, WINEARCH=arch, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", TAVRO_WINE_DPI=str(dpi))
        self.tmp = tempfile.mkdtemp(prefix="tavro-e2e-")

    # -- lifecycle -------------------------------------------------------
    def start(self):
        self._ensure_prefix()
        # Xvfb picks a free display itself and names it (-displayfd): two
        # desktops starting at once (ctest's lanes) never share one.
        r, w = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", f"{self.width}x{self.height}x24",
                     "-nolisten", "tcp", "-noreset"], pass_fds=(w,))
        os.close(w)
        with os.fdopen(r) as named:
            if not select.select([named], [], [], 10)[0]:
                raise RuntimeError("Xvfb named no display")
            self.env["DISPLAY"] = ":" + named.readline().strip()
        self._wait(lambda: self._quiet(["xdpyinfo"]) == 0, 10, "Xvfb")
        self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                     "--width", "96", "--heighttype", "pixel", "--height", "32",
                     "--SetDockType", "false", "--SetPartialStrut", "false",
                     "--transparent", "false", "--tint", "0x808080"])
        self._wait(lambda: self._quiet(["xdotool", "search", "--class", "trayer"]) == 0, 10, "trayer")
        # Start the Wine session now, with no pipes of ours: Wine's background
        # processes inherit the first client's output and would keep a
        # captured pipe open for ever. It also binds Wine's desktop to this display.
        subprocess.run(["wineserver", "-p"], env=self.env)
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
        for p in reversed(self.procs):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    # -- helpers ---------------------------------------------------------
    def _ensure_prefix(self):
        # Created, and its windows made unmanaged, by the same script as the
        # build's own prefix.
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                              "wine-prefix.sh")
        subprocess.run([script, self.build, self.prefix, self.env["WINEARCH"]], env=self.env, stdin=subprocess.DEVNULL,
                       check=True)
        # A wineserver left from before would keep its desktop on another display.
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def _spawn(self, args, **kw):
        for stream in ("stdin", "stdout", "stderr"):
            kw.setdefault(stream, subprocess.DEVNULL)
        p = subprocess.Popen(args, env=self.env, **kw)
        self.procs.append(p)
        return p

    def _quiet(self, args):
        return subprocess.run(args, env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode

    @staticmethod
    def _wait(cond, seconds, what):
        end = time.time() + seconds
        while time.time() < end:
            if cond():
                return
            time.sleep(0.1)
        raise AssertionError(f"timed out waiting for {what}")

    def run(self, args, check=True, timeout=60):
        r = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                           text=True, timeout=timeout)
        if check and r.returncode != 0:
            raise AssertionError(f"{args} failed ({r.returncode}): {r.stdout}{r.stderr}")
        return r.stdout

    def wine(self, args, **kw):
        return self.run(["wine"] + args, **kw)

    def spawn_wine(self, args, **kw):
        return self._spawn(["wine"] + args, **kw)

    def wait_mapped(self, rect, seconds=3):
        """Waits until the X server shows a window at rect (x, y, w, h), as
        Win32 places it: on a busy machine Win32 lists a new window before X
        maps it, and a click that comes before takes the window beneath.
        Where no X window has that place (a scaled desktop) it gives up
        quietly after seconds."""
        x, y, w, h = rect
        place = f" {w}x{h}+{x}+{y} "
        end = time.time() + seconds
        while time.time() < end:
            tree = self.run(["xwininfo", "-root", "-children"], check=False)
            for line in tree.splitlines():
                if place in line + " " and line.strip().startswith("0x"):
                    info = self.run(["xwininfo", "-id", line.split()[0]], check=False)
                    if "Map State: IsViewable" in info:
                        return True
            time.sleep(0.05)
        return False

    # -- input and screen ------------------------------------------------
    def click(self, x, y, button=1):
        self.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)])

    def drag(self, x1, y1, x2, y2, button=1, steps=8):
        self.run(["xdotool", "mousemove", str(x1), str(y1), "mousedown", str(button)])
        for i in range(1, steps + 1):
            x = x1 + (x2 - x1) * i // steps
            y = y1 + (y2 - y1) * i // steps
            self.run(["xdotool", "mousemove", str(x), str(y)])
        self.run(["xdotool", "mouseup", str(button)])

    def key(self, *keys):
        self.run(["xdotool", "key"] + list(keys))

    def pointer(self):
        out = self.run(["xdotool", "getmouselocation", "--shell"])
        where = dict(line.split("=", 1) for line in out.split())
        return int(where["X"]), int(where["Y"])

    def screenshot_rgb(self):
        """The X screen as raw 8-bit RGB bytes, without a tooltip: the pointer
        waits in the bottom-right corner meanwhile (tooltips hide once it
        leaves their tool), then goes back."""
        path = os.path.join(self.tmp, "screen.rgb")
        x, y = self.pointer()
        self.run(["xdotool", "mousemove", str(self.width - 1), str(self.height - 1)])
        time.sleep(0.3)
        self.run(["import", "-window", "root", "-depth", "8", f"rgb:{path}"])
        self.run(["xdotool", "mousemove", str(x), str(y)])
        with open(path, "rb") as f:
            return f.read()

    def save_screenshot(self, name):
        folder = os.path.join(self.build, "e2e-shots")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        self.run(["import", "-window", "root", path], check=False)
        return path

    def show_on_root(self, rgb, width, height):
        """Shows a raw RGB picture as the X screen's background."""
        raw = os.path.join(self.tmp, "root.rgb")
        png = os.path.join(self.tmp, "root.png")
        with open(raw, "wb") as f:
            f.write(rgb)
        self.run(["convert", "-size", f"{width}x{height}", "-depth", "8", f"rgb:{raw}", png])
        # display sets the background and exits, with a non-zero status at times.
        self.run(["display", "-window", "root", png], check=False)
