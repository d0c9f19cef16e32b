#!/usr/bin/env python3
"""The soak benchmark (make bench-soak), in two parts on a private X desktop.

1. soak_bench.exe: ROUNDS rounds of capture, rotate, mirror, date stamp, copy
   and the four saves through the command functions, in one process. At each
   of its report lines (every 100 rounds) the Wine process is sampled as Linux
   sees it: VmRSS and VmData from /proc/<pid>/status and the count of
   /proc/<pid>/fd, beside the program's own GDI object count and the Windows
   figures (which read 0 under Wine).
2. The real tavro.exe driven end to end: E2E rounds of capture with the shapes
   in turn, rotate, mirror, date stamp, copy, a save of each type through the
   save dialog and the preview closed, sampled every 10 rounds; no error box
   may appear.

Each part ends by saying whether every figure stayed within 1% of its value at
the first sample after the warm-up (round 100, round 10), and every file kept
is decoded by ImageMagick's identify.

With --peak (make bench-peak) it measures instead the peak memory of the real
tavro.exe on a 3840 x 2160 screen: VmHWM of the Wine process when idle, after
an Entire Screen capture, a quarter turn and a PNG save, in frames of 32-bit
pixels above the idle peak.

Usage: soak.py --build BUILD --driver DRIVER [--rounds 1000] [--e2e-rounds 50] [--peak]
"""
import argparse
import contextlib
import os
import re
import shutil
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "e2e"))
from desktop import Desktop  # noqa: E402
from tavro_e2e_base import (ID_FIRST_SHAPE, ID_OK, PREVIEW, SHAPES, Tavro,  # noqa: E402
                             known_picture)

PREFIX = "wineprefix-soak"  # its own: a desktop ends the Wine session of its prefix
REPORT = re.compile(r"round\s+(\d+)\s+gdi\s+(-?\d+)\s+user\s+(\d+)\s+handles\s+(\d+)\s+private\s+([\d.]+) MB")
BENCH_FIGURES = ("gdi", "user", "handles", "private MB")
LINUX_FIGURES = ("VmRSS kB", "VmData kB", "fds")
TOLERANCE = 0.01

ID_SAVE, ID_COPY, ID_ROTATE, ID_MIRROR, ID_DATESTAMP = 1002, 1005, 1016, 1018, 1021
SAVE_DIALOG = "Save Screen Capture as a File"
ID_FILE_NAME, ID_FILE_TYPE = 1148, 1136
TYPES = ("jpg", "bmp", "gif", "png")  # the dialog's type list, in order
ENTIRE_SCREEN = 1  # the shape dialog's second button
ERROR_BOX = "#32770"


# -- the Wine process as Linux sees it -------------------------------------
def linux_pid(prefix, image, seconds=30):
    """The Linux process that runs IMAGE (a Windows program) in this prefix."""
    end = time.time() + seconds
    while time.time() < end:
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/comm") as f:
                    if f.read().strip() != image:
                        continue
                with open(f"/proc/{entry}/environ", "rb") as f:
                    if f"WINEPREFIX={prefix}".encode() in f.read().split(b"\0"):
                        return int(entry)
            except OSError:
                continue
        time.sleep(0.1)
    raise AssertionError(f"no Linux process runs {image} in {prefix}")


def linux_figures(pid):
    status = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            status[key] = value.split()
    return {"VmRSS kB": int(status["VmRSS"][0]), "VmData kB": int(status["VmData"][0]),
            "fds": len(os.listdir(f"/proc/{pid}/fd"))}


# -- the report ------------------------------------------------------------
def print_row(row, names):
    print(f"{row['round']:>6}  " + "  ".join(f"{row[n]:>11}" for n in names), flush=True)


def flatness(rows, names, base_round):
    """Lines saying, per figure, whether it stayed within 1% of its value at base_round."""
    base = next((r for r in rows if r["round"] == base_round), None)
    if base is None:
        return [f"no sample at round {base_round}: the run was too short to judge"], False
    lines, flat = [], True
    for name in names:
        later = [r[name] for r in rows if r["round"] >= base_round]
        low, high = min(later), max(later)
        ok = all(abs(v - base[name]) <= TOLERANCE * abs(base[name]) for v in later)
        flat &= ok
        lines.append(f"  {name:<11} at {base_round}: {base[name]:<10} after: {low} .. {high}, last {later[-1]}  "
                     + ("within 1%" if ok else "NOT within 1%"))
    return lines, flat


def undecodable(folder):
    """(files, names of those identify cannot read as the type their name says)."""
    bad = []
    names = sorted(os.listdir(folder))
    for name in names:
        r = subprocess.run(["identify", "-format", "%m\\n", os.path.join(folder, name)], capture_output=True,
                           text=True)
        kind = {"jpg": "JPEG"}.get(name.rsplit(".", 1)[-1], name.rsplit(".", 1)[-1].upper())
        if r.returncode != 0 or not r.stdout.startswith(kind):
            bad.append(name)
    return len(names), bad


def conclude(title, rows, names, base_round, folder):
    lines, flat = flatness(rows, names, base_round)
    count, bad = undecodable(folder)
    print(f"\n{title}: figures after round {base_round} against their value there")
    print("\n".join(lines))
    print(f"  {count} files kept, " + (f"{len(bad)} do NOT decode: {bad[:5]}" if bad else "every one decodes"))
    return flat, not bad and count > 0


# -- part 1: the command functions in one process --------------------------
def in_process(build, rounds):
    folder = os.path.join(build, "soak")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    exe = os.path.join(build, "tests", "bench", "soak_bench.exe")
    names = BENCH_FIGURES + LINUX_FIGURES
    rows = []
    with Desktop(build, prefix=PREFIX) as desk:
        proc = subprocess.Popen(["wine", exe, "Z:" + folder.replace("/", "\\") + "\\", str(rounds), "wait"],
                                env=desk.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            pid = linux_pid(desk.prefix, "soak_bench.exe")
            print(f"\nin one process, {rounds} rounds at 1920 x 1080 (Windows figures read 0 under Wine)")
            print(f"{'round':>6}  " + "  ".join(f"{n:>11}" for n in names), flush=True)
            for line in proc.stdout:
                m = REPORT.search(line)
                if not m:
                    print(line.rstrip(), flush=True)
                    continue
                row = dict(zip(("round",) + BENCH_FIGURES,
                               [int(v) for v in m.groups()[:4]] + [float(m.group(5))]))
                row.update(linux_figures(pid))
                proc.stdin.write("\n")  # the next rounds may start
                proc.stdin.flush()
                rows.append(row)
                print_row(row, names)
            code = proc.wait()
        finally:
            if proc.poll() is None:
                proc.kill()
    if code != 0:
        raise AssertionError(f"soak_bench.exe ended with {code}")
    return conclude("in one process", rows, names, 100, folder)


# -- part 2: the real program ----------------------------------------------
def no_error_box(t, when):
    boxes = [w for w in t.windows() if w[0] == ERROR_BOX]
    if boxes:
        t.desk.save_screenshot("soak-error.png")
        raise AssertionError(f"{when}: a message box appeared: {boxes}")


def capture(t, shape, step):
    """CAPTURE SCREEN with the given shape; a drag that moves a little each step."""
    t.choose("CAPTURE SCREEN")
    t.wait_window(SHAPES)
    t.click_control(SHAPES, ID_FIRST_SHAPE + shape)
    t.click_control(SHAPES, ID_OK)
    if shape != ENTIRE_SCREEN:
        t.wait_until(lambda: any(w[0] == "TImageForm" for w in t.windows()), 10, "the overlay")
        time.sleep(0.3)
        d = 2 * step
        t.desk.drag(100 + d, 120 + d, 700 - d, 560 - d, 1 if step % 2 else 3)
    t.wait_window(PREVIEW)


def save(t, folder, name, kind):
    t.driver("command", PREVIEW, ID_SAVE)
    t.wait_window(SAVE_DIALOG)
    t.driver("select", SAVE_DIALOG, ID_FILE_TYPE, TYPES.index(kind))
    t.driver("settext", SAVE_DIALOG, ID_FILE_NAME, "Z:" + os.path.join(folder, name).replace("/", "\\"))
    t.click_control(SAVE_DIALOG, ID_OK)
    t.wait_gone(SAVE_DIALOG)
    path = os.path.join(folder, f"{name}.{kind}")
    t.wait_until(lambda: os.path.exists(path) and t.driver("enabled", PREVIEW, ID_SAVE).strip() == "1", 30,
                 f"{name}.{kind} written")


def one_round(t, folder, round_):
    # Every block of 10 rounds is the same, so each sample follows the same kind
    # of round (the clipboard holds the last copy).
    capture(t, round_ % 10 % 6, round_ % 10)
    for command in (ID_ROTATE, ID_MIRROR, ID_DATESTAMP, ID_COPY):
        t.driver("command", PREVIEW, command)
    for kind in TYPES:
        save(t, folder, f"round{round_:03}", kind)
    no_error_box(t, f"round {round_}")
    t.driver("close", PREVIEW)
    t.wait_gone(PREVIEW)
    no_error_box(t, f"round {round_}, preview closed")


@contextlib.contextmanager
def running_tavro(build, driver, width=None, height=None, shot="soak.png"):
    """The real tavro.exe on a private desktop showing a known picture: yields
    it, the folder for saved files and its Linux process id; a failure
    leaves the windows and a screenshot in the report."""
    size = dict(width=width, height=height) if width else {}
    with Desktop(build, prefix=PREFIX, **size) as desk:
        folder = os.path.join(desk.tmp, "saved")
        os.makedirs(folder)
        desk.show_on_root(known_picture(desk.width, desk.height, 7), desk.width, desk.height)
        t = Tavro(desk, build, driver)
        t.start(DateStampImage=("REG_SZ", 0))
        try:
            yield t, folder, linux_pid(desk.prefix, "tavro.exe")
        except BaseException:
            print("windows:", t.windows(), file=sys.stderr)
            print("screenshot:", desk.save_screenshot(shot), file=sys.stderr)
            raise
        finally:
            if t.running():
                t.proc.kill()


def end_to_end(build, driver, rounds):
    names = LINUX_FIGURES
    rows = []
    with running_tavro(build, driver) as (t, folder, pid):
        print(f"\nthe real tavro.exe, {rounds} rounds at {t.desk.width} x {t.desk.height}")
        print(f"{'round':>6}  " + "  ".join(f"{n:>11}" for n in names), flush=True)
        for round_ in range(rounds + 1):
            if round_ % 10 == 0:
                rows.append(dict(round=round_, **linux_figures(pid)))
                print_row(rows[-1], names)
            if round_ < rounds:
                one_round(t, folder, round_)
        assert t.running(), "tavro.exe ended"
        return conclude("the real tavro.exe", rows, names, 10, folder)


def peak_memory(build, driver, width=3840, height=2160, goal=4.0):
    frame_kb = width * height * 4 / 1024
    with running_tavro(build, driver, width, height, "peak.png") as (t, folder, pid):
        time.sleep(1)

        def hwm():
            with open(f"/proc/{pid}/status") as f:
                return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))
        idle = hwm()
        print(f"\npeak memory of the real tavro.exe at {width} x {height} (a frame is {frame_kb / 1024:.1f} MB)")
        print(f"{'idle':<28} VmHWM {idle / 1024:8.1f} MB")
        capture(t, ENTIRE_SCREEN, 0)
        steps = [("Entire Screen capture", hwm())]
        t.driver("command", PREVIEW, ID_ROTATE)
        t.wait_until(lambda: t.status(1).startswith(f" {height} x {width} "), 30, "the turned picture")
        steps.append(("quarter turn", hwm()))
        save(t, folder, "peak", "png")
        steps.append(("PNG save", hwm()))
        no_error_box(t, "the peak run")
        for name, kb in steps:
            print(f"{name:<28} VmHWM {kb / 1024:8.1f} MB  {(kb - idle) / frame_kb:5.2f} frames above idle")
        frames = (steps[-1][1] - idle) / frame_kb
        print(f"peak: {frames:.2f} frames above idle (goal <= {goal:.0f}) {'ok' if frames <= goal else 'over'}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--driver", required=True)
    ap.add_argument("--rounds", type=int, default=1000)
    ap.add_argument("--e2e-rounds", type=int, default=50)
    ap.add_argument("--peak", action="store_true")
    a = ap.parse_args()
    build, driver = os.path.abspath(a.build), os.path.abspath(a.driver)
    if a.peak:
        peak_memory(build, driver)
        return 0
    verdicts = []
    if a.rounds > 0:
        verdicts.append(("in one process",) + in_process(build, a.rounds))
    if a.e2e_rounds > 0:
        verdicts.append(("the real tavro.exe",) + end_to_end(build, driver, a.e2e_rounds))
    print()
    for part, flat, decodes in verdicts:
        print(f"{part}: figures {'flat' if flat else 'NOT flat'} after the warm-up; "
              f"files {'all decode' if decodes else 'NOT all decode'}")
    # A figure that moves is the report's news; a file that does not decode is a fault.
    return 0 if all(decodes for _, _, decodes in verdicts) else 1


if __name__ == "__main__":
    sys.exit(main())
