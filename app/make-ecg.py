#!/usr/bin/env python3
"""Writes ecg.txt: 2500 samples of a synthetic lead-II ECG, one per CR LF line.

Samples are 10 ms apart (the monitor plays one per tick); a beat lasts 0.6 s,
100 beats per minute. Each beat is a sum of Gaussians: P wave, Q, R and S of
the QRS complex, and the T wave. The result is scaled to span -0.6 .. 1.35.
"""
import math
import os

SAMPLES = 2500
PERIOD = 0.6  # seconds per beat
STEP = 0.01   # seconds per sample

# (amplitude, centre in seconds from the beat start, width in seconds)
WAVES = [
    (0.15, 0.10, 0.022),   # P
    (-0.12, 0.19, 0.008),  # Q
    (1.40, 0.21, 0.009),   # R
    (-0.60, 0.23, 0.009),  # S
    (0.32, 0.40, 0.040),   # T
]


def raw(t):
    phase = t % PERIOD
    value = 0.0
    for amplitude, centre, width in WAVES:
        for shift in (-PERIOD, 0.0, PERIOD):
            d = phase - centre - shift
            value += amplitude * math.exp(-0.5 * (d / width) ** 2)
    # a slow baseline drift, as from breathing
    return value + 0.03 * math.sin(2 * math.pi * t / 4.0)


def main():
    values = [raw(i * STEP) for i in range(SAMPLES)]
    lo, hi = min(values), max(values)
    scaled = [-0.6 + (v - lo) * 1.95 / (hi - lo) for v in values]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ecg.txt")
    with open(path, "wb") as out:
        for v in scaled:
            text = "%.3f" % v
            if text == "-0.000":
                text = "0.000"
            out.write(text.encode("ascii") + b"\r\n")


if __name__ == "__main__":
    main()
