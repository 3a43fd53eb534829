#!/usr/bin/env python3
"""Writes the sample project, the pictures and the sound it uses, and the favourite lists.

Run from anywhere: python3 examples/sample/make_sample.py

The project refers to its files by bare names, which are read from the project's folder.
Its texts use the inline marks, which refer by number to the favourite lists:
"{c0}red words{c/}" (Colour List), "{l1}a link{l/}" (Link List), "{i0}" (Image List).
The program reads those lists from its own folder, so the four list files written here
(Sitorva.config, StvColList, StvLinkList, StvImageList) make the marks work once they are
copied there; `make run` does that when the program folder has no configuration yet.
"""
import math
import os
import struct
import wave
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = "\xa0"


def png(path, width, height, pixel, scale=1):
    """A picture shown width x height, drawn with scale x scale pixels for each of those, so
    that it stays sharp on screens of more than one pixel per point."""
    rows = b"".join(b"\x00" + b"".join(bytes(pixel(x / scale, y / scale))
                                        for x in range(width * scale))
                    for y in range(height * scale))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width * scale, height * scale, 8, 2, 0, 0,
                                         0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def logo(x, y):
    # A red disc with a white ring on a blue field.
    d = math.hypot(x - 31.5, y - 31.5)
    if d < 20:
        return (220, 40, 40)
    if d < 24:
        return (255, 255, 255)
    return (30, 80, 160)


def banner(x, y):
    # Rolling green hills under a sky that pales toward the horizon.
    hill = 70 + 14 * math.sin(x / 23.0) + 8 * math.sin(x / 7.0 + 1.3)
    if y > hill:
        shade = int(30 * math.sin(x / 11.0 + y / 5.0))
        return (60 + shade // 2, 150 + shade, 70)
    sun = math.hypot(x - 250, y - 28)
    if sun < 16:
        return (255, 214, 70)
    t = y / 100.0
    return (int(110 + 120 * t), int(170 + 70 * t), 250)


def star(x, y):
    # A five-pointed gold star on white, small enough to sit inside a line of text.
    cx, cy = 7.5, 8.0
    angle = math.atan2(y - cy, x - cx)
    radius = math.hypot(x - cx, y - cy)
    reach = 3.2 + 4.2 * abs(math.cos(2.5 * (angle + math.pi / 2)))
    return (235, 170, 20) if radius <= reach else (255, 255, 255)


def tile(x, y):
    return (250, 248, 236) if (x // 8 + y // 8) % 2 == 0 else (244, 240, 222)


def chime(path):
    # Two falling notes, a quarter second each, 8-bit mono.
    rate = 8000
    frames = bytearray()
    for freq in (880, 660):
        for i in range(rate // 4):
            fade = 1.0 - i / (rate / 4)
            frames.append(int(100 * fade * math.sin(2 * math.pi * freq * i / rate)) + 128)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def record(*fields):
    return SEP + "".join(f + SEP for f in fields)


def lines(*items):
    return "{lf13}{lf10}".join(items)


# Colours are 0x00BBGGRR in decimal. Red, green and orange are dark enough to read on the
# background (contrast at least 4.5:1): #C00000, #007000, #A84700.
RED, GREEN, BLUE, ORANGE, NAVY = 0x0000C0, 0x007000, 16711680, 0x0047A8, 8388608

# The favourite lists that the marks refer to, entry 0 first.
COLOURS = [RED, GREEN, BLUE, ORANGE]
LINKS = ["https://sitorva.org/", "https://sitorva.org/manual/", "mailto:hello@sitorva.org",
         "#Fred"]
IMAGES = [
    # Image record: file, position Middle, 16 x 16, alt text, no link, follows on (stays
    # inside the line of text), left, imported, no border.
    record("Image", "Star", "star.png", "1", "16", "16", "a gold star", "0", "", "1", "0",
           "1", "0"),
]
# Window positions as designed; decision item 0; both footer ticks on.
CONFIG = ["45", "187", "45", "18", "165", "419", "0", "1", "1"]


def project():
    header = [
        "<META NAME=\"description\" CONTENT=\"The Sitorva sample page\">",  # head code
        "", "", "", "",              # FTP folder, password, user, host
        "",                          # page file name: none yet
        "1",                         # import the background image
        "background.png",            # background image
        "16777215",                  # background colour: white
        "Sitorva sample page",       # title
    ]
    sections = [
        # Heading: text, size Very Big, bold, not italic/underlined/struck, centred, navy.
        record("Heading", "Welcome", "Welcome to the sample page", "4", "1", "0", "0", "0",
               "1", str(NAVY)),
        # Paragraph: Normal, no styles, left, black, new paragraph, no link; marks inside.
        record("Paragraph", "Intro", lines(
            "This page was built with Sitorva from a project that holds every kind of"
            " section. {i0} Words can be {c0}red{c/}, {c1}green{c/} or {c2}blue{c/};",
            "a run of words can be a link, to {l1}the manual{l/}, to"
            " {l2}an e-mail address{l/} or to {l3}the anchor further down{l/}."),
            "2", "0", "0", "0", "0", "0", "0", "0", ""),
        # Image on the left of the text that follows, linked to the site, with a border.
        record("Image", "Logo", "sitorva-logo.png", "3", "64", "64", "Sitorva logo", "1",
               "https://sitorva.org/", "0", "0", "1", "1"),
        # Paragraph that follows on beside the logo: italic, Big, orange.
        record("Paragraph", "Beside the logo", lines(
            "This paragraph follows on from the picture, so its words flow beside the logo.",
            "It is Big, italic and orange."),
            "3", "0", "1", "0", "0", "0", str(ORANGE), "1", ""),
        # Divider: blue, 4 pixels, 60 per cent, 3D.
        record("Divider", "Blue line", str(BLUE), "4", "60", "1"),
        # Image centred on its own line, linking to the anchor "Fred", without a border.
        record("Image", "Hills", "hills.png", "2", "300", "100", "Green hills under a blue sky",
               "3", "Fred", "0", "1", "1", "0"),
        record("Heading", "Lists", "Two kinds of list", "3", "0", "0", "1", "0", "0", ""),
        # Bulleted list with links on some items, Normal, green.
        record("List", "Bullets",
               "One wizard page for each section", "",
               "Pictures and sounds copied beside the page", "",
               "The manual, one click away", "https://sitorva.org/manual/",
               "Jump to the anchor", "#Fred",
               "", "", "", "", "", "",
               "0", "2", str(GREEN)),
        # Numbered list, Big, black; marks work in item texts.
        record("List", "Steps",
               "Choose a {c0}title{c/} and a background", "",
               "Add sections one by one", "",
               "Press {c2}Create Web Page{c/}", "",
               "Upload the folder", "",
               "", "", "", "", "", "",
               "1", "3", "0"),
        record("Divider", "Red line", str(RED), "2", "100", "0"),
        # Anchor: name and visible text.
        record("Anchor", "Fred", "Fred", "This is the anchor called Fred.", "0"),
        # Paragraph linked as a whole: bold, centred.
        record("Paragraph", "Manual link", "Read the manual to learn more.",
               "2", "1", "0", "0", "0", "1", "0", "0", "https://sitorva.org/manual/"),
        # Line index: label / address pairs, Small, bold, centred.
        record("Index", "Index", lines(
            "The anchor", "#Fred",
            "{c3}Manual{c/}", "https://sitorva.org/manual/",
            "Write to us", "mailto:hello@sitorva.org"),
            "1", "1", "0", "0", "0", "1", "0"),
        # Raw HTML, copied into the page as it stands.
        record("HTML", "Table", lines(
            "<TABLE BORDER=1 CELLPADDING=4>",
            "<TR><TH>Section</TH><TH>Made with</TH></TR>",
            "<TR><TD>This table</TD><TD>Insert HTML</TD></TR>",
            "</TABLE>")),
        # Sound: no autostart, visible player, imported, new paragraph, centred.
        record("PlaySound", "Chime", "chime.wav", "0", "0", "1", "0", "1"),
        record("Heading", "Bye", "Thank you for visiting", "2", "0", "1", "0", "0", "2",
               str(RED)),
    ]
    write_lines("sample.stv", header + sections)


def write_lines(name, items):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(("\r\n".join(items) + "\r\n").encode("cp1252"))


if __name__ == "__main__":
    # The pictures in the page have twice the pixels of their size on the page: sharp on a
    # phone's screen.
    png(os.path.join(HERE, "sitorva-logo.png"), 64, 64, logo, 2)
    png(os.path.join(HERE, "hills.png"), 300, 100, banner, 2)
    png(os.path.join(HERE, "star.png"), 16, 16, star, 2)
    png(os.path.join(HERE, "background.png"), 16, 16, tile)
    chime(os.path.join(HERE, "chime.wav"))
    project()
    write_lines("Sitorva.config", CONFIG)
    write_lines("StvColList", [str(c) for c in COLOURS])
    write_lines("StvLinkList", LINKS)
    write_lines("StvImageList", IMAGES)
