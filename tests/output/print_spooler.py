#!/usr/bin/env python3
"""Real print jobs through the program's print path into the private spooler
that scripts/test.sh starts (scripts/cups.sh): the job comes out as
PostScript, gs turns it into a PDF and pdftoppm renders it back at the
printer's 300 dpi.

Usage: print_spooler.py PRINT_TOOL_EXE   (under scripts/test.sh)
"""
import os
import subprocess
import sys
import tempfile
import time

QUARTERS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]  # clockwise from the top-left


def run(args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout


def jobs():
    """Every job the spooler knows, finished or not."""
    return [line for line in run(["lpstat", "-W", "all", "-o"]).splitlines() if line.strip()]


def print_extent(pixels):
    """The program's scale: the single-precision 4.4117646 (9252141 / 2^21), exact
    product, rounded half to even."""
    from fractions import Fraction
    return round(Fraction(9252141, 2 ** 21) * pixels)


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, size, _, pixels = data.split(b"\n", 3)
    assert magic == b"P6", magic
    width, height = map(int, size.split())
    return width, height, pixels


def completed():
    return len(run(["lpstat", "-W", "completed", "-o"]).splitlines())


def wait_for_completed(count, output, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        if completed() >= count and os.path.exists(output):
            return
        time.sleep(0.2)
    raise AssertionError(f"the job did not complete: {jobs()}")


def main():
    tool = sys.argv[1]
    output = os.environ.get("TAVRO_PRINT_OUTPUT")
    if not output or not os.environ.get("CUPS_SERVER"):
        sys.exit("no private spooler: run the tests through scripts/test.sh (make test)")
    if os.path.exists(output):
        os.remove(output)
    before, done_before = len(jobs()), completed()

    # A page whose drawing fails after the document started: the document is
    # aborted, nothing reaches the spooler.
    run(["wine", tool, "abort"])
    time.sleep(1)
    assert len(jobs()) == before, f"an aborted document left a job: {jobs()}"
    assert not os.path.exists(output), "an aborted document was printed"

    # One page, the picture at the top-left, PrintExtent(size) printer pixels.
    width, height = 200, 100
    run(["wine", tool, "print", str(width), str(height)])
    wait_for_completed(done_before + 1, output)
    assert len(jobs()) == before + 1, jobs()
    with tempfile.TemporaryDirectory() as tmp:
        pdf = os.path.join(tmp, "job.pdf")
        with open(output, "rb") as f:
            titles = [line for line in f.read().split(b"\n") if line.startswith(b"%%Title:")]
        assert titles and titles[0].strip() == b"%%Title:", f"document name is not empty: {titles[:1]}"
        # Lossless images in the PDF, so the colours survive.
        run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
             "-dAutoFilterColorImages=false", "-dColorImageFilter=/FlateEncode",
             "-dDownsampleColorImages=false", "-o", pdf, output])
        info = run(["pdfinfo", pdf])
        assert "Pages:           1" in info, info
        pw, ph = print_extent(width), print_extent(height)  # 882 x 441
        run(["pdftoppm", "-r", "300", "-x", "0", "-y", "0", "-W", str(pw + 100), "-H", str(ph + 100),
             pdf, os.path.join(tmp, "page")])
        rw, rh, pixels = read_ppm(os.path.join(tmp, "page-1.ppm"))
        xs, ys = set(), set()
        for y in range(rh):
            row = pixels[3 * y * rw:3 * (y + 1) * rw]
            for x in range(rw):
                if row[3 * x:3 * x + 3] != b"\xff\xff\xff":
                    xs.add(x)
                    ys.add(y)
        assert xs and min(xs) == 0 and min(ys) == 0, "the picture is not at the top-left"
        got_w, got_h = max(xs) + 1, max(ys) + 1
        assert pw <= got_w <= pw + 1 and ph <= got_h <= ph + 1, \
            f"printed {got_w} x {got_h}, expected {pw} x {ph} at 300 dpi"
        for colour, (fx, fy) in zip(QUARTERS, [(1, 1), (3, 1), (3, 3), (1, 3)]):
            x, y = pw * fx // 4, ph * fy // 4
            got = tuple(pixels[3 * (y * rw + x):3 * (y * rw + x) + 3])
            assert all(abs(a - b) <= 8 for a, b in zip(got, colour)), f"({x}, {y}) is {got}, expected {colour}"
    print(f"printed one page, {got_w} x {got_h} at the top-left; aborted document left nothing")


if __name__ == "__main__":
    main()
