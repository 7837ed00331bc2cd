#!/usr/bin/env python3
"""Writes the monitor's skin: MainFrame.json, style.json and images/*.png,
and its night look in night/: the same styles and images, dimmer.

Run it after changing the look; the build zips this folder into
Quelvane.data, and night/ with MainFrame.json into QuelvaneNight.data.
Only the standard library is needed.
"""
import json
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- images


def write_png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a) with 0..255 channels."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def variant_path(path, scale):
    """images/a.png at scale 2 is images/a@2x.png, as Qt names them."""
    stem, ext = os.path.splitext(path)
    return path if scale == 1 else "%s@%dx%s" % (stem, scale, ext)


# Every image is written at 1x and 2x, for dense screens.
SCALES = (1, 2)


def shape_image(path, size, colour, inside, samples=4):
    """An antialiased shape: inside(u, v) on the unit square, v downwards;
    one image for each of SCALES."""
    for scale in SCALES:
        shape_image_at(variant_path(path, scale), size * scale, colour, inside, samples)


def shape_image_at(path, size, colour, inside, samples):
    def pixel(x, y):
        hits = 0
        for i in range(samples):
            for j in range(samples):
                u = (x + (i + 0.5) / samples) / size
                v = (y + (j + 0.5) / samples) / size
                hits += inside(u, v)
        alpha = round(255 * hits / (samples * samples))
        return (colour[0], colour[1], colour[2], alpha)
    write_png(path, size, size, pixel)


def heart(u, v):
    x = (u - 0.5) * 2.6
    y = (0.45 - v) * 2.6
    return (x * x + y * y - 1) ** 3 - x * x * y ** 3 <= 0


def bell(u, v):
    x = u - 0.5
    if 0.82 <= v <= 0.9:
        return abs(x) <= 0.42
    if 0.15 <= v < 0.82:
        half = 0.18 + 0.24 * ((v - 0.15) / 0.67) ** 1.5
        return abs(x) <= half
    if v > 0.9:
        return x * x + (v - 0.9) ** 2 <= 0.09 ** 2
    return x * x + (v - 0.12) ** 2 <= 0.06 ** 2


# The night look keeps this share of every colour's brightness.
NIGHT = 0.55


def dim_rgb(rgb, factor):
    return tuple(round(c * factor) for c in rgb)


def make_images(folder, factor=1.0):
    os.makedirs(folder, exist_ok=True)
    shape_image(os.path.join(folder, "heart.png"), 26, dim_rgb((77, 253, 0), factor), heart)
    shape_image(os.path.join(folder, "bell.png"), 22, dim_rgb((235, 240, 245), factor), bell)

# ---------------------------------------------------------------- styles

# Trace colours, the same as the charts draw with. Few distinct font sizes:
# each one costs a font engine and its glyphs at start-up.
GREEN, CYAN, YELLOW, WHITE = "4dfd00", "2cf8f7", "fafb39", "f2f4f7"
GREY, DIM = "8b98a7", "5d6b7a"


def rect(name, clr, border=None, round_=0, size=1, **sides):
    style = {"type": 1, "name": name, "drawImg": False, "clr": clr, "round": round_}
    if border:
        style.update({"border": True, "borderclr": border, "borderSize": size})
    style.update(sides)
    return style


def image_rect(name, img):
    return {"type": 1, "name": name, "drawImg": True, "img": img}


def font(name, clr, size, bold=False, hor=0, ver=1):
    return {"type": 2, "name": name, "clr": clr, "size": size, "bold": bold,
            "hor": hor, "ver": ver, "family": "DejaVu Sans"}


STYLES = [
    rect("window", "ff080b10"),
    rect("topBar", "ff111820", "ff24303d", 0, 1, leftBorder=False, topBorder=False, rightBorder=False),
    rect("panel", "ff0d1319", "ff1c2732", 6),
    rect("tileEcg", "ff0d1319", "ff1f4a14", 6),
    rect("tilePleth", "ff0d1319", "ff134a4a", 6),
    rect("tileResp", "ff0d1319", "ff4a4a16", 6),
    rect("tileNibp", "ff0d1319", "ff3a4450", 6),
    rect("bottomBar", "ff111820", "ff24303d", 0, 1, leftBorder=False, bottomBorder=False, rightBorder=False),
    rect("modeBox", "ff0a0f14", "ff24303d", 8),
    rect("modeOff", "ff0a0f14"),
    rect("modeHover", "ff1a2430", None, 6),
    rect("modeOn", "ff1f6feb", None, 6),
    rect("batFrame", "ff0a0f14", "ffb8c4d0", 3),
    rect("batTip", "ffb8c4d0", None, 1),
    rect("batGroove", "ff0a0f14"),
    rect("batChunk", "ff3ddc84", None, 1),
    rect("button", "ff18212b", "ff2e3c4b", 6),
    rect("buttonHover", "ff202c39", "ff3d5064", 6),
    rect("buttonDown", "ff2a3849", "ff4c6178", 6),
    rect("alarmBox", "ff0a0f14", "ff24303d", 6),
    image_rect("heart", "images/heart.png"),
    font("title", WHITE, 20, True),
    font("subtitle", GREY, 13),
    font("mode", WHITE, 15, True, 1),
    font("battery", GREY, 13, False, 2),
    font("clock", WHITE, 20, True, 2),
    font("waveEcg", GREEN, 15, True),
    font("wavePleth", CYAN, 15, True),
    font("waveResp", YELLOW, 15, True),
    font("waveEcg2", WHITE, 15, True),
    font("waveInfo", DIM, 13, False, 2),
    font("paramEcg", GREEN, 20, True),
    font("paramPleth", CYAN, 20, True),
    font("paramResp", YELLOW, 20, True),
    font("paramNibp", WHITE, 20, True),
    font("unitEcg", GREEN, 13),
    font("unitPleth", CYAN, 13),
    font("unitResp", YELLOW, 13),
    font("unitNibp", WHITE, 13),
    font("limits", GREY, 13, False, 0),
    font("valueHr", GREEN, 92, True, 2),
    font("valueSpo2", CYAN, 92, True, 2),
    font("valuePr", CYAN, 44, True, 2),
    font("valueRr", YELLOW, 92, True, 2),
    font("valueNibp", WHITE, 62, True, 2),
    font("buttonText", WHITE, 15, True, 1),
    font("alarmText", GREY, 15, True, 0),
]

# ---------------------------------------------------------------- MainFrame


def box(name, x, y, w, h, style, children=()):
    element = {"type": "qtcontainer", "name": name, "x": x, "y": y, "w": w, "h": h,
               "style": [[style, 0, 0]]}
    if children:
        element["child"] = list(children)
    return element


def label(name, x, y, w, h, style, text):
    return {"type": "qtlabel", "name": name, "x": x, "y": y, "w": w, "h": h,
            "style": [[style, 0, 0]], "attr": {"text": text}}


def mode(name, x, text):
    return {"type": "qtradiobox", "name": name, "x": x, "y": 3, "w": 104, "h": 30,
            "style": [["modeOff", 0, 0], ["modeHover", 0, 1], ["modeOn", 0, 4], ["mode", 0, 8]],
            "attr": {"text": text, "showIcon": False, "pushlike": True}}


def button(name, x, text, icon=None):
    attr = {"text": text}
    if icon:
        attr.update({"iconPath": icon, "iconHor": 0, "iconX": 16, "txtX": 14})
    else:
        attr["hasIcon"] = False
    return {"type": "qtbutton", "name": name, "x": x, "y": 18, "w": 128, "h": 48,
            "style": [["button", 0, 0], ["buttonHover", 0, 1], ["buttonDown", 0, 2], ["buttonText", 0, 4]],
            "attr": attr}


def wave_panel(name, y, h, title_style, title, info, container):
    return box(name, 8, y, 696, h, "panel", [
        label(name + "Title", 12, 6, 240, 22, title_style, title),
        label(name + "Info", 420, 6, 264, 22, "waveInfo", info),
        box(container, 4, 30, 688, h - 34, "emptyRect"),
    ])


def main_frame():
    top = box("topBar", 0, 0, 1024, 56, "topBar", [
        label("title", 16, 8, 150, 40, "title", "QUELVANE"),
        label("bed", 166, 8, 150, 40, "subtitle", "Bed 07   Adult"),
        box("modes", 320, 10, 330, 36, "modeBox", [
            mode("radioMain", 4, "Monitor"),
            mode("radioTrends", 113, "Trends"),
            mode("radioAlarms", 222, "Alarms"),
        ]),
        label("batteryText", 656, 8, 40, 40, "battery", "BAT"),
        box("batFrame", 702, 19, 52, 18, "batFrame", [
            {"type": "qtprogressbar", "name": "battery", "x": 3, "y": 3, "w": 46, "h": 12,
             "style": [["batGroove", 0, 0], ["batChunk", 0, 2]], "attr": {"val": 5}},
        ]),
        box("batTip", 754, 24, 4, 8, "batTip"),
        label("time", 766, 8, 246, 40, "clock", "0000-00-00  00:00:00"),
    ])
    waves = [
        wave_panel("ecgPanel", 64, 236, "waveEcg", "ECG  II", "x1   25 mm/s   Diagnostic", "ecgContainer"),
        wave_panel("plethPanel", 308, 196, "wavePleth", "Pleth", "SpO₂ probe   Finger", "plethContainer"),
        wave_panel("respPanel", 512, 196, "waveResp", "Resp", "Impedance   6.25 mm/s", "respContainer"),
        wave_panel("ecg2Panel", 716, 196, "waveEcg2", "ECG  V", "x0.5   25 mm/s", "pluseContainer"),
    ]
    tiles = [
        box("hrTile", 712, 64, 304, 236, "tileEcg", [
            label("hrName", 14, 8, 80, 26, "paramEcg", "HR"),
            label("hrUnit", 14, 34, 80, 20, "unitEcg", "bpm"),
            box("heartIcon", 16, 64, 26, 26, "heart"),
            label("hrHigh", 14, 168, 60, 20, "limits", "120"),
            label("hrLow", 14, 190, 60, 20, "limits", "50"),
            label("hr", 76, 44, 216, 150, "valueHr", "---"),
        ]),
        box("spo2Tile", 712, 308, 304, 196, "tilePleth", [
            label("spo2Name", 14, 8, 90, 26, "paramPleth", "SpO₂"),
            label("spo2Unit", 14, 34, 80, 20, "unitPleth", "%"),
            label("spo2Limits", 14, 58, 70, 20, "limits", "100 / 90"),
            label("spo2", 92, 8, 200, 110, "valueSpo2", "---"),
            label("prName", 14, 136, 60, 26, "paramPleth", "PR"),
            label("prUnit", 66, 140, 60, 20, "unitPleth", "bpm"),
            label("pluse", 152, 124, 140, 60, "valuePr", "---"),
        ]),
        box("rrTile", 712, 512, 304, 196, "tileResp", [
            label("rrName", 14, 8, 80, 26, "paramResp", "RR"),
            label("rrUnit", 14, 34, 80, 20, "unitResp", "rpm"),
            label("rrHigh", 14, 130, 60, 20, "limits", "30"),
            label("rrLow", 14, 152, 60, 20, "limits", "8"),
            label("rp", 92, 40, 200, 120, "valueRr", "---"),
        ]),
        box("nibpTile", 712, 716, 304, 196, "tileNibp", [
            label("nibpName", 14, 8, 90, 26, "paramNibp", "NIBP"),
            label("nibpUnit", 14, 34, 80, 20, "unitNibp", "mmHg"),
            label("nibpMode", 14, 160, 200, 20, "limits", "Auto  15 min"),
            label("nbp", 12, 56, 280, 96, "valueNibp", "---/--"),
        ]),
    ]
    bottom = box("bottomBar", 0, 920, 1024, 104, "bottomBar", [
        box("alarmBox", 16, 18, 300, 48, "alarmBox", [
            label("alarmText", 14, 4, 280, 40, "alarmText", "No active alarms"),
        ]),
        button("silence", 332, "Silence", "images/bell.png"),
        button("freeze", 470, "Freeze"),
        button("nibpStart", 608, "NIBP Start"),
        button("menu", 746, "Menu"),
        button("standby", 884, "Standby"),
        label("status", 16, 74, 996, 22, "limits",
              "Patient: Adult      Temp: 36.8 °C      Pacer: Off      Filter: Monitor      Alarm volume: 5      "
              "Central station: connected"),
    ])
    root = {"type": "qtcontainer", "name": "root", "layout": {"type": 1},
            "style": [["window", 0, 0]], "child": [top] + waves + tiles + [bottom]}
    return {"elements": [root]}


def dim_hex(text, factor):
    """RRGGBB or AARRGGBB with the colour channels scaled, alpha kept."""
    alpha, rgb = text[:-6], text[-6:]
    channels = [int(rgb[i:i + 2], 16) for i in (0, 2, 4)]
    return alpha + "".join("%02x" % c for c in dim_rgb(channels, factor))


def night_styles():
    dimmed = []
    for style in STYLES:
        style = dict(style)
        for key in ("clr", "borderclr"):
            if key in style:
                style[key] = dim_hex(style[key], NIGHT)
        dimmed.append(style)
    return dimmed


def write_json(name, value):
    with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="\n") as out:
        json.dump(value, out, indent=1, ensure_ascii=False)
        out.write("\n")


def main():
    make_images(os.path.join(HERE, "images"))
    write_json("style.json", {"style": STYLES})
    write_json("MainFrame.json", main_frame())
    make_images(os.path.join(HERE, "night", "images"), NIGHT)
    write_json(os.path.join("night", "style.json"), {"style": night_styles()})


if __name__ == "__main__":
    main()
