#!/usr/bin/env python3
"""Writes the sample project and the small picture, background and sound it uses.

Run from anywhere: python3 examples/sample/make_sample.py
The project refers to its files by bare names, which are read from the project's folder.
"""
import math
import os
import struct
import wave
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = "\xa0"


def png(path, width, height, pixel):
    rows = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
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


def tile(x, y):
    return (250, 248, 236) if (x // 8 + y // 8) % 2 == 0 else (244, 240, 222)


def chime(path):
    rate = 8000
    frames = bytearray()
    for i in range(rate // 4):
        fade = 1.0 - i / (rate / 4)
        sample = int(100 * fade * math.sin(2 * math.pi * 880 * i / rate)) + 128
        frames.append(sample)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def record(*fields):
    return SEP + "".join(f + SEP for f in fields)


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
        record("Heading", "Welcome", "Welcome to the sample page", "4", "1", "0", "0",
               "0", "1", "8388608"),
        record("Paragraph", "Intro",
               "This page was built with Sitorva from a project holding one section of every"
               " kind.{lf13}{lf10}Read {l3}the anchor further down{l/} or visit"
               " {l0}the Sitorva site{l/}.",
               "2", "0", "0", "0", "0", "0", "0", "0", ""),
        record("Image", "Logo", "sitorva-logo.png", "2", "64", "64", "Sitorva logo", "1",
               "https://sitorva.org/", "0", "1", "1", "0"),
        record("Divider", "Line", "255", "3", "80", "0"),
        record("Anchor", "Fred", "Fred", "This is the anchor called Fred.", "0"),
        record("List", "Features",
               "One wizard page per section", "",
               "Pictures copied beside the page", "",
               "Favourite links", "https://sitorva.org/manual/",
               "", "", "", "", "", "", "", "",
               "0", "2", "0"),
        record("Index", "Index", "Top{lf13}{lf10}#Fred{lf13}{lf10}Manual{lf13}{lf10}"
               "https://sitorva.org/manual/", "3", "1", "0", "0", "0", "1", "0"),
        record("HTML", "Table", "<TABLE BORDER=1>{lf13}{lf10}<TR><TD>Raw</TD><TD>HTML</TD>"
               "</TR>{lf13}{lf10}</TABLE>"),
        record("PlaySound", "Chime", "chime.wav", "0", "0", "1", "0", "1"),
        record("Heading", "Bye", "Thank you for visiting", "2", "0", "1", "0", "0", "2", ""),
    ]
    text = "\r\n".join(header + sections) + "\r\n"
    with open(os.path.join(HERE, "sample.stv"), "wb") as f:
        f.write(text.encode("cp1252"))


if __name__ == "__main__":
    png(os.path.join(HERE, "sitorva-logo.png"), 64, 64, logo)
    png(os.path.join(HERE, "background.png"), 16, 16, tile)
    chime(os.path.join(HERE, "chime.wav"))
    project()
