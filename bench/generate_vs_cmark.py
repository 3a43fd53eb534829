#!/usr/bin/env python3
"""Page generation against cmark and cp, whole processes timed from start to exit.

    python3 bench/generate_vs_cmark.py [build/sitorva] [--quick] [--rounds N] [--keep]

Writes two projects (100,000 and 1,000,000 sections; 1,000 and 10,000 with --quick) of
headings, paragraphs with colour marks, link marks and line breaks, bulleted and numbered
lists, and dividers, together with the same texts as Markdown. For each size it then runs,
one after the other and round after round:

    sitorva --generate PROJECT.stv --output PAGE.html
    sitorva --generate PROJECT.stv --output MODERN.html --style modern   (the modern page)
    cmark PROJECT.md > PROJECT.html
    cp PAGE.html COPY.html
    dd if=PAGE.html of=COPY.html bs=1M conv=fsync   (cp that also flushes to the disk)
    cat PROJECT.stv > /dev/null; dd ... conv=fsync  (the floor: the project read and the
                                                     page written to the disk, no work)

and prints the medians, the ratios, the sizes and sitorva's largest resident memory for both
page styles (from one more run under GNU time, which sees the program's own memory only).
Last, on a project of 20,000 sections, it times `sitorva --check PROJECT.stv` (Check My Page
without the network) against `sitorva --generate` of the same project.
The page is written through a temporary file that is flushed to the disk (fsync) before it
replaces the old one, which a plain cp does not do; the dd line shows a copy that does.

The colour and link marks refer to the favourite lists, which the program reads from its own
folder (the executable's folder when that is writable). So the binary is copied into the
temporary folder together with its configuration and lists, and run from there.
Everything is written in a temporary folder that is removed at the end (--keep keeps it).
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

SEP = "\xa0"
CRLF = "\r\n"

# The favourite lists the marks refer to: {c0}..{c3} and {l0}..{l3}.
COLOURS = ["255", "32768", "16711680", "33023"]
LINKS = ["https://sitorva.org/", "https://sitorva.org/manual/", "mailto:hello@sitorva.org",
         "#Fred"]
# Window places as designed, decision item 0, both footer ticks on.
CONFIG = ["45", "187", "45", "18", "165", "419", "0", "1", "1"]

WORDS = ("page section wizard picture garden river morning letter window market colour "
         "harbour kitchen meadow lantern village signal bridge orchard ribbon café pebble "
         "journey travel summer winter autumn spring valley forest mountain island number "
         "reader writer builder quiet bright gentle steady simple careful sudden distant "
         "little golden silver yellow purple orange early later often never always maybe "
         "walks reads keeps finds opens closes brings carries shows holds turns makes").split()


def record(*fields):
    return SEP + "".join(f + SEP for f in fields)


class Texts:
    """Pools of pre-built texts, each in the project's form (marks) and as Markdown."""

    def __init__(self, seed=20260):
        import random
        rng = random.Random(seed)

        def words(lo, hi):
            return " ".join(rng.choice(WORDS) for _ in range(rng.randint(lo, hi)))

        def marked():
            # Plain words, a coloured run, a link run, a line break, more words.
            head, coloured, tail = words(4, 9), words(1, 3), words(3, 8)
            linked, last = words(1, 3), words(3, 7)
            c, l = rng.randrange(len(COLOURS)), rng.randrange(len(LINKS))
            stv = (f"{head.capitalize()} {{c{c}}}{coloured}{{c/}} {tail}, "
                   f"{{l{l}}}{linked}{{l/}}.{{lf13}}{{lf10}}{last.capitalize()}.")
            md = (f"{head.capitalize()} *{coloured}* {tail}, "
                  f"[{linked}]({LINKS[l]}).\\\n{last.capitalize()}.")
            return stv, md

        def short():
            text, linked = words(5, 12).capitalize(), words(1, 2)
            l = rng.randrange(len(LINKS))
            return f"{text} {{l{l}}}{linked}{{l/}}.", f"{text} [{linked}]({LINKS[l]})."

        def item():
            if rng.random() < 0.3:
                c, w = rng.randrange(len(COLOURS)), words(1, 2)
                text = words(1, 3).capitalize()
                return f"{text} {{c{c}}}{w}{{c/}}", f"{text} *{w}*"
            text = words(2, 5).capitalize()
            return text, text

        self.marked = [marked() for _ in range(211)]
        self.short = [short() for _ in range(199)]
        self.heads = [words(2, 5).capitalize() for _ in range(101)]
        self.items = [item() for _ in range(307)]


def section(i, texts):
    """Section i as (project record, Markdown block)."""
    kind = i % 10
    label = f"S{i}"
    if kind in (0, 8):
        head = f"{texts.heads[i % len(texts.heads)]} {i}"
        return (record("Heading", label, head, "4" if kind == 0 else "3", "1", "0", "0", "0",
                       "1", "8388608"),
                ("# " if kind == 0 else "## ") + head)
    if kind in (1, 6, 9):
        stv, md = texts.marked[i % len(texts.marked)]
        return record("Paragraph", label, stv, "2", "0", "0", "0", "0", "0", "", "0", ""), md
    if kind in (2, 4):
        stv, md = texts.short[i % len(texts.short)]
        return record("Paragraph", label, stv, "2", "0", "0", "0", "0", "0", "", "0", ""), md
    if kind in (3, 5):
        numbered = kind == 5
        rows = 3 + i % 3
        fields, lines = [], []
        for k in range(7):
            if k >= rows:
                fields += ["", ""]
                continue
            stv, md = texts.items[(i + 31 * k) % len(texts.items)]
            link = LINKS[(i + k) % len(LINKS)] if k == 1 else ""
            if link:
                # A linked row holds plain text: the whole row is the link.
                stv = md = texts.heads[(i + k) % len(texts.heads)]
                md = f"[{md}]({link})"
            fields += [stv, link]
            lines.append((f"{k + 1}. " if numbered else "- ") + md)
        return (record("List", label, *fields, "1" if numbered else "0", "2", "0"),
                "\n".join(lines))
    return record("Divider", label, "255", "2", "80", "0"), "---"


def write_project(folder, name, count, texts):
    """Writes NAME.stv (Windows-1252, CR LF) and NAME.md (UTF-8); returns both paths."""
    stv_path = os.path.join(folder, name + ".stv")
    md_path = os.path.join(folder, name + ".md")
    header = ["", "", "", "", "", "", "0", "", "16777215", "Benchmark page"]
    with open(stv_path, "wb") as stv, open(md_path, "wb") as md:
        stv.write((CRLF.join(header) + CRLF).encode("cp1252"))
        step = 10000
        for start in range(0, count, step):
            parts = [section(i, texts) for i in range(start, min(count, start + step))]
            stv.write("".join(p[0] + CRLF for p in parts).encode("cp1252"))
            md.write("".join(p[1] + "\n\n" for p in parts).encode("utf-8"))
    return stv_path, md_path


def write_lines(path, lines):
    with open(path, "wb") as f:
        f.write((CRLF.join(lines) + CRLF).encode("cp1252"))


def program_folder(folder, binary):
    """A program folder of the binary's copy with its configuration and lists."""
    os.makedirs(folder)
    copy = os.path.join(folder, "sitorva")
    shutil.copy2(binary, copy)
    write_lines(os.path.join(folder, "Sitorva.config"), CONFIG)
    write_lines(os.path.join(folder, "StvColList"), COLOURS)
    write_lines(os.path.join(folder, "StvLinkList"), LINKS)
    return copy


def run(argv, stdout_path, stderr_path, env, allowed=(0,)):
    """Runs one process; returns (wall seconds, CPU seconds, max RSS in bytes).
    Stops the benchmark when the process fails (exits with a code not in `allowed`)."""
    out = stdout_path or os.devnull
    actions = [(os.POSIX_SPAWN_OPEN, 1, out, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644),
               (os.POSIX_SPAWN_OPEN, 2, stderr_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC,
                0o644)]
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, env, file_actions=actions)
    _, status, usage = os.wait4(pid, 0)
    seconds = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code not in allowed:
        with open(stderr_path, errors="replace") as f:
            sys.exit(f"{' '.join(argv)} failed with exit code {code}:\n{f.read()}")
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def peak_rss(argv, err_path, env, fallback):
    """The program's own largest resident memory in bytes, from a run under GNU time. A process
    started straight from this script inherits the script's peak as its own (Linux keeps the
    largest resident size across exec, and the spawned child starts in the script's memory),
    so wait4 cannot show a program smaller than this script; GNU time starts it from a small
    process of its own. Without GNU time the inherited figure (fallback) is all there is."""
    tool = shutil.which("time")
    if tool is None:
        return fallback
    report_path = err_path + ".rss"
    run([tool, "-f", "%M", "-o", report_path] + argv, None, err_path, env)
    with open(report_path) as f:
        return int(f.read().split()[-1]) * 1024


def remove(path):
    try:
        os.remove(path)
    except FileNotFoundError:
        pass


def check_outputs(page_path, modern_path, html_path, count):
    """The marks must have become tags: otherwise the lists were not found."""
    with open(page_path, "rb") as f:
        page = f.read()
    with open(modern_path, "rb") as f:
        modern = f.read()
    with open(html_path, "rb") as f:
        html = f.read()
    if b"{c" in page or b"{l" in page or page.count(b"<font color=") < count * 3 // 10:
        sys.exit(f"{page_path}: colour or link marks were left untranslated")
    body = modern[modern.find(b"<body>"):]  # the style block has braces of its own
    if (b"{c" in body or b"{l" in body or not modern.startswith(b"<!DOCTYPE html>")
            or modern.count(b'<span style="color:') < count * 3 // 10):
        sys.exit(f"{modern_path}: not a modern page, or its marks were left untranslated")
    if html.count(b"<a href=") < count // 2:
        sys.exit(f"{html_path}: cmark's page lacks the links")


def mb(n):
    return f"{n / 1e6:.1f} MB"


def measure(tools, folder, count, texts, rounds, env, keep):
    name = f"p{count}"
    stv_path, md_path = write_project(folder, name, count, texts)
    page = os.path.join(folder, name + ".html")
    modern = os.path.join(folder, name + "-modern.html")
    html = os.path.join(folder, name + "-cmark.html")
    copy = os.path.join(folder, name + "-copy.html")
    err = os.path.join(folder, "stderr.txt")
    commands = {
        "sitorva": ([tools["sitorva"], "--generate", stv_path, "--output", page, "--style",
                     "classic"], None, page),
        "modern": ([tools["sitorva"], "--generate", stv_path, "--output", modern, "--style",
                    "modern"], None, modern),
        "cmark": ([tools["cmark"], md_path], html, html),
        "cp": ([tools["cp"], page, copy], None, copy),
        "cp+fsync": ([tools["dd"], f"if={page}", f"of={copy}", "bs=1M", "conv=fsync",
                      "status=none"], None, copy),
        "floor": ([tools["sh"], "-c", 'cat "$1" > /dev/null && exec "$2" if="$3" of="$4" '
                   'bs=256K conv=fsync status=none', "floor", stv_path, tools["dd"], page,
                   copy], None, copy),
    }
    times = {tool: [] for tool in commands}
    cpu = {tool: [] for tool in commands}
    rss = {"sitorva": [], "modern": []}
    # One untimed round first: caches warm and outputs checked.
    for r in range(rounds + 1):
        for tool, (argv, stdout_path, output) in commands.items():
            remove(output)  # every run writes a new file, as on a first save
            seconds, cpu_seconds, peak = run(argv, stdout_path, err, env)
            if r == 0:
                continue
            times[tool].append(seconds)
            cpu[tool].append(cpu_seconds)
            if tool in rss:
                rss[tool].append(peak)
        if r == 0:
            check_outputs(page, modern, html, count)
    for tool, output in (("sitorva", page), ("modern", modern)):
        remove(output)
        rss[tool] = peak_rss(commands[tool][0], err, env, max(rss[tool]))
    sizes = {"project": os.path.getsize(stv_path), "page": os.path.getsize(page),
             "modern": os.path.getsize(modern), "markdown": os.path.getsize(md_path)}
    if not keep:
        for path in (stv_path, md_path, page, modern, html, copy):
            remove(path)
    medians = {tool: statistics.median(t) for tool, t in times.items()}
    cpu_medians = {tool: statistics.median(t) for tool, t in cpu.items()}
    return medians, cpu_medians, rss, sizes, times


def start_cost(tools, folder, texts, rounds, env):
    """Median wall and CPU time and max RSS of generating a project without sections: the
    part of every run spent starting the process and writing the page skeleton."""
    stv_path, _ = write_project(folder, "empty", 0, texts)
    page = os.path.join(folder, "empty.html")
    err = os.path.join(folder, "stderr.txt")
    runs = []
    for _ in range(rounds + 1):
        remove(page)
        runs.append(run([tools["sitorva"], "--generate", stv_path, "--output", page], None,
                        err, env))
    runs = runs[1:]
    remove(page)
    peak = peak_rss([tools["sitorva"], "--generate", stv_path, "--output", page], err, env,
                    max(r[2] for r in runs))
    return (statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs), peak)


def check_cost(tools, folder, texts, rounds, env, count=20000):
    """Median wall and CPU times of --check and of --generate on one project. --check exits
    with 1: the benchmark's texts use the red and orange of its lists on a white page, which
    the check reports as hard to read, and link to an anchor the page does not have."""
    stv_path, md_path = write_project(folder, f"check{count}", count, texts)
    page = os.path.join(folder, f"check{count}.html")
    err = os.path.join(folder, "stderr.txt")
    listing = os.path.join(folder, "problems.txt")
    commands = {"check": ([tools["sitorva"], "--check", stv_path], listing, (0, 1)),
                "generate": ([tools["sitorva"], "--generate", stv_path, "--output", page], None,
                             (0,))}
    times = {name: [] for name in commands}
    cpu = {name: [] for name in commands}
    for r in range(rounds + 1):
        for name, (argv, stdout_path, allowed) in commands.items():
            remove(page)
            seconds, cpu_seconds, _ = run(argv, stdout_path, err, env, allowed)
            if r > 0:
                times[name].append(seconds)
                cpu[name].append(cpu_seconds)
    with open(listing, encoding="utf-8", errors="replace") as f:
        problems = sum(1 for _ in f)
    for path in (stv_path, md_path, page, listing):
        remove(path)
    med = {name: statistics.median(t) for name, t in times.items()}
    cpu_med = {name: statistics.median(t) for name, t in cpu.items()}
    print(f"\n== Check My Page, {count:,} sections ({problems:,} problems found)")
    for name in commands:
        runs = " ".join(f"{x:.3f}" for x in times[name])
        print(f"  sitorva --{name:8} median {med[name]:7.3f} s (CPU {cpu_med[name]:6.3f} s)"
              f"   runs {runs}")
    print(f"  check / generate   {med['check'] / med['generate']:6.2f}   (target at most 2)")


def report(count, med, cpu, rss, sizes, times):
    print(f"\n== {count:,} sections: project {mb(sizes['project'])}, page {mb(sizes['page'])},"
          f" modern page {mb(sizes['modern'])}, Markdown {mb(sizes['markdown'])}")
    for tool, t in times.items():
        runs = " ".join(f"{x:.3f}" for x in t)
        print(f"  {tool:9} median {med[tool]:7.3f} s (CPU {cpu[tool]:6.3f} s)   runs {runs}")
    print(f"  sitorva / cp       {med['sitorva'] / med['cp']:6.2f}   (target at most 3)")
    print(f"  sitorva / cp+fsync {med['sitorva'] / med['cp+fsync']:6.2f}")
    print(f"  floor / cp         {med['floor'] / med['cp']:6.2f}   (read and write, no work)")
    print(f"  sitorva / cmark    {med['sitorva'] / med['cmark']:6.2f}   (target at most 0.25)")
    print(f"  modern / cmark     {med['modern'] / med['cmark']:6.2f}   (target at most 0.25)")
    for tool, label in (("sitorva", "sitorva"), ("modern", "modern ")):
        both = sizes["project"] + sizes["page" if tool == "sitorva" else "modern"]
        print(f"  {label} max RSS    {mb(rss[tool])} = {rss[tool] / both:.2f} x"
              f" (project + page)   (target at most 2 x = {mb(2 * both)})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("sitorva", nargs="?", default="build/sitorva",
                        help="the sitorva binary (default: build/sitorva)")
    parser.add_argument("--quick", action="store_true",
                        help="a smoke run: 1,000 and 10,000 sections, 3 rounds")
    parser.add_argument("--rounds", type=int, help="timed rounds (default 5, quick 3)")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()

    tools = {"sitorva": os.path.abspath(args.sitorva)}
    if not os.access(tools["sitorva"], os.X_OK):
        sys.exit(f"{args.sitorva} is not an executable; build it first (make build)")
    for tool in ("cmark", "cp", "dd", "sh"):
        tools[tool] = shutil.which(tool)
        if tools[tool] is None:
            sys.exit(f"{tool} is not installed (Debian package: "
                     f"{'cmark' if tool == 'cmark' else 'coreutils'})")
    counts = (1000, 10000) if args.quick else (100000, 1000000)
    rounds = args.rounds or (3 if args.quick else 5)

    env = dict(os.environ)
    env["SOURCE_DATE_EPOCH"] = "1767225600"  # the same footer in every run
    env["QT_QPA_PLATFORM"] = "offscreen"
    # The machine may be shared: the load shows how far the wall times can be trusted.
    print("load average at start: " + " ".join(f"{x:.2f}" for x in os.getloadavg())
          + f" on {os.cpu_count()} cores")
    temp = tempfile.mkdtemp(prefix="sitorva-bench-")
    try:
        tools["sitorva"] = program_folder(os.path.join(temp, "program"), tools["sitorva"])
        texts = Texts()
        wall, cpu, peak = start_cost(tools, temp, texts, rounds, env)
        print(f"sitorva on a project without sections: {wall:.3f} s (CPU {cpu:.3f} s),"
              f" max RSS {mb(peak)}")
        results = {}
        for count in counts:
            print(f"writing and running {count:,} sections, {rounds} rounds ...", flush=True)
            results[count] = measure(tools, temp, count, texts, rounds, env, args.keep)
            report(count, *results[count])
        check_cost(tools, temp, texts, rounds, env)
        small, large = counts
        scale = large // small
        print()
        for tool in ("sitorva", "modern"):
            ratio = results[large][0][tool] / results[small][0][tool]
            cpu_ratio = results[large][1][tool] / results[small][1][tool]
            print(f"{large:,} / {small:,} sections, {tool} time: {ratio:.2f}"
                  f" (CPU {cpu_ratio:.2f})   (target at most {scale + 1})")
    finally:
        if args.keep:
            print(f"kept {temp}")
        else:
            shutil.rmtree(temp, ignore_errors=True)


if __name__ == "__main__":
    main()
