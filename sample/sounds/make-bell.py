#!/usr/bin/env python3
"""Writes bell.wav, the ship's bell of the Gullstone Point collection.

A short struck-bell tone (a few decaying partials), 8 kHz, 8-bit, mono, so the
file stays small. Pure arithmetic: the same bytes on every run.
"""
import math
import os
import wave

RATE = 8000
SECONDS = 0.8
PARTIALS = ((660.0, 1.0, 3.0), (1320.0, 0.5, 5.0), (1782.0, 0.3, 7.0), (2640.0, 0.15, 9.0))


def sample(t):
    value = sum(level * math.exp(-decay * t) * math.sin(2 * math.pi * freq * t)
                for freq, level, decay in PARTIALS)
    return value / 1.95


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    frames = bytearray()
    for n in range(int(RATE * SECONDS)):
        frames.append(max(0, min(255, 128 + round(127 * sample(n / RATE)))))
    with wave.open(os.path.join(here, "bell.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
