#!/usr/bin/env python3
"""Whole-process figures of the game: start to first painted window (offscreen and under Xvfb),
peak resident memory, CPU while idle, and CPU per spin-drag mouse move under Xvfb: each move goes
one whole logical pixel and the game's paint count confirms that every one was redrawn.
Usage: measure_process.py <path to korvane> [--spin-only | --callgrind <profile file> |
                                             --perf <perf data file>]"""
import math
import os
import resource
import signal
import statistics
import subprocess
import sys
import tempfile
import time

GAME = sys.argv[1]
DISPLAY = None  # set once our own X server runs
PICTURE_WIDTH = 240  # logical pixels


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
    """CPU time of every thread of a process, to the nanosecond (the scheduler's own count)."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total / 1e9


def xdotool(*args):
    return subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": DISPLAY},
                          capture_output=True, text=True).stdout.strip()


def running_game(wrapper=()):
    game = subprocess.Popen([*wrapper, GAME], env=environment({"DISPLAY": DISPLAY, "QT_QPA_PLATFORM": "xcb",
                                                     "KORVANE_COUNT_PAINTS": "1"}),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    for _ in range(600):
        window = xdotool("search", "--onlyvisible", "--pid", str(game.pid), "--name", "^Korvane$")
        if window:
            return game, window.split()[0]
        time.sleep(0.1)
    raise RuntimeError("the game's window did not appear")


def paints_reported(game, when):
    line = game.stdout.readline().strip()  # "paints at press: N"
    assert line.startswith(f"paints at {when}:"), line
    return int(line.rsplit(":", 1)[1])


def idle_and_spin(xvfb, idle_seconds=10.0, profile=None, samples=None):
    """CPU while idle, then the CPU per redrawing spin move of the game and of the X server.
    With a profile file name the game runs under callgrind, which counts the instructions of
    the moves alone: a figure that does not depend on what else the machine is doing. With a
    samples file name, perf samples the game during the moves, with call graphs unwound from
    the stack so that they go through Qt (the CPU figure then includes perf's own cost)."""
    wrapper = ("valgrind", "--tool=callgrind", "--instr-atstart=no",
               f"--callgrind-out-file={profile}") if profile else ()
    game, window = running_game(wrapper)
    time.sleep(2.0)
    before = cpu_seconds(game.pid)
    time.sleep(idle_seconds)
    idle = (cpu_seconds(game.pid) - before) / max(idle_seconds, 1.0)
    geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell",
                                                       window).splitlines())
    # The picture fills the default window's width: a logical pixel is this many window
    # pixels, and each move goes a whole one so that the game has something new to draw.
    step = math.ceil(int(geometry["WIDTH"]) / PICTURE_WIDTH)
    x = int(geometry["X"]) + 20
    y = int(geometry["Y"]) + int(geometry["HEIGHT"]) - 30  # below the puzzle: a spin
    moves, pause = (60, 0.5) if profile else (500, 0.02)
    # A first click activates the window, whose focus change repaints it once.
    xdotool("mousemove", str(x), str(y), "click", "1")
    paints_reported(game, "press")
    paints_reported(game, "release")
    time.sleep(0.3)
    xdotool("mousedown", "1")
    pressed = paints_reported(game, "press")
    time.sleep(0.3)
    if profile:
        subprocess.run(["callgrind_control", "-i", "on", str(game.pid)], capture_output=True)
    sampler = subprocess.Popen(["perf", "record", "-q", "-F", "4000", "--call-graph",
                                "dwarf,16384", "-o", samples, "-p", str(game.pid)],
                               stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL) if samples else None
    if sampler:
        time.sleep(1.0)  # perf attaches
    before, before_x = cpu_seconds(game.pid), cpu_seconds(xvfb.pid)
    # One xdotool for all moves, so that the X server's figure is not its connections.
    with tempfile.NamedTemporaryFile("w", suffix=".xdo") as script:
        for i in range(moves):
            script.write(f"mousemove {x + step * ((i + 1) % 2)} {y} sleep {pause}\n")
        script.flush()
        xdotool(script.name)
    time.sleep(0.3 if not profile else 2.0)
    spent, spent_x = cpu_seconds(game.pid) - before, cpu_seconds(xvfb.pid) - before_x
    if sampler:
        sampler.send_signal(signal.SIGINT)
        sampler.wait(timeout=60)
    if profile:
        subprocess.run(["callgrind_control", "-i", "off", str(game.pid)], capture_output=True)
    xdotool("mouseup", "1")
    redrawn = paints_reported(game, "release") - pressed
    xdotool("key", "--window", window, "ctrl+q")  # a normal end writes the profile
    try:
        game.wait(timeout=60)
    except subprocess.TimeoutExpired:
        game.terminate()
        game.wait()
    # Every move must have been painted, or the figure would count moves that drew nothing.
    assert redrawn == moves, f"{redrawn} paints for {moves} moves"
    if profile:
        with open(profile) as f:
            totals = [line for line in f if line.startswith("totals:")]
        return idle, int(totals[0].split()[1]) / moves, None
    return idle, spent / moves, spent_x / moves


def start_xvfb():
    """An X server on a display number of its own choosing, so that other servers on the
    machine (another measurement, a test run) are never measured by mistake."""
    global DISPLAY
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        DISPLAY = ":" + f.readline().strip()
    return xvfb


def spin_only(profile=None, samples=None):
    """The spin figure alone, for trying changes to the drawing quickly."""
    xvfb = start_xvfb()
    try:
        _, per_move, server_per_move = idle_and_spin(xvfb, idle_seconds=0.0, profile=profile,
                                                     samples=samples)
    finally:
        xvfb.terminate()
        xvfb.wait()
    if profile:
        print(f"instructions per redrawing spin move: {per_move / 1e6:.3f} million ({profile})")
    else:
        print(f"CPU per redrawing spin move: game {per_move * 1000:.3f} ms, "
              f"X server {server_per_move * 1000:.3f} ms")


def main():
    offscreen, rss_offscreen = first_paint({"QT_QPA_PLATFORM": "offscreen"}, 20)
    xvfb = start_xvfb()
    try:
        on_x, rss_x = first_paint({"DISPLAY": DISPLAY, "QT_QPA_PLATFORM": "xcb"}, 20)
        idle, per_move, server_per_move = idle_and_spin(xvfb)
    finally:
        xvfb.terminate()
        xvfb.wait()
    print("| Figure | Measured | Target |")
    print("|---|---|---|")
    print(f"| start to first paint, offscreen (median of 20) | {offscreen * 1000:.0f} ms | - |")
    print(f"| start to first painted window, Xvfb (median of 20) | {on_x * 1000:.0f} ms | 200 ms |")
    print(f"| peak resident memory, offscreen / Xvfb | {rss_offscreen:.0f} / {rss_x:.0f} MiB | 60 MiB |")
    print(f"| CPU while idle, Xvfb | {idle * 100:.2f} % of a core | none |")
    print(f"| CPU per redrawing spin-drag move, Xvfb, default window | {per_move * 1000:.3f} ms | 0.3 ms |")
    print(f"| the X server's CPU for the same move (not the game's) | {server_per_move * 1000:.3f} ms | - |")


if __name__ == "__main__":
    if "--callgrind" in sys.argv[2:]:
        spin_only(profile=os.path.abspath(sys.argv[sys.argv.index("--callgrind") + 1]))
    elif "--perf" in sys.argv[2:]:
        spin_only(samples=os.path.abspath(sys.argv[sys.argv.index("--perf") + 1]))
    elif "--spin-only" in sys.argv[2:]:
        spin_only()
    else:
        main()
