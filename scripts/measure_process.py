#!/usr/bin/env python3
"""Whole-process figures of the game: start to first painted window (offscreen and under Xvfb),
peak resident memory, CPU while idle, and CPU per spin-drag mouse move under Xvfb.
Usage: measure_process.py <path to korvane>"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

GAME = sys.argv[1]
DISPLAY = ":77"


def environment(extra):
    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = tempfile.mkdtemp(prefix="korvane-measure-")
    env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="korvane-runtime-")
    env.update(extra)
    return env


def first_paint(extra, runs):
    """Median seconds from exec to the first painted window, and the peak RSS in MiB."""
    times = []
    peak = 0
    for _ in range(runs):
        env = environment({"KORVANE_EXIT_AFTER_FIRST_PAINT": "1", **extra})
        start = time.perf_counter()
        game = subprocess.Popen([GAME], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        line = game.stdout.readline()  # written right after the first paint
        times.append(time.perf_counter() - start)
        assert line.strip() == "first paint", line
        game.wait(timeout=60)
        peak = max(peak, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
    return statistics.median(times), peak / 1024.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def xdotool(*args):
    return subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": DISPLAY},
                          capture_output=True, text=True).stdout.strip()


def running_game():
    game = subprocess.Popen([GAME], env=environment({"DISPLAY": DISPLAY}),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        window = xdotool("search", "--onlyvisible", "--pid", str(game.pid), "--name", "^Korvane$")
        if window:
            return game, window.split()[0]
        time.sleep(0.1)
    raise RuntimeError("the game's window did not appear")


def idle_and_spin():
    game, window = running_game()
    time.sleep(2.0)
    before = cpu_seconds(game.pid)
    time.sleep(10.0)
    idle = cpu_seconds(game.pid) - before
    geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell",
                                                       window).splitlines())
    x = int(geometry["X"]) + 20
    y = int(geometry["Y"]) + int(geometry["HEIGHT"]) - 30  # below the puzzle: a spin
    moves = 400
    xdotool("mousemove", str(x), str(y), "mousedown", "1")
    time.sleep(0.3)
    before = cpu_seconds(game.pid)
    for i in range(moves):
        xdotool("mousemove", str(x + (i % 2)), str(y), "sleep", "0.02")
    time.sleep(0.3)
    spent = cpu_seconds(game.pid) - before
    xdotool("mouseup", "1")
    game.terminate()
    game.wait()
    # 0.6 s of the window were idle waits around the moves
    return idle / 10.0, spent / moves


def main():
    offscreen, rss_offscreen = first_paint({"QT_QPA_PLATFORM": "offscreen"}, 20)
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1280x1024x24"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.0)
        on_x, rss_x = first_paint({"DISPLAY": DISPLAY, "QT_QPA_PLATFORM": "xcb"}, 20)
        idle, per_move = idle_and_spin()
    finally:
        xvfb.terminate()
        xvfb.wait()
    print("| Figure | Measured | Target |")
    print("|---|---|---|")
    print(f"| start to first paint, offscreen (median of 20) | {offscreen * 1000:.0f} ms | - |")
    print(f"| start to first painted window, Xvfb (median of 20) | {on_x * 1000:.0f} ms | 200 ms |")
    print(f"| peak resident memory, offscreen / Xvfb | {rss_offscreen:.0f} / {rss_x:.0f} MiB | 60 MiB |")
    print(f"| CPU while idle, Xvfb | {idle * 100:.2f} % of a core | none |")
    print(f"| CPU per spin-drag mouse move, Xvfb, default window | {per_move * 1000:.2f} ms | 0.3 ms |")


if __name__ == "__main__":
    main()
