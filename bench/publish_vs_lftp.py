#!/usr/bin/env python3
"""Publishing against lftp's mirror -R, whole processes timed from start to exit.

    python3 bench/publish_vs_lftp.py [build/sitorva] [--rounds N] [--keep]

Two pages, each a project whose Image sections refer to its files: 1,000 small files
(2 to 6 KB) and 10 files of 10 MB. For each, against the test FTP server (pyftpdlib on
127.0.0.1, tests/support/ftp_server.py), round after round:

    sitorva --publish PROJECT.stv          into an empty folder (everything is sent)
    sitorva --publish PROJECT.stv          again, nothing changed (nothing is sent)
    lftp -e "mirror -R PAGE-FOLDER DIR"    the same files into another empty folder
    lftp -e "mirror -R PAGE-FOLDER DIR"    again, nothing changed

PAGE-FOLDER is what `sitorva --generate` writes: the page and its files, the very files the
publish sends. sitorva's time includes generating the page into a temporary folder (copying
every file there) and the SHA-256 of every file. Prints the medians, the ratio and the
largest resident memory of each run.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SEP = "\xa0"
CRLF = "\r\n"
HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "tests", "support", "ftp_server.py")
USER, PASSWORD = "tester", "bench-Pw1"


def record(*fields):
    return SEP + "".join(f + SEP for f in fields)


def write_project(folder, names, port, remote):
    """A project whose Image sections show every file, imported beside the page."""
    header = ["", remote, PASSWORD, USER, "127.0.0.1:%d" % port, "", "1", "", "16777215",
              "Publish benchmark"]
    lines = header + [record("Image", "i%d" % i, name, "1", "", "", name, "0", "", "0", "0",
                             "1", "0") for i, name in enumerate(names)]
    path = os.path.join(folder, "site.stv")
    with open(path, "w", encoding="cp1252", newline="") as f:
        f.write(CRLF.join(lines) + CRLF)
    return path


def make_files(folder, count, size_of):
    rng = random.Random(2026)
    names = []
    for i in range(count):
        name = "file%04d.png" % i
        with open(os.path.join(folder, name), "wb") as f:
            size = size_of(rng)
            while size > 0:
                chunk = min(size, 1 << 20)
                f.write(rng.randbytes(chunk))
                size -= chunk
        names.append(name)
    return names


def run(command, cwd=None):
    """Wall time and largest resident memory (MB) of a whole process."""
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    out = process.stdout.read().decode(errors="replace")
    err = process.stderr.read().decode(errors="replace")
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s%s" % (" ".join(command), out, err))
    return seconds, usage.ru_maxrss / 1024.0, out


def empty(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)


def bench(sitorva, base, label, count, size_of, rounds):
    work = os.path.join(base, label.replace(" ", "-"))
    project_folder = os.path.join(work, "project")
    page_folder = os.path.join(work, "page")
    home = os.path.join(work, "home")
    for folder in (project_folder, page_folder, home):
        os.makedirs(folder)
    names = make_files(project_folder, count, size_of)
    total = sum(os.path.getsize(os.path.join(project_folder, n)) for n in names)

    server = subprocess.Popen(["/usr/bin/python3", SERVER, "--user", USER, "--password",
                               PASSWORD, "--home", home, "--log", os.path.join(work, "log")],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    port = int(server.stdout.readline().split()[1])
    try:
        project = write_project(project_folder, names, port, "sitorva")
        run([sitorva, "--generate", project, "--output", os.path.join(page_folder, "site.html")])
        lftp = ["lftp", "-u", "%s,%s" % (USER, PASSWORD), "-p", str(port), "-e",
                "set ftp:passive-mode on; set net:max-retries 1; "
                "mirror -R --no-perms %s lftp; quit" % page_folder, "127.0.0.1"]
        times = {key: [] for key in ("sitorva", "sitorva again", "lftp", "lftp again")}
        memory = {key: [] for key in times}
        for _ in range(rounds):
            for who, command in (("sitorva", [sitorva, "--publish", project, "--allow-plain-ftp"]), ("lftp", lftp)):
                empty(os.path.join(home, who))
                for key in (who, who + " again"):
                    seconds, megabytes, out = run(command, cwd=project_folder)
                    times[key].append(seconds)
                    memory[key].append(megabytes)
            # Both folders hold the same bytes.
            for name in names:
                a = os.path.join(home, "sitorva", name)
                b = os.path.join(home, "lftp", name)
                if os.path.getsize(a) != os.path.getsize(b):
                    sys.exit("different copies of " + name)
    finally:
        server.stdin.close()
        server.wait()

    print("\n%s: %d files, %.1f MB" % (label, count, total / 1e6))
    print("  %-14s %9s %9s" % ("", "median s", "max MB"))
    for key in times:
        print("  %-14s %9.3f %9.1f" % (key, statistics.median(times[key]), max(memory[key])))
    ratio = statistics.median(times["sitorva"]) / statistics.median(times["lftp"])
    print("  sitorva / lftp, first publish: %.2f" % ratio)
    return ratio


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("sitorva", nargs="?", default=os.path.join(HERE, "..", "build",
                                                                   "sitorva"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    if shutil.which("lftp") is None:
        sys.exit("lftp is not installed (apt-get install lftp)")
    sitorva = os.path.abspath(args.sitorva)
    base = tempfile.mkdtemp(prefix="stv-publish-bench-")
    try:
        print("load at start: %.2f %.2f %.2f" % os.getloadavg())
        bench(sitorva, base, "small files", 1000, lambda rng: rng.randint(2000, 6000),
              args.rounds)
        bench(sitorva, base, "large files", 10, lambda rng: 10 * 1000 * 1000, args.rounds)
    finally:
        if args.keep:
            print("kept", base)
        else:
            shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
