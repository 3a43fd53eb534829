#!/usr/bin/env python3
"""How long the program lingers after its last window closed, against xmessage.

    python3 bench/exit_after_close.py [build/sitorva] [--rounds 5]
                                                 [--project examples/sample/sample.stv]

Runs on DISPLAY when it is set (an X display with a window manager), else on an Xvfb display
of its own with openbox; needs xdotool and xmessage. Each round starts the
program with a fresh HOME (so it opens no project and asks nothing), waits until its window
has been shown for two seconds (the start-up decision has run), presses Ctrl+Q in it and
notes two moments: when the process's last window is gone from the screen, and when the
process has ended. The difference is what a user waits for after the window vanished (a
launcher's busy cursor, a script's next line). xmessage, closed with its own key, is the
bare X program beside it.

Prints each round and the medians; the aim is at most 200 ms.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def visible_windows(search):
    """search: xdotool's search options, e.g. ["--pid", "123"] or ["--class", "xmessage"]."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible"] + search,
                           capture_output=True, text=True)
    return [w for w in found.stdout.split() if w]


def wait_for_window(search, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        windows = visible_windows(search)
        if windows:
            return windows
        time.sleep(0.05)
    raise RuntimeError("no window appeared for %s" % " ".join(search))


def time_close(args, env, key, settle, search=None, key_window=()):
    """Starts args, presses key in its window; returns (vanish -> exit, key -> exit) in ms. Qt programs
    are found by their process id; search names the window of one that does not give it.
    key_window narrows the search to the window that gets the key."""
    proc = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    search = search or ["--pid", str(proc.pid)]
    key_window = ["--all"] + list(key_window) if key_window else []
    try:
        wait_for_window(search)
        time.sleep(settle)
        target = wait_for_window(search + key_window)[0]
        subprocess.run(["xdotool", "windowactivate", "--sync", target], capture_output=True)
        subprocess.run(["xdotool", "key", key], check=True)
        # Poll the windows and the process together, a few milliseconds apart. A window that
        # goes with the process itself counts as vanishing at its end.
        pressed = time.monotonic()
        vanished = None
        end = pressed + 30
        while time.monotonic() < end:
            now = time.monotonic()
            if proc.poll() is not None:
                return (now - (vanished or now)) * 1000.0, (now - pressed) * 1000.0
            if vanished is None and not visible_windows(search):
                vanished = now
            time.sleep(0.002)
        raise RuntimeError("the process did not end within 30 s")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


def own_display():
    """Starts Xvfb on a free display and openbox on it; returns the processes to end."""
    number = 90
    while os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists(
            "/tmp/.X11-unix/X%d" % number):
        number += 1
    display = ":%d" % number
    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    end = time.monotonic() + 10
    while not os.path.exists("/tmp/.X11-unix/X%d" % number):
        if time.monotonic() > end or server.poll() is not None:
            sys.exit("exit_after_close: Xvfb did not start on %s" % display)
        time.sleep(0.05)
    os.environ["DISPLAY"] = display
    manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    time.sleep(1)
    return [manager, server]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("sitorva", nargs="?", default="build/sitorva")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--project", help="a project to open first (e.g. the sample)")
    opts = parser.parse_args()
    tools = ["xdotool", "xmessage"] + ([] if os.environ.get("DISPLAY") else ["Xvfb", "openbox"])
    for tool in tools:
        if shutil.which(tool) is None:
            sys.exit("exit_after_close: %s is needed" % tool)
    started = [] if os.environ.get("DISPLAY") else own_display()
    try:
        measure(opts)
    finally:
        for proc in started:
            proc.terminate()
            proc.wait()


def measure(opts):
    ours, theirs, ours_key = [], [], []
    for round_no in range(opts.rounds):
        with tempfile.TemporaryDirectory() as home:
            env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                       XDG_CONFIG_HOME=os.path.join(home, "config"))
            env.pop("QT_QPA_PLATFORM", None)
            args = [os.path.abspath(opts.sitorva)] + ([opts.project] if opts.project else [])
            linger, after_key = time_close(args, env, "ctrl+q", 2.0,
                                           key_window=["--name", "^Sitorva 98"])
            ours.append(linger)
            ours_key.append(after_key)
            theirs.append(time_close(["xmessage", "-buttons", "ok:0", "-default", "ok",
                                      "bench"], env, "Return", 0.5,
                                     ["--class", "xmessage"])[0])
        print("round %d: sitorva %.0f ms after its windows vanished (%.0f ms after the key), "
              "xmessage %.0f ms" % (round_no + 1, ours[-1], ours_key[-1], theirs[-1]))
    print("median: sitorva %.0f ms (%.0f ms after the key), xmessage %.0f ms "
          "(aim: sitorva at most 200 ms)"
          % (statistics.median(ours), statistics.median(ours_key), statistics.median(theirs)))


if __name__ == "__main__":
    main()
