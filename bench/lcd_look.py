#!/usr/bin/env python3
"""The LCD look's cost in the real program, against the plain face, in one run.

    bench/lcd_look.py [--build BUILD] [--idle SECONDS] [--play SECONDS]

On a private Xvfb (no window manager), windowed, "(no sound)" stored: a still
face (all segments, then the clock display) is left alone with the look off
and on, and its CPU time and wake-ups (context switches of every thread)
measured; then game A is played with Left, Right and Game A pressed twice a
second, with the look off and on, and the program's CPU time compared.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from startup import CASES, Bench, idle_figures, process_figures, window_of  # noqa: E402

PLAIN = CASES[2]  # windowed, (no sound)
LOOK = dict(PLAIN, args=PLAIN["args"] + ["--lcd-look"])


def play_cpu(bench, case, seconds):
    """CPU time (% of a core) of `seconds` of game A."""
    proc, _ = bench.start(case)
    env = dict(os.environ, DISPLAY=bench.display)
    subprocess.run(["xdotool", "windowfocus", "--sync", window_of(bench, proc.pid)], env=env)
    keys = lambda *k: subprocess.run(["xdotool", "key", "--delay", "120", *k], env=env)
    keys("1", "1")
    time.sleep(3)
    cpu0, _, _ = process_figures(proc.pid)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        keys("Left", "Right", "1")
        time.sleep(0.15)
    cpu1, _, _ = process_figures(proc.pid)
    bench.stop(proc)
    return (cpu1 - cpu0) * 100 / (seconds * 1000)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--idle", type=float, default=20, help="seconds of each idle measurement")
    parser.add_argument("--play", type=float, default=120, help="seconds of each played game")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="zarvik-bench.") as tmp:
        bench = Bench(args.build, tmp)
        bench.start_xvfb()
        try:
            print(f"idle over {args.idle:g} s: CPU (% of a core, and in all), wake-ups/s:")
            for name, press in [("all segments", None), ("clock display", "1")]:
                for look, case in [("plain", PLAIN), ("look", LOOK)]:
                    cpu, wakeups, _ = idle_figures(bench, case, args.idle, press)
                    print(f"  {name + ', ' + look:26} {cpu:6.2f} % ({cpu * args.idle * 10:5.1f} ms)  {wakeups:6.1f}/s")
            plain = play_cpu(bench, PLAIN, args.play)
            look = play_cpu(bench, LOOK, args.play)
            print(f"playing game A {args.play:g} s: plain {plain:.2f} % of a core, look {look:.2f} % "
                  f"(ratio {look / plain:.2f})")
        finally:
            bench.xvfb.terminate()
            bench.xvfb.wait()


if __name__ == "__main__":
    sys.exit(main())
