#!/usr/bin/env python3
"""Start-up to the first window with the live preview hidden and shown.

    DISPLAY=:N python3 bench/preview_startup.py [build/sitorva] [--rounds N]

Needs an X display with a window manager (Xvfb and openbox will do) and xdotool. The program
and its modules are copied into a temporary program folder with the sample project's lists,
so its settings file says whether the pane is shown. Each round starts `sitorva PROJECT.stv`
and times how long until its main window is mapped (xdotool search --sync); three seconds
later it reads the resident memory of the program and of WebEngine's processes, and closes
it. Medians are printed.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "examples", "sample")


def resident_mb(pid):
    total = 0.0
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    total += int(line.split()[1]) / 1024
        for task in os.listdir("/proc/%d/task" % pid):
            with open("/proc/%d/task/%s/children" % (pid, task)) as f:
                for child in f.read().split():
                    total += resident_mb(int(child))
    except OSError:
        pass
    return total


def one_start(folder, project, env):
    start = time.monotonic()
    proc = subprocess.Popen([os.path.join(folder, "sitorva"), project], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                        str(proc.pid), "--name", "sample.stv"], check=True,
                       stdout=subprocess.DEVNULL, timeout=60)
        mapped = time.monotonic() - start
        time.sleep(3)
        memory = resident_mb(proc.pid)
    finally:
        proc.terminate()
        proc.wait(timeout=30)
    return mapped, memory


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program", nargs="?", default="build/sitorva")
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    build = os.path.dirname(os.path.abspath(args.program))
    with tempfile.TemporaryDirectory() as folder:
        for name in os.listdir(build):
            if name == "sitorva" or name.endswith(".so") or name == "StvHelp.txt":
                shutil.copy(os.path.join(build, name), folder)
        for name in os.listdir(SAMPLE):
            shutil.copy(os.path.join(SAMPLE, name), folder)
        project = os.path.join(folder, "sample.stv")
        env = dict(os.environ, HOME=folder)
        if os.geteuid() == 0:  # Chromium's sandbox refuses the root user
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        for shown in ("0", "1"):
            with open(os.path.join(folder, "Sitorva.settings"), "w") as f:
                f.write("page-style=modern\npreview-shown=%s\n" % shown)
            results = [one_start(folder, project, env) for _ in range(args.rounds)]
            mapped = statistics.median(r[0] for r in results)
            memory = statistics.median(r[1] for r in results)
            print("pane %-6s first window %4.0f ms (median of %d); %4.0f MB resident after 3 s"
                  % ("shown" if shown == "1" else "hidden", mapped * 1000, args.rounds,
                     memory), flush=True)


if __name__ == "__main__":
    main()
