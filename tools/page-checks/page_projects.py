"""Projects for checking the pages: one of every section kind and option in several program
folders (footer ticks, background), and the sample. Used by tests/page/page_checks.py,
bench/page_scores.py and tools/page_screenshots.

Windows-1252 files with CR LF, as the program writes them; the pictures and the sound come
from the sample's own makers."""
import http.server
import json
import os
import shutil
import socket
import subprocess
import sys
import threading
from collections import namedtuple

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, "examples", "sample"))
import make_sample as sample  # noqa: E402

record, lines = sample.record, sample.lines
RED, GREEN, BLUE, ORANGE, NAVY = sample.RED, sample.GREEN, sample.BLUE, sample.ORANGE, sample.NAVY

COLOURS = [str(c) for c in (RED, GREEN, BLUE, ORANGE)]
LINKS = ["https://sitorva.org/", "https://sitorva.org/manual/", "mailto:hello@sitorva.org",
         "#Fred", "#my place"]
IMAGES = [
    record("Image", "Star", "star.png", "1", "16", "16", "a gold star", "0", "", "1", "0",
           "1", "0"),
    record("Image", "Logo", "logo.png", "0", "", "", "", "1", "https://sitorva.org/", "0", "1",
           "1", "1"),
]

Variant = namedtuple("Variant", "name footer background sections")


def headings():
    out = []
    for i in range(8):  # eight headings: levels 1 to 8
        flags = [str((i >> b) & 1) for b in range(4)]
        text = [f"Heading number {i + 1}", "Heading with {c0}colour{c/} and {l1}a link{l/}",
                "Heading with a star {i0} inside", "Heading &#321;&#243;d&#378; and caf\xe9"][i % 4]
        out.append(record("Heading", f"H{i}", text, str(i % 7), *flags, ["0", "1", "2", ""][i % 4],
                          "" if i % 3 == 0 else str([NAVY, RED, 0][i % 3])))
    return out


def paragraphs():
    p = []
    texts = [
        lines("First line of a paragraph", "second line after a break", "third line"),
        "Marks {c0}red {l0}linked{c/} still linked{l/} plain, {c9}stays, {c12345} stays, "
        "{x} stays, a stray end{c/}{l/} and {C/}opened by a capital{c/} here.",
        "Text with a < sign, a & sign, R&D, 5 > 3 and \u20ac 99 caf\xe9 &#8364; &#60;b&#62;.",
        "A picture {i0} in the text and a linked picture {i1} too.",
        "{l1}Link mark inside{l/} a paragraph that is a link itself.",
        "Lone {lf13} marker and {LF13}{LF10} upper-case break.",
    ]
    for i, text in enumerate(texts):
        flags = [str((i >> b) & 1) for b in range(4)]
        link = ["", "", "https://sitorva.org/some page.html", "", "#my place", "mailto:a@b.org"][i]
        p.append(record("Paragraph", f"P{i}", text, str(i % 7), *flags, ["0", "1", "2", "7"][i % 4],
                        "" if i % 2 else str(BLUE), "1" if i == 3 else "0", link))
    return p


def images():
    out = []
    cases = [
        # file, position, width, height, alt, link type, link, follow on, justify, import, border
        ("hills.png", "0", "300", "100", "Hills", "0", "", "0", "0", "1", "0"),
        ("hills.png", "1", "150", "", "Hills, half", "1", "https://sitorva.org/", "0", "1", "1", "1"),
        ("logo.png", "2", "", "", "", "2", "hello@sitorva.org", "1", "2", "1", "0"),
        ("logo.png", "3", "", "32", "Logo on the left", "3", "Fred", "0", "", "0", "1"),
        ("hills.png", "4", "50%", "", "Half as wide as the column", "0", "", "0", "1", "1", "0"),
        ("logo.png", "9", "64", "64", "", "0", "", "1", "0", "1", "0"),
        ("", "0", "", "", "no file chosen", "0", "", "0", "0", "1", "0"),
    ]
    for i, c in enumerate(cases):
        out.append(record("Image", f"I{i}", *c))
        out.append(record("Paragraph", f"After image {i}", f"Words after picture {i}.", "2",
                          "0", "0", "0", "0", "0", "", "1", ""))
    return out


def others():
    return [
        record("Divider", "D0", str(RED), "1", "100", "1"),
        record("Divider", "D1", str(RED), "3", "50", "0"),
        record("Divider", "D2", str(GREEN), "4", "80", "1"),
        record("Anchor", "A0", "Fred", "This is the anchor called Fred.", "0"),
        record("Anchor", "A1", "my place", "An anchor whose name has a space.", "1"),
        record("Anchor", "A2", "Fred", "A second anchor named Fred.", "0"),
        record("Anchor", "A3", "", "An anchor without a name.", "0"),
        record("List", "L0", "Plain item", "", "Linked item", "https://sitorva.org/",
               "Item with {c1}green{c/} words", "", "", "https://dropped.example/",
               "Anchor item", "#Fred", "Item with {l2}a mail link{l/}", "", "Last", "",
               "0", "2", "0"),
        record("List", "L1", "Numbered {c3}one{c/}", "", "Numbered two", "#my place",
               "", "", "", "", "", "", "", "", "", "", "1", "4", str(RED)),
        record("List", "L2", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "0", "0", ""),
        record("Index", "X0", lines("Home", "index.html", "{c0}Manual{c/}",
                                    "https://sitorva.org/manual/", "The anchor", "#my place"),
               "2", "1", "0", "0", "0", "1", "0"),
        record("Index", "X1", lines("One", "one.html", "Two", "two.html", "Dropped label"),
               "3", "0", "1", "1", "1", "", "1"),
        record("Index", "X2", "Only a label", "2", "0", "0", "0", "0", "0", "0"),
        record("HTML", "R0", lines("<div class=\"raw\">", "<em>Raw</em> HTML as typed", "</div>")),
        record("PlaySound", "S0", "chime.wav", "0", "0", "1", "0", "1"),
        record("PlaySound", "S1", "chime.wav", "0", "1", "1", "1", "2"),
        record("PlaySound", "S2", "chime.wav", "1", "0", "0", "0", ""),
        record("PlaySound", "S3", "", "0", "0", "1", "0", "0"),
    ]


VARIANTS = [
    Variant("kinds", ("1", "1"), "", headings() + paragraphs() + images() + others()),
    Variant("footer-off", ("0", "0"), "background.png",
            [record("Paragraph", "P", "Only a paragraph.", "2", "0", "0", "0", "0", "0", "", "0",
                    "")]),
    Variant("empty", ("1", "0"), "", []),
    Variant("starts-with-text", ("0", "1"), "",
            [record("Paragraph", "P", "Text first, then a heading.", "2", "0", "0", "0", "0", "1",
                    "", "1", ""),
             record("Heading", "H", "A heading after text", "3", "1", "0", "0", "0", "0", "")]),
]


def write_lines(path, items):
    with open(path, "wb") as f:
        f.write(("\r\n".join(items) + "\r\n").encode("cp1252"))


def write_program_folder(folder, sitorva, variant):
    """A program folder with a copy of the program, the configuration and the lists."""
    os.makedirs(folder, exist_ok=True)
    copy = os.path.join(folder, "sitorva")
    shutil.copy2(sitorva, copy)
    write_lines(os.path.join(folder, "Sitorva.config"),
                ["45", "187", "45", "18", "165", "419", "0", *variant.footer])
    write_lines(os.path.join(folder, "StvColList"), COLOURS)
    write_lines(os.path.join(folder, "StvLinkList"), LINKS)
    write_lines(os.path.join(folder, "StvImageList"), IMAGES)
    return folder


def write_project(folder, variant):
    """The project file and its pictures and sound; returns the project's path."""
    os.makedirs(folder, exist_ok=True)
    sample.png(os.path.join(folder, "hills.png"), 300, 100, sample.banner)
    sample.png(os.path.join(folder, "logo.png"), 64, 64, sample.logo)
    sample.png(os.path.join(folder, "star.png"), 16, 16, sample.star)
    sample.png(os.path.join(folder, "background.png"), 16, 16, sample.tile)
    sample.chime(os.path.join(folder, "chime.wav"))
    header = ["", "", "", "", "", "", "1", variant.background, "16777215",
              f"Every section kind: {variant.name}"]
    path = os.path.join(folder, variant.name + ".stv")
    write_lines(path, header + variant.sections)
    return path


def sample_page(sitorva, root, style):
    """The sample's page of the style, generated into root/sample-STYLE/index.html with the
    sample's own lists; returns its folder."""
    prog = os.path.join(root, "sample-prog")
    os.makedirs(prog, exist_ok=True)
    shutil.copy2(sitorva, os.path.join(prog, "sitorva"))
    for name in ("Sitorva.config", "StvColList", "StvLinkList", "StvImageList"):
        shutil.copy2(os.path.join(SOURCE, "examples", "sample", name), prog)
    site = os.path.join(root, "sample-" + style)
    os.makedirs(site, exist_ok=True)
    subprocess.run([os.path.join(prog, "sitorva"), "--generate",
                    os.path.join(SOURCE, "examples", "sample", "sample.stv"),
                    "--output", os.path.join(site, "index.html"), "--style", style],
                   check=True, capture_output=True, timeout=60)
    return site


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """An HTTP server for the folder on a free loopback port, in a thread; returns it."""
    handler = lambda *a, **k: _QuietHandler(*a, directory=folder, **k)  # noqa: E731
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def lighthouse_scores(sitorva, root, style, checks=HERE):
    """The four Lighthouse scores (mobile, 0 to 100) of the sample's page of the style."""
    site = sample_page(sitorva, root, style)
    server = serve(site)
    try:
        url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
        report = os.path.join(root, f"lighthouse-{style}.json")
        env = dict(os.environ, CHROME_PATH="/usr/bin/chromium")
        cli = os.path.join(checks, "node_modules", "lighthouse", "cli", "index.js")
        subprocess.run(["node", cli, url, "--quiet", "--output=json", f"--output-path={report}",
                        "--chrome-flags=--headless=new --no-sandbox --disable-gpu",
                        "--only-categories=performance,accessibility,best-practices,seo"],
                       check=True, env=env, timeout=300, capture_output=True)
    finally:
        server.shutdown()
    with open(report) as f:
        result = json.load(f)
    scores = {k: round(100 * (v["score"] or 0)) for k, v in result["categories"].items()}
    failed = [f"{a['id']}: {a['title']}" for a in result["audits"].values()
              if a.get("score") is not None and a["score"] < 1
              and a.get("scoreDisplayMode") == "binary"]
    scores["failed"] = failed
    return scores
