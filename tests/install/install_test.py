#!/usr/bin/env python3
"""install_test.py BUILD DRIVER VERSION_PROBE SETUP_EXE VERSION: the installer in a fresh 64-bit prefix."""
import collections, os, re, shutil, struct, subprocess, sys
from subprocess import DEVNULL
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop import Desktop  # noqa: E402
from tavro_e2e_base import Tavro  # noqa: E402

UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavro"
RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def values(desk, key):
    out = desk.wine(["reg", "query", key], check=False)
    return dict(m.group(1, 2) for m in re.finditer(r"^\s+(\S+)\s+REG_\w+\s*(.*?)\s*$", out, re.M))


def main(a):
    shutil.rmtree(os.path.join(a.build, "wineprefix-install"), ignore_errors=True)
    with Desktop(a.build, prefix="wineprefix-install", arch="win64") as desk:
        data = os.path.join(desk.prefix, "drive_c", "users", os.environ.get("USER", "root"), "AppData")
        folder, exe = os.path.join(data, "Local", "Programs", "Tavro"), os.path.join(data, "Local", "Programs", "Tavro", "tavro.exe")
        shortcut = os.path.join(data, "Roaming", "Microsoft", "Windows", "Start Menu", "Programs", "Tavro Screen Capture.lnk")
        desk.wine([a.setup, "/S"])
        assert sorted(os.listdir(folder)) == ["readme.txt", "tavro.chm", "tavro.exe", "uninstall.exe"]
        pe = open(exe, "rb").read(4096)  # 64-bit Windows gets the x86_64 program
        assert struct.unpack_from("<H", pe, struct.unpack_from("<I", pe, 0x3C)[0] + 4)[0] == 0x8664 and os.path.isfile(shortcut)
        reg, win_exe = values(desk, UNINSTALL), values(desk, RUN)["Tavro"].strip('"')
        assert win_exe.lower().endswith(r"\appdata\local\programs\tavro\tavro.exe"), win_exe
        assert reg["DisplayName"] == "Tavro Screen Capture" and reg["DisplayVersion"] == a.version, reg
        assert reg["QuietUninstallString"] == f'"{win_exe[:-9]}uninstall.exe" /S', reg
        assert reg["NoModify"] == reg["NoRepair"] == "0x1" and int(reg["EstimatedSize"], 16) > 100, reg
        assert desk.wine([a.probe, win_exe]).splitlines()[:5] == [
            a.version + ".0", a.version, a.version, "Tavro Screen Capture", reg["Publisher"]]

        # Upgrade over a running copy with the preview open: it ends as Exit
        # does, so the shape chosen in this run is written, and runs again.
        t = Tavro(desk, a.build, a.driver).start(exe=exe)
        t.capture_entire_screen()
        quiet = dict(env=desk.env, stdin=DEVNULL, stdout=DEVNULL, stderr=DEVNULL)  # the restarted copy keeps pipes
        subprocess.run(["wine", a.setup, "/S"], timeout=120, check=True, **quiet)
        t.wait_exit(5)
        assert t.stored()["CaptureShapeIndex"] == ("REG_DWORD", "0x1"), t.stored()
        t.wait_until(lambda: t.driver("exists", "TavroTrayIconWindow").strip() == "1", 20, "the restarted copy")

        # A new session starts it from the Run value; /NORUN ends that copy and the value.
        desk.run(["wineserver", "-k"])
        for session in (["wineserver", "-p"], ["wineboot"]):  # no pipes: Wine's services keep them
            subprocess.run(session, env=desk.env, stdin=DEVNULL, stdout=DEVNULL, stderr=DEVNULL)
        t.wait_until(lambda: t.driver("exists", "TavroTrayIconWindow").strip() == "1", 30, "the start at sign-in")
        desk.wine([a.setup, "/S", "/NORUN"])
        assert "Tavro" not in values(desk, RUN) and t.driver("exists", "TavroTrayIconWindow").strip() == "0"

        # The silent removal ends a running copy, leaves nothing but the settings.
        t.start(fresh_settings=False, exe=exe)
        desk.wine([os.path.join(folder, "uninstall.exe"), "/S"])
        t.wait_until(lambda: not os.path.exists(folder), 30, "the folder to go")
        assert not t.running() and not os.path.exists(shortcut)
        assert values(desk, UNINSTALL) == {} and "Tavro" not in values(desk, RUN)
        assert t.stored()["CaptureShapeIndex"] == ("REG_DWORD", "0x1"), "the settings were removed"

        # A folder of the user's that holds files gets a Tavro folder inside it;
        # the removal leaves the user's files alone.
        mine = os.path.join(desk.prefix, "drive_c", "Mine")
        os.makedirs(mine, exist_ok=True)
        for name in ("readme.txt", "uninstall.exe"):
            open(os.path.join(mine, name), "w").write("mine")
        desk.wine([a.setup, "/S", "/NORUN", r"/D=C:\Mine"])
        assert sorted(os.listdir(mine)) == ["Tavro", "readme.txt", "uninstall.exe"], os.listdir(mine)
        assert os.path.isfile(os.path.join(mine, "Tavro", "tavro.exe"))
        desk.wine([os.path.join(mine, "Tavro", "uninstall.exe"), "/S"])
        t.wait_until(lambda: not os.path.exists(os.path.join(mine, "Tavro")), 30, "the Tavro folder to go")
        assert [open(os.path.join(mine, n)).read() for n in ("readme.txt", "uninstall.exe")] == ["mine", "mine"]


if __name__ == "__main__":
    main(collections.namedtuple("Args", "build driver probe setup version")(*sys.argv[1:]))
