#!/usr/bin/env python3
"""Writes start.wav: the short rising chime played at start-up when the desktop's sound theme
has no login sound. 22050 Hz, 16-bit mono, about 0.7 seconds. Run: python3 make_start_sound.py"""

import math
import os
import struct
import wave

RATE = 22050
NOTES = [(523.25, 0.16), (659.25, 0.16), (783.99, 0.38)]  # C5, E5, G5


def note(freq, seconds):
    count = int(RATE * seconds)
    for i in range(count):
        t = i / RATE
        attack = min(1.0, i / (RATE * 0.01))
        decay = math.exp(-3.0 * t / seconds)
        tone = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t)
        yield 0.35 * attack * decay * tone / 1.3


def main():
    samples = [s for freq, seconds in NOTES for s in note(freq, seconds)]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "start.wav")
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(s * 32767)) for s in samples))


if __name__ == "__main__":
    main()
