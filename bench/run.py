#!/usr/bin/env python3
"""Measures the real program beside its limits and prints one table.

Starts its own Xvfb. The program is the one the play command builds; the benchmark watches it
only through POKORINDER_TRACE, which makes the display backend write the time of every present
to a file, and through /proc. Figures:

  start-up       exec to the first present of the background, median of runs, against a
                 minimal SDL program that opens a 400 x 300 window and presents once
  idle           CPU over 10 s, exit prompt waiting, reels stopped
  spinning       CPU over 10 s with the reels turning
  tick period    mean period of the spin ticks, largest deviation from 100 ms, drift of the
                 last tick from k x 100 ms (one present per tick); beside the deviation, that
                 of a program that only sleeps to the same due times, over the same seconds
  tick cost      CPU of three reel draws and their present (Google Benchmark), headless and on
                 the display; beside it, for reference, spinning CPU divided by the ticks seen
  memory         peak resident memory after 10 s of spinning
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "default")
PROGRAM = os.path.join(BUILD, "pokorinder")
FLOOR = os.path.join(BUILD, "bench", "bench_minimal_sdl")
TICK = os.path.join(BUILD, "bench", "bench_tick")
SLEEPER = os.path.join(BUILD, "bench", "bench_periodic_sleep")
RUNS = int(os.environ.get("BENCH_RUNS", "11"))
SECONDS = float(os.environ.get("BENCH_SECONDS", "10"))


def start_xvfb(folder):
    read, write = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-noreset",
         "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(read)
    return xvfb, ":" + number.decode().strip()


def presents(path):
    try:
        with open(path) as f:
            return [int(line.split()[1]) for line in f if line.startswith("present")]
    except FileNotFoundError:
        return []


def launch(binary, display, trace):
    env = dict(os.environ, DISPLAY=display, POKORINDER_TRACE=trace,
               DBUS_SESSION_BUS_ADDRESS="disabled:")
    env.pop("WAYLAND_DISPLAY", None)
    return subprocess.Popen([binary], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def time_to_first_present(binary, display, folder):
    trace = os.path.join(folder, "trace")
    if os.path.exists(trace):
        os.remove(trace)
    start = time.monotonic_ns()
    process = launch(binary, display, trace)
    try:
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            times = presents(trace)
            if times:
                return (times[0] - start) / 1e6
            time.sleep(0.0005)
        sys.exit(f"{binary} presented nothing")
    finally:
        process.kill()
        process.wait()


def cpu_ns(pid):
    # Time on a processor in nanoseconds, all threads: far finer than the clock ticks of stat.
    total = 0
    for thread in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{thread}/schedstat") as f:
            total += int(f.read().split()[0])
    return total


def peak_memory_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def cpu_percent(pid, seconds):
    """The share of one core used over `seconds`, and the nanoseconds used."""
    before = cpu_ns(pid)
    time.sleep(seconds)
    used = cpu_ns(pid) - before
    return used / 1e9 / seconds * 100, used


def tick_us(display):
    """CPU per tick, three draws and their present, headless and on the display."""
    env = dict(os.environ, DISPLAY=display, DBUS_SESSION_BUS_ADDRESS="disabled:")
    out = subprocess.run([TICK, "--benchmark_format=json", "--benchmark_min_time=2"],
                         capture_output=True, text=True, check=True, env=env).stdout
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}
    return {run["name"]: run["cpu_time"] * scale[run["time_unit"]]
            for run in json.loads(out)["benchmarks"]}


def main():
    rows = []
    with tempfile.TemporaryDirectory() as folder:
        xvfb, display = start_xvfb(folder)
        try:
            ours = statistics.median(time_to_first_present(PROGRAM, display, folder)
                                     for _ in range(RUNS))
            floor = statistics.median(time_to_first_present(FLOOR, display, folder)
                                      for _ in range(RUNS))
            rows.append(("start-up (ms, median)", ours, 1.5 * floor, "1.5 x floor %.1f" % floor))

            trace = os.path.join(folder, "trace")
            if os.path.exists(trace):
                os.remove(trace)
            game = launch(PROGRAM, display, trace)
            time.sleep(1.5)
            idle, _ = cpu_percent(game.pid, SECONDS)
            rows.append(("idle CPU (% of a core)", idle, 0.05, "0.05"))

            # The main window's client area, top left, clear of the exit prompt.
            env = dict(os.environ, DISPLAY=display)
            subprocess.run(["xdotool", "mousemove", "335", "266", "click", "1"], env=env,
                           check=True)
            time.sleep(0.5)
            first = len(presents(trace))
            # The machine's own noise over the same seconds: a bare 100 ms sleep loop.
            sleeper = subprocess.Popen([SLEEPER, str(int(SECONDS * 10) - 1)],
                                       stdout=subprocess.PIPE, text=True)
            spinning, ticks_cpu = cpu_percent(game.pid, SECONDS)
            sleeper_deviation = float(sleeper.communicate()[0])
            memory = peak_memory_kb(game.pid) / 1024
            times = presents(trace)[first:]
            game.kill()
            game.wait()
            ticks = tick_us(display)
        finally:
            xvfb.kill()
            xvfb.wait()

    rows.append(("spinning CPU (% of a core)", spinning, 0.5, "0.5"))
    periods = [(b - a) / 1e6 for a, b in zip(times, times[1:])]
    if len(periods) < 50:
        sys.exit(f"only {len(periods) + 1} ticks seen while spinning")
    mean = statistics.fmean(periods)
    deviation = max(abs(p - 100) for p in periods)
    drift = abs((times[-1] - times[0]) / 1e6 - 100 * len(periods))
    rows.append(("tick period mean (ms), %d ticks" % len(times), abs(mean - 100), 0.1,
                 "|mean - 100| < 0.1, mean %.3f" % mean))
    rows.append(("tick period largest deviation (ms)", deviation, 2.0,
                 "2; a bare sleep loop meanwhile: %.3f" % sleeper_deviation))
    rows.append(("tick drift after %d ticks (ms)" % len(periods), drift, 1.0, "1"))
    rows.append(("tick cost, headless (us CPU)", ticks["SpinTickHeadless"], 50.0, "50"))
    rows.append(("tick cost, real backend (us CPU)", ticks["SpinTickOnDisplay"], 50.0,
                 "50; draws and present only"))
    whole = ticks_cpu / 1e3 / max(1, len(times))
    rows.append(("whole tick in the program (us CPU)", whole, None,
                 "for reference: wake, draws, present, sleep"))
    rows.append(("peak memory after spinning (MB)", memory, 16.0, "16"))

    print(f"{'figure':40} {'measured':>10} {'target':>10} {'ratio':>7}  note")
    for name, value, target, note in rows:
        if target is None:
            print(f"{name:40} {value:10.3f} {'-':>10} {'-':>7}  {note}")
        else:
            print(f"{name:40} {value:10.3f} {target:10.3f} {value / target:7.2f}  {note}")


if __name__ == "__main__":
    main()
