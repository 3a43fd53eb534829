#!/usr/bin/env python3
"""Start-up of the program, whole processes timed from start to exit (or to a window shown).

    python3 bench/startup_time.py [build/sitorva] [--rounds N] [--window]

Runs, round after round and one after the other, so that a busy machine slows all alike:

    sitorva --version                             the command line as it starts today
    sitorva --generate small.stv --output p.html  a page of ten sections
    LD_PRELOAD=<every module> sitorva --version   the same, with the windows', publishing's
                                                  and the picture maker's libraries loaded
                                                  at start, as one program linking them all
                                                  would load them
    /bin/true                                     the floor: a process that does nothing

and prints the medians and the 90th percentiles in milliseconds. With --window (needs a
display: DISPLAY=:N) it also starts the windows with a fresh program folder and takes the time
until the main window is shown (xdotool, asked every few milliseconds), and the same with
every module loaded at start.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SEP = "\xa0"


def small_project(path):
    header = ["", "", "", "", "", "page.html", "0", "", "16777215", "Start-up"]
    records = [SEP + SEP.join(["Heading", "H%d" % i, "Heading %d" % i, "3", "1", "0", "0", "0",
                                "1", "0"]) + SEP for i in range(10)]
    with open(path, "w", encoding="cp1252", newline="") as f:
        f.write("\r\n".join(header + records) + "\r\n")


def timed(argv, env=None):
    start = time.perf_counter()
    subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True)
    return (time.perf_counter() - start) * 1000


def window_shown(argv, env):
    """Milliseconds from the start until a visible window named Sitorva is mapped."""
    start = time.perf_counter()
    process = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        while time.perf_counter() - start < 30:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                    str(process.pid), "--name", "Sitorva"],
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            if found.stdout.strip():
                return (time.perf_counter() - start) * 1000
            time.sleep(0.002)
        sys.exit("no window was shown within 30 s")
    finally:
        process.terminate()
        process.wait()


def report(name, times):
    times = sorted(times)
    p90 = times[min(len(times) - 1, int(len(times) * 0.9))]
    print("%-44s median %7.1f ms   90%% %7.1f ms" % (name, statistics.median(times), p90))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program", nargs="?", default="build/sitorva")
    parser.add_argument("--rounds", type=int, default=30)
    parser.add_argument("--window", action="store_true")
    args = parser.parse_args()

    program = os.path.abspath(args.program)
    folder = os.path.dirname(program)
    modules = [os.path.join(folder, m) for m in sorted(os.listdir(folder))
               if m.startswith("sitorva-") and m.endswith(".so")]
    work = tempfile.mkdtemp(prefix="sitorva-startup-")
    try:
        project = os.path.join(work, "small.stv")
        small_project(project)
        page = os.path.join(work, "page.html")
        env = dict(os.environ, HOME=work, XDG_DATA_HOME=os.path.join(work, "data"))
        all_loaded = dict(env, LD_PRELOAD=" ".join(modules))
        runs = {
            "sitorva --version": ([program, "--version"], env),
            "sitorva --generate (10 sections)":
                ([program, "--generate", project, "--output", page], env),
            "sitorva --version, every module at start": ([program, "--version"], all_loaded),
            "/bin/true": (["/bin/true"], env),
        }
        times = {name: [] for name in runs}
        for _ in range(args.rounds):
            for name, (argv, run_env) in runs.items():
                times[name].append(timed(argv, run_env))
        print("modules:", ", ".join(os.path.basename(m) for m in modules) or "none")
        for name in runs:
            report(name, times[name])

        if args.window:
            if not os.environ.get("DISPLAY") or not shutil.which("xdotool"):
                sys.exit("--window needs DISPLAY and xdotool")
            windows = {"first window shown": env,
                       "first window shown, every module at start": all_loaded}
            shown = {name: [] for name in windows}
            for _ in range(max(3, args.rounds // 5)):
                for name, run_env in windows.items():
                    # A fresh program folder: the start-up question is not remembered.
                    data = tempfile.mkdtemp(dir=work)
                    shown[name].append(window_shown(
                        [program, project], dict(run_env, XDG_DATA_HOME=data)))
            for name in windows:
                report(name, shown[name])
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
