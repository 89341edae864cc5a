#!/usr/bin/env python3
"""Start-up, idle and memory benchmark of zarvik against a bare Qt window.

    bench/startup.py [--build BUILD] [--rounds N] [--idle SECONDS] [--play SECONDS]

Runs on a private Xvfb (no window manager). First it records the settled
face (a screenshot of the windowed face) and hands that very picture to
bench_bare_window. Then, in interleaved rounds, it times exec to the first
complete frame of each case: the program logs the monotonic time at which a
window's first frame has been painted and flushed (zarvik.startup logging);
the time of exec is taken just before the process is started. Last, one run
per case is left alone to measure resident memory, CPU time and wake-ups
(context switches of all threads) while idle, and with the clock shown; then
a game is played for a while (ten minutes by default) to see that resident
memory stays flat.
Medians and paired ratios (case / bare window of the same round) are printed.
"""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

LOGGING = "zarvik.startup.info=true"


def now_us():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC) // 1000


class Bench:
    def __init__(self, build, tmp):
        self.build = os.path.abspath(build)
        self.tmp = tmp
        self.display = None
        self.xvfb = None

    def start_xvfb(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=[w], stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            self.display = ":" + f.readline().strip()

    def env(self, sound_env):
        env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb",
                   QT_LOGGING_RULES=LOGGING, XDG_RUNTIME_DIR=os.path.join(self.tmp, "run"))
        env.pop("SDL_AUDIODRIVER", None)
        env.update(sound_env)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        return env

    def settings(self, values):
        folder = os.path.join(self.tmp, "settings")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, "Quendrel"))
        with open(os.path.join(folder, "Quendrel", "Zarvik50.conf"), "w") as f:
            f.write("[General]\n" + "".join(f"{k}={v}\n" for k, v in values.items()))
        return folder

    def start(self, case):
        """Starts a case; returns (process, microseconds to its first frame)."""
        if case["program"] == "bare":
            argv = [os.path.join(self.build, "bench_bare_window"), self.picture] + case["args"]
        else:
            argv = ["./zarvik", "--settings-dir", self.settings(case["settings"])] + case["args"]
        env = self.env(case.get("env", {}))
        started = now_us()
        proc = subprocess.Popen(argv, cwd=self.build, env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, text=True)
        marker = f"first frame {case['window']} at "
        for line in proc.stderr:
            if marker in line:
                return proc, int(line.split(marker)[1].split()[0]) - started
        raise RuntimeError(f"{case['name']}: no first frame logged")

    @staticmethod
    def stop(proc):
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        proc.stderr.close()


def process_figures(pid):
    """CPU time (ms), context switches by thread id, resident memory (kB).
    CPU time is the scheduler's run time of every thread (nanoseconds, where
    /proc/PID/stat counts 10 ms ticks); a thread that ended meanwhile is not
    counted."""
    cpu_ns = 0
    switches = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                cpu_ns += int(f.read().split()[0])
            with open(f"/proc/{pid}/task/{task}/status") as f:
                switches[task] = sum(int(line.split()[1]) for line in f if line.startswith(
                    ("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")))
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    cpu_ms = cpu_ns / 1e6
    with open(f"/proc/{pid}/status") as f:
        rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS"))
    return cpu_ms, switches, rss


def window_of(bench, pid):
    """The shown window of a process (xdotool also lists the root window)."""
    env = dict(os.environ, DISPLAY=bench.display)
    for window in subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid),
                                  "--name", ""], env=env, capture_output=True, text=True).stdout.split():
        info = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True, text=True)
        if "(the root window)" not in info.stdout:
            return window
    raise RuntimeError(f"process {pid} shows no window")


# A returning player's store also holds the keys, which every start writes back.
KEYS = dict(Key1=2, Key2=3, Key3=4, Key4=39, Key5=40)

CASES = [
    dict(name="bare window", program="bare", window="QWidget", args=[]),
    dict(name="windowed, stored driver 0", program="zarvik", window="TForm1", args=["--windowed"],
         settings=dict(SoundMode=0, SplashScreen=0, FullscreenMode=0, **KEYS)),
    dict(name="windowed, (no sound)", program="zarvik", window="TForm1", args=["--windowed"],
         settings=dict(SoundMode=2, SplashScreen=0, FullscreenMode=0, **KEYS)),
    dict(name="bare window, fullscreen", program="bare", window="QWidget", args=["--fullscreen"]),
    dict(name="fullscreen, (no sound)", program="zarvik", window="TForm1", args=["--fullscreen"],
         settings=dict(SoundMode=2, SplashScreen=0, FullscreenMode=1, **KEYS)),
    dict(name="splash (first start)", program="zarvik", window="TSplashForm", args=["--windowed"],
         settings=dict(FullscreenMode=0)),
]


def record_settled_face(bench):
    case = CASES[2]
    proc, _ = bench.start(case)
    time.sleep(1.5)
    bench.picture = os.path.join(bench.tmp, "face.png")
    subprocess.run(["import", "-window", window_of(bench, proc.pid), bench.picture],
                   env=dict(os.environ, DISPLAY=bench.display), check=True)
    bench.stop(proc)
    size = subprocess.run(["identify", "-format", "%wx%h", bench.picture], capture_output=True,
                          text=True).stdout
    print(f"settled face recorded: {size}")


def idle_figures(bench, case, seconds, press=None):
    proc, _ = bench.start(case)
    time.sleep(5)  # past start-up, and past the sound device's rest
    if press:
        env = dict(os.environ, DISPLAY=bench.display)
        subprocess.run(["xdotool", "windowfocus", "--sync", window_of(bench, proc.pid), "key", press],
                       env=env)
        time.sleep(4)  # the key's own sound ends and the device may rest
    cpu0, sw0, _ = process_figures(proc.pid)
    time.sleep(seconds)
    cpu1, sw1, rss = process_figures(proc.pid)
    bench.stop(proc)
    wakeups = sum(n - sw0.get(task, 0) for task, n in sw1.items())
    return (cpu1 - cpu0) * 100 / (seconds * 1000), wakeups / seconds, rss / 1024


def play_figures(bench, seconds):
    """Plays game A in the real event loop: Left, Right and Game A (which
    starts the next game after a game over) twice a second. Returns resident
    memory (MB) after the first game started, its highest and its last value,
    and the CPU used (% of a core)."""
    proc, _ = bench.start(CASES[1])
    env = dict(os.environ, DISPLAY=bench.display)
    subprocess.run(["xdotool", "windowfocus", "--sync", window_of(bench, proc.pid)], env=env)
    keys = lambda *k: subprocess.run(["xdotool", "key", "--delay", "120", *k], env=env)
    keys("1", "1")
    time.sleep(3)
    cpu0, _, first = process_figures(proc.pid)
    highest = first
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        keys("Left", "Right", "1")
        time.sleep(0.15)
        highest = max(highest, process_figures(proc.pid)[2])
    cpu1, _, last = process_figures(proc.pid)
    bench.stop(proc)
    return first / 1024, highest / 1024, last / 1024, (cpu1 - cpu0) * 100 / (seconds * 1000)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--rounds", type=int, default=15)
    parser.add_argument("--idle", type=float, default=10, help="seconds of each idle measurement")
    parser.add_argument("--play", type=float, default=600, help="seconds of play (0: none)")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="zarvik-bench.") as tmp:
        bench = Bench(args.build, tmp)
        bench.start_xvfb()
        try:
            record_settled_face(bench)
            times = {c["name"]: [] for c in CASES}
            for _ in range(args.rounds):
                for case in CASES:
                    proc, us = bench.start(case)
                    bench.stop(proc)
                    times[case["name"]].append(us / 1000)

            print(f"exec to first complete frame, {args.rounds} interleaved rounds (ms):")
            print(f"{'case':34} {'median':>8} {'min':>8}  paired ratio to the bare window (median)")
            for case in CASES:
                t = times[case["name"]]
                bare = times["bare window, fullscreen" if "fullscreen" in case["name"] else "bare window"]
                ratio = statistics.median(a / b for a, b in zip(t, bare))
                print(f"{case['name']:34} {statistics.median(t):8.1f} {min(t):8.1f}  {ratio:.2f}")

            print(f"\nidle over {args.idle:g} s: CPU (% of a core, and in all), wake-ups/s, resident memory (MB):")
            blinking = dict(CASES[0], args=["--blink"])
            for name, case, press in [("bare window", CASES[0], None),
                                      ("bare window, blinking at 2 Hz", blinking, None),
                                      ("all segments, stored driver 0", CASES[1], None),
                                      ("all segments, (no sound)", CASES[2], None),
                                      ("clock display, stored driver 0", CASES[1], "1")]:
                cpu, wakeups, rss = idle_figures(bench, case, args.idle, press)
                print(f"{name:34} {cpu:6.2f} % ({cpu * args.idle * 10:5.1f} ms)  {wakeups:6.1f}/s  {rss:6.1f} MB")

            if args.play > 0:
                first, highest, last, cpu = play_figures(bench, args.play)
                print(f"\nplaying {args.play:g} s, stored driver 0: resident memory {first:.1f} MB "
                      f"after the first game started, at most {highest:.1f} MB, {last:.1f} MB at "
                      f"the end; CPU {cpu:.2f} % of a core")
        finally:
            bench.xvfb.terminate()
            bench.xvfb.wait()


if __name__ == "__main__":
    sys.exit(main())
