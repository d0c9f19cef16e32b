#!/usr/bin/env python3
"""Runs a Windows test program on a private X desktop (the end-to-end bench's
Desktop: its own Xvfb, tray host and Wine session), for tests whose windows
need a display. Usage: run_windowed.py --build BUILD PROGRAM [ARGS...]"""
import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop import Desktop  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("program")
    parser.add_argument("args", nargs=argparse.REMAINDER)
    a = parser.parse_args()
    with Desktop(a.build) as desk:
        # Output through a file: Wine's background processes would inherit a
        # pipe and keep it open.
        log = os.path.join(desk.tmp, "out.txt")
        with open(log, "w") as out:
            rc = subprocess.run(["wine", a.program] + a.args, env=desk.env, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=subprocess.STDOUT, timeout=240).returncode
        with open(log) as f:
            sys.stdout.write(f.read())
    return rc


if __name__ == "__main__":
    sys.exit(main())
