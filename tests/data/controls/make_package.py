#!/usr/bin/env python3
"""Writes controls.zip, the skin package of the button, check box, radio and
progress bar tests: style.json, a few solid PNG images and the window
description "controls". Run it from any directory; it writes next to itself."""

import json
import os
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png(width, height, pixel):
    """A PNG of RGBA pixels; pixel(x, y) returns (r, g, b, a)."""
    rows = b"".join(
        b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width))
        for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xffffffff)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def solid(width, height, rgb):
    return png(width, height, lambda x, y: (*rgb, 255))


def framed(size, edge, centre):
    """A square with a one-pixel edge, for nine-grid and icon looks."""
    def pixel(x, y):
        on_edge = x in (0, size - 1) or y in (0, size - 1)
        return (*(edge if on_edge else centre), 255)
    return png(size, size, pixel)


IMAGES = {
    "images/icon.png": solid(8, 8, (255, 255, 0)),       # yellow
    "images/hot.png": solid(8, 8, (255, 0, 255)),        # magenta
    "images/off.png": solid(12, 12, (255, 128, 0)),      # orange
    "images/offhot.png": solid(12, 12, (128, 0, 128)),   # purple
    "images/on.png": solid(12, 12, (0, 160, 160)),       # teal
    "images/onhot.png": solid(12, 12, (0, 0, 128)),      # navy
    "images/roff.png": framed(14, (60, 60, 60), (230, 230, 230)),
    "images/ron.png": framed(14, (60, 60, 60), (200, 30, 30)),
    "images/panel.png": framed(12, (40, 90, 160), (210, 225, 245)),
}


def rect(name, clr, **extra):
    record = {"type": 1, "name": name, "drawImg": False, "clr": clr}
    record.update(extra)
    return record


def font(name, clr, **extra):
    record = {"type": 2, "name": name, "clr": clr, "family": "DejaVu Sans", "size": 12}
    record.update(extra)
    return record


STYLES = {"style": [
    rect("red", "ffff0000"),
    rect("green", "ff00ff00"),
    rect("blue", "ff0000ff"),
    rect("yellow", "ffffff00"),
    rect("cyan", "ff00ffff"),
    rect("grey", "ff808080"),
    rect("black", "ff000000"),
    rect("white", "ffffffff"),
    rect("btnNormal", "ff2d6cdf", round=4),
    rect("btnHover", "ff4a88f0", round=4),
    rect("btnPressed", "ff1c4fa8", round=4),
    rect("btnDisabled", "ffb0b0b0", round=4),
    rect("btnFramed", "fff0f0f0", border=True, borderSize=2, borderclr="ff2d6cdf"),
    rect("groove", "ff303030"),
    rect("chunk", "ff20c040"),
    rect("checkedBack", "ffdff5e1"),
    {"type": 1, "name": "panel", "img": "images/panel.png", "margin": [3, 3, 3, 3]},
    font("fontWhite", "ffffff", hor=1),
    font("fontBlack", "000000"),
    font("fontRed", "ff0000"),
    font("fontGrey", "606060", hor=1),
    font("fontBig", "000000", size=20, bold=True),
]}


def button(name, x, y, w, h, style, **attr):
    return {"type": "button", "name": name, "x": x, "y": y, "w": w, "h": h,
            "style": style, "attr": attr}


DESCRIPTION = {"elements": [
    button("okButton", 10, 10, 100, 30,
           [["btnNormal", 0, 0], ["btnHover", 0, 1], ["btnPressed", 0, 2], ["btnDisabled", 0, 3],
            ["fontWhite", 0, 4]],
           text="OK", iconPath="images/icon.png", hotIconPath="images/hot.png",
           iconHor=0, iconX=6),
    dict(button("offButton", 120, 10, 100, 30,
                [["btnNormal", 0, 0], ["btnDisabled", 0, 3], ["fontWhite", 0, 4], ["fontGrey", 0, 7]],
                text="Off"), enable=False),
    button("framedButton", 230, 10, 100, 30, [["btnFramed", 0, 0], ["fontBlack", 0, 4]],
           text="Framed", txtX=8),
    {"type": "progressbar", "name": "progress", "x": 10, "y": 52, "w": 200, "h": 18,
     "style": [["groove", 0, 0], ["chunk", 0, 2], ["fontWhite", 0, 4]],
     "attr": {"val": 40, "showText": True}},
    {"type": "qtprogressbar", "name": "fullProgress", "x": 220, "y": 52, "w": 110, "h": 18,
     "style": [["groove", 0, 0], ["chunk", 0, 2]], "attr": {"val": 100}},
    {"type": "checkbox", "name": "plainCheck", "x": 10, "y": 82, "w": 150, "h": 20,
     "style": [["fontBlack", 0, 8], ["fontRed", 0, 9]], "attr": {"text": "Built-in, checked"}},
    {"type": "checkbox", "name": "plainCheck2", "x": 10, "y": 106, "w": 150, "h": 20,
     "style": [["fontBlack", 0, 8], ["fontRed", 0, 9]], "attr": {"text": "Built-in"}},
    {"type": "qtcheckbox", "name": "skinCheck", "x": 170, "y": 82, "w": 160, "h": 20,
     "style": [["checkedBack", 0, 4], ["fontBlack", 0, 8], ["fontRed", 0, 9]],
     "attr": {"text": "Skinned, checked", "iconPath": "images/off.png", "siconPath": "images/on.png",
              "hotIconPath": "images/offhot.png", "sHotIconPath": "images/onhot.png", "iconX": 2}},
    {"type": "qtcheckbox", "name": "skinCheck2", "x": 170, "y": 106, "w": 160, "h": 20,
     "style": [["checkedBack", 0, 4], ["fontBlack", 0, 8], ["fontRed", 0, 9]],
     "attr": {"text": "Skinned", "iconPath": "images/off.png", "siconPath": "images/on.png", "iconX": 2}},
    {"type": "radio", "name": "radioA", "x": 10, "y": 136, "w": 150, "h": 20,
     "style": [["empty", 0, 4], ["fontBlack", 0, 8]],
     "attr": {"text": "Adult", "iconPath": "images/roff.png", "siconPath": "images/ron.png"}},
    {"type": "radiobox", "name": "radioB", "x": 170, "y": 136, "w": 160, "h": 20,
     "style": [["empty", 0, 4], ["fontBlack", 0, 8]],
     "attr": {"text": "Child", "iconPath": "images/roff.png", "siconPath": "images/ron.png"}},
]}


def main():
    out = os.path.join(HERE, "controls.zip")
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as package:
        members = [("style.json", json.dumps(STYLES, indent=1).encode()),
                   ("controls.json", json.dumps(DESCRIPTION, indent=1).encode())]
        members += sorted(IMAGES.items())
        for name, data in members:
            # A fixed time stamp keeps the archive the same on every run.
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            package.writestr(info, data)
    print(out)


if __name__ == "__main__":
    main()
