#!/usr/bin/env python3
"""Writes the gallery skin: Gallery.json, style.json and images/*.png.

One window with every control family in the monitor's dark look. The
monitor's own styles are taken from ../style.json, so the two skins keep one
palette; the build zips this folder into Gallery.data. Only the standard
library is needed.
"""
import importlib.util
import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = os.path.dirname(HERE)


def load_monitor_skin():
    location = importlib.util.spec_from_file_location("make_skin", os.path.join(SKIN, "make-skin.py"))
    module = importlib.util.module_from_spec(location)
    location.loader.exec_module(module)
    return module


MONITOR = load_monitor_skin()
write_png, rect, font = MONITOR.write_png, MONITOR.rect, MONITOR.font
GREEN, CYAN, YELLOW, WHITE = MONITOR.GREEN, MONITOR.CYAN, MONITOR.YELLOW, MONITOR.WHITE
GREY, DIM = MONITOR.GREY, MONITOR.DIM
ACCENT = "1f6feb"  # the monitor's selected mode

# ---------------------------------------------------------------- images


def layered_image(path, width, height, layers, samples=4):
    """Antialiased shapes painted in order: layers of (rgb, inside(x, y))
    with x, y in pixels of the 1x image; one image for each scale."""
    for scale in MONITOR.SCALES:
        layered_image_at(MONITOR.variant_path(path, scale), width, height, layers, samples, scale)


def layered_image_at(path, width, height, layers, samples, scale):
    def pixel(px, py):
        out = [0.0, 0.0, 0.0, 0.0]  # premultiplied
        for rgb, inside in layers:
            hits = sum(inside((px + (i + 0.5) / samples) / scale, (py + (j + 0.5) / samples) / scale)
                       for i in range(samples) for j in range(samples))
            cover = hits / (samples * samples)
            for c in range(3):
                out[c] = rgb[c] * cover + out[c] * (1 - cover)
            out[3] = cover + out[3] * (1 - cover)
        if out[3] == 0:
            return (0, 0, 0, 0)
        return tuple(round(out[c] / out[3]) for c in range(3)) + (round(255 * out[3]),)
    write_png(path, width * scale, height * scale, pixel)


def rgb(hexa):
    return tuple(int(hexa[i:i + 2], 16) for i in (0, 2, 4))


def rounded_box(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def ring(cx, cy, outer, inner):
    return lambda x, y: inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= outer ** 2


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r ** 2


def stroke(points, width):
    """A polyline of the given width."""
    def inside(x, y):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            if (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (width / 2) ** 2:
                return True
        return False
    return inside


def make_images():
    folder = os.path.join(HERE, "images")
    os.makedirs(folder, exist_ok=True)

    def save(name, width, height, layers):
        layered_image(os.path.join(folder, name), width, height, layers)

    frame, hot, ink = rgb("4c6178"), rgb("8b98a7"), rgb("0a0f14")
    tick = stroke([(4.5, 9.0), (7.5, 12.0), (13.0, 5.5)], 2.2)
    for name, edge in (("check_off", frame), ("check_off_hot", hot)):
        save(name + ".png", 18, 18, [(edge, rounded_box(1, 1, 17, 17, 3)), (ink, rounded_box(2.5, 2.5, 15.5, 15.5, 2))])
    for name, fill in (("check_on", rgb(ACCENT)), ("check_on_hot", rgb("4d8ef5"))):
        save(name + ".png", 18, 18, [(fill, rounded_box(1, 1, 17, 17, 3)), (rgb(WHITE), tick)])
    save("radio_off.png", 18, 18, [(frame, ring(9, 9, 8, 6.5))])
    save("radio_off_hot.png", 18, 18, [(hot, ring(9, 9, 8, 6.5))])
    save("radio_on.png", 18, 18, [(rgb(ACCENT), ring(9, 9, 8, 6.5)), (rgb(ACCENT), disc(9, 9, 4))])
    chevron = stroke([(2.0, 2.5), (6.0, 6.5), (10.0, 2.5)], 1.8)
    save("arrow_down.png", 12, 9, [(rgb(GREY), chevron)])
    save("arrow_down_hot.png", 12, 9, [(rgb(WHITE), chevron)])
    MONITOR.shape_image(os.path.join(folder, "heart.png"), 26, rgb(GREEN), MONITOR.heart)
    MONITOR.shape_image(os.path.join(folder, "bell.png"), 22, rgb(WHITE), MONITOR.bell)

# ---------------------------------------------------------------- styles

# The monitor's styles this skin shows as they are.
SHARED = ["window", "topBar", "panel", "modeBox", "modeOff", "modeHover", "modeOn", "batGroove", "batChunk",
          "button", "buttonHover", "buttonDown", "title", "subtitle", "mode", "buttonText", "limits"]


def monitor_styles():
    with open(os.path.join(SKIN, "style.json"), encoding="utf-8") as source:
        records = {record["name"]: record for record in json.load(source)["style"]}
    return [records[name] for name in SHARED]


def own_styles():
    return [
        rect("buttonOff", "ff111820", "ff1c2732", 6),
        font("buttonTextOff", DIM, 15, True, 1),
        font("section", GREY, 13, True),
        font("body", WHITE, 14),
        font("bodyDim", DIM, 14),
        font("bodyOn", WHITE, 14, True),
        font("centred", WHITE, 14, False, 1),
        font("small", GREY, 12),
        # sliders, switches, progress bars
        rect("channel", "ff18212b", None, 3),
        rect("channelFill", "ff" + ACCENT, None, 3),
        rect("thumb", "fff2f4f7", "ff0a0f14", 9, 2),
        rect("thumbHover", "ffffffff", "ff" + ACCENT, 9, 2),
        rect("thumbDown", "ffb8c4d0", "ff" + ACCENT, 9, 2),
        rect("switchOn", "ff1f4a14", "ff3ddc84", 14),
        rect("switchOff", "ff18212b", "ff2e3c4b", 14),
        rect("switchThumb", "fff2f4f7", None, 11),
        font("switchText", WHITE, 11, True, 1),
        rect("progress", "ff18212b", None, 4),
        rect("progressFill", "ff" + ACCENT, None, 4),
        font("progressText", WHITE, 12, True, 1),
        # item views
        rect("view", "ff0a0f14", "ff24303d", 4),
        rect("row", "ff0d1319", "ff1c2732", 0, 1, leftBorder=False, topBorder=False, rightBorder=False),
        rect("rowHover", "ff18212b"),
        rect("rowSelected", "ff17345f"),
        rect("template", "ff0d1319", "ff1c2732", 0, 1, leftBorder=False, topBorder=False, rightBorder=False),
        rect("header", "ff18212b", "ff2e3c4b", 0, 1, leftBorder=False, topBorder=False),
        font("cell", WHITE, 13),
        font("cellSelected", WHITE, 13, True),
        font("headerText", GREY, 13, True),
        rect("barTrack", "ff0a0f14"),
        rect("barArrow", "ff0a0f14"),
        rect("barThumb", "ff2e3c4b", None, 3),
        rect("barThumbHover", "ff4c6178", None, 3),
        # text input
        rect("field", "ff0a0f14", "ff2e3c4b", 4),
        rect("fieldHover", "ff0a0f14", "ff4c6178", 4),
        rect("fieldFocus", "ff0a0f14", "ff" + ACCENT, 4),
        font("fieldText", WHITE, 14),
        font("fieldTip", DIM, 14),
        dict(font("comboText", WHITE, 14), x=8),
        rect("comboButton", "ff18212b", None, 4),
        rect("popup", "ff111820", "ff2e3c4b", 4),
        # tabs, group box, LCD, menu bar, splitter
        rect("tabs", "ff0a0f14", "ff24303d", 6),
        rect("tab", "ff0a0f14", None, 6),
        rect("tabHover", "ff1a2430", None, 6),
        rect("tabOn", "ff" + ACCENT, None, 6),
        font("tabText", GREY, 14, True, 1),
        font("tabTextOn", WHITE, 14, True, 1),
        font("groupTitle", GREY, 12, True),
        rect("lcd", "ff0a0f14", None, 4),
        rect("menuItem", "ff111820", None, 4),
        rect("menuItemHover", "ff202c39", None, 4),
        rect("menuItemDown", "ff" + ACCENT, None, 4),
        font("menuText", GREY, 14, False, 1),
        font("menuTextOn", WHITE, 14, False, 1),
        rect("splitter", "ff24303d"),
    ]

# ---------------------------------------------------------------- Gallery


def element(kind, name, x, y, w, h, styles=(), attr=None, children=(), **extra):
    """styles: (style name, slot) pairs."""
    out = {"type": kind, "name": name, "x": x, "y": y, "w": w, "h": h}
    if styles:
        out["style"] = [[style, 0, slot] for style, slot in styles]
    if attr is not None:
        out["attr"] = attr
    out.update(extra)
    if children:
        out["child"] = list(children)
    return out


def label(name, x, y, w, h, style, text):
    return element("qtlabel", name, x, y, w, h, [(style, 0)], {"text": text})


def panel(name, x, y, w, h, title, children):
    return element("qtcontainer", name, x, y, w, h, [("panel", 0)],
                   children=[label(name + "Title", 12, 6, w - 24, 20, "section", title)] + list(children))


BUTTON = [("button", 0), ("buttonHover", 1), ("buttonDown", 2), ("buttonOff", 3),
          ("buttonText", 4), ("buttonTextOff", 7)]


def button(name, x, y, w, text, **extra):
    attr = {"text": text, "hasIcon": False}
    return element("qtbutton", name, x, y, w, 40, BUTTON, attr, **extra)


def check(name, x, y, text, checked=False, **extra):
    attr = {"text": text, "checked": checked, "iconPath": "images/check_off.png", "hotIconPath": "images/check_off_hot.png",
            "siconPath": "images/check_on.png", "sHotIconPath": "images/check_on_hot.png", "iconX": 8}
    return element("qtcheckbox", name, x, y, 150, 28, [("bodyDim" if extra else "body", 8), ("bodyOn", 9)],
                   attr, **extra)


def radio(name, x, y, text, **declared):
    attr = {"text": text, "group": "patient", "iconPath": "images/radio_off.png", "hotIconPath": "images/radio_off_hot.png",
            "siconPath": "images/radio_on.png", "sHotIconPath": "images/radio_on.png", "iconHor": 0, **declared}
    return element("qtradiobox", name, x, y, 140, 28, [("empty", 4), ("body", 8), ("bodyOn", 9)], attr)


def mode(name, x, text, **declared):
    return element("qtradiobox", name, x, 3, 100, 30,
                   [("modeOff", 0), ("modeHover", 1), ("modeOn", 4), ("mode", 8)],
                   {"text": text, "showIcon": False, "pushlike": True, "group": "mode", **declared})


def bars(vertical=True, horizontal=True):
    """Scroll bar elements: slim bars whose arrows look like the track."""
    look = [("barTrack", 0), ("barArrow", 2), ("barArrow", 6), ("barThumb", 10), ("barThumbHover", 11)]
    out = []
    if vertical:
        out.append({"type": "qtscrollbar", "w": 10, "style": [[s, 0, i] for s, i in look],
                    "attr": {"hor": False, "size": 4}})
    if horizontal:
        out.append({"type": "qtscrollbar", "h": 10, "style": [[s, 0, i] for s, i in look],
                    "attr": {"hor": True, "size": 4}})
    return out


VIEW_ROWS = [("view", 0), ("row", 2), ("rowHover", 3), ("rowSelected", 4)]
VIEW_TEXT = [("cell", 6), ("cellSelected", 8)]


def buttons_panel(x, y):
    return panel("buttons", x, y, 330, 196, "BUTTONS", [
        button("btnNormal", 12, 34, 148, "Normal"),
        button("btnHover", 170, 34, 148, "Hover"),
        button("btnPressed", 12, 84, 148, "Pressed"),
        button("btnDisabled", 170, 84, 148, "Disabled", enable=False),
        element("qtbutton", "btnIcon", 12, 138, 306, 44, BUTTON,
                {"text": "Silence alarms", "iconPath": "images/bell.png", "iconHor": 0, "iconX": 18}),
    ])


def choices_panel(x, y):
    return panel("choices", x, y, 330, 196, "CHECK BOXES AND RADIOS", [
        check("checkOff", 8, 32, "Alarm sound"),
        check("checkOn", 8, 62, "Pacer detect", checked=True),
        check("checkDisabled", 8, 92, "Locked", enable=False),
        radio("radioAdult", 178, 32, "Adult", checked=True),
        radio("radioChild", 178, 62, "Pediatric"),
        radio("radioNeonate", 178, 92, "Neonate"),
        element("qtcontainer", "modes", 12, 140, 306, 36, [("modeBox", 0)], children=[
            mode("modeMonitor", 2, "Monitor", checked=True),
            mode("modeTrends", 103, "Trends"),
            mode("modeAlarms", 204, "Alarms"),
        ]),
    ])


def ranges_panel(x, y):
    thumb = [("channel", 0), ("channelFill", 2), ("thumb", 4), ("thumbHover", 5), ("thumbDown", 6)]
    switch = [("switchThumb", 2), ("switchText", 6), ("switchText", 7)]
    return panel("ranges", x, y, 330, 196, "SLIDERS, SWITCHES AND PROGRESS", [
        element("qtslider", "volume", 12, 34, 250, 24, thumb,
                {"isHor": True, "min": 0, "max": 10, "val": 6, "thumbW": 18, "thumbH": 18, "channelSize": 6}),
        element("qtslider", "level", 286, 30, 24, 150, thumb,
                {"isHor": False, "min": 0, "max": 100, "val": 35, "thumbW": 18, "thumbH": 18, "channelSize": 6}),
        element("qtswitch", "switchOn", 12, 72, 84, 30, [("switchOn", 0)] + switch,
                {"on": 1, "leftText": "ON", "rightText": "OFF", "thumbW": 30, "thumbH": 22, "margin": 4}),
        element("qtswitch", "switchOff", 108, 72, 84, 30, [("switchOff", 0)] + switch,
                {"on": 0, "leftText": "ON", "rightText": "OFF", "thumbW": 30, "thumbH": 22, "margin": 4}),
        element("qtprogressbar", "progress", 12, 118, 250, 20,
                [("progress", 0), ("progressFill", 2), ("progressText", 4)], {"val": 72, "showText": True}),
        label("batteryText", 12, 150, 60, 24, "limits", "BAT"),
        element("qtprogressbar", "battery", 60, 156, 120, 12,
                [("batGroove", 0), ("batChunk", 2)], {"min": 0, "max": 100, "val": 45, "showText": False}),
    ])


def list_panel(x, y):
    row = element("qtcontainer", "patientRow", 0, 0, 306, 48, [("template", 0)], children=[
        element("qtpicture", "rowIcon", 12, 11, 26, 26, attr={"path": "images/heart.png", "fill": False}),
        label("rowName", 50, 5, 160, 22, "body", "Bed 07   Adult"),
        label("rowInfo", 50, 25, 160, 18, "small", "HR 72   SpO₂ 98   36.8 °C"),
        element("qtbutton", "rowOpen", 214, 10, 72, 28, BUTTON, {"text": "Open", "hasIcon": False}),
    ])
    return panel("listPanel", x, y, 330, 240, "LIST VIEW WITH TEMPLATE ROWS", [
        element("qtlistview", "patientList", 12, 32, 306, 196, VIEW_ROWS, {"itemHeight": 48, "spacing": 0},
                children=[row] + bars(horizontal=False)),
    ])


def grid_panel(x, y):
    return panel("gridPanel", x, y, 330, 240, "DATA GRID WITH A CHECK COLUMN", [
        element("qtdatagrid", "grid", 12, 32, 306, 196,
                VIEW_ROWS + VIEW_TEXT + [("header", 10), ("headerText", 14)],
                {"checkstyle": True, "itemHeight": 28, "checkedImg": "images/check_on.png",
                 "uncheckImg": "images/check_off.png",
                 "columns": ["Bed", "Patient", "HR", "SpO2"],
                 "rows": [["07", "Jane Doe", "72", "98"], ["08", "John Roe", "88", "95"],
                          ["09", "Ann Poe", "64", "99"], ["10", "Max Moe", "110", "92"],
                          ["11", "Eva Loe", "79", "97"], ["12", "Tom Koe", "58", "96"]]},
                children=bars()),
    ])


def tree_panel(x, y):
    return panel("treePanel", x, y, 330, 240, "TREE", [
        element("qttree", "tree", 12, 32, 306, 196, VIEW_ROWS + [("cell", 6)], {"itemHeight": 26, "rows": [
            {"text": "Ward A", "child": [{"text": "Bed 07", "child": ["ECG", "SpO2"]}, "Bed 08"]},
            {"text": "Ward B", "child": ["Bed 09", "Bed 10"]},
            "Central station"]},
                children=bars()),
    ])


FIELD = [("field", 0), ("fieldHover", 1), ("fieldFocus", 2), ("fieldText", 4), ("fieldTip", 8)]


def fields_panel(x, y):
    combo = [("field", 0), ("fieldHover", 1), ("comboButton", 4), ("comboText", 8), ("popup", 12),
             ("row", 13), ("rowHover", 14), ("rowSelected", 15), ("cell", 17), ("cellSelected", 19)]
    margins = {"leftMargin": 8, "rightMargin": 8}
    return panel("fields", x, y, 330, 196, "LINE EDITS AND COMBO BOX", [
        element("qtdedit", "editName", 12, 32, 306, 30, FIELD, dict(margins, text="Jane Doe")),
        element("qtdedit", "editSearch", 12, 70, 306, 30, FIELD, dict(margins, tip="Search patients")),
        element("qtdedit", "editPassword", 12, 108, 306, 30, FIELD, dict(margins, text="secret", ispassord=True)),
        element("qtcombobox", "combo", 12, 146, 306, 30, combo,
                {"items": ["Adult", "Pediatric", "Neonate"], "current": 0, "btnIcon": "images/arrow_down.png",
                 "btnHotIcon": "images/arrow_down_hot.png"}),
    ])


def text_panel(x, y):
    log = ("<p><b>Alarm log</b></p>"
           "<p>08:12&nbsp;&nbsp;HR high, 128 bpm</p>"
           "<p>08:40&nbsp;&nbsp;SpO2 probe off</p>"
           "<p>09:05&nbsp;&nbsp;NIBP 118/76 mmHg</p>"
           "<p>09:30&nbsp;&nbsp;Resp low, 7 rpm</p>"
           "<p>10:02&nbsp;&nbsp;Lead II off</p>"
           "<p>10:15&nbsp;&nbsp;HR back to 74 bpm</p>")
    return panel("textPanel", x, y, 330, 196, "TEXT EDIT", [
        element("qttext", "notes", 12, 32, 306, 152, FIELD,
                {"text": log, "leftMargin": 6, "topMargin": 4, "rightMargin": 4, "bottomMargin": 4},
                children=bars(horizontal=False)),
    ])


def group(name, x, text, value, colour):
    return element("qtgroupbox", name, x, 80, 148, 104, [("groupTitle", 2)],
                   {"text": text, "color": "2e3c4b", "size": 1}, children=[
                       element("qtlcdnumber", name + "Lcd", 10, 26, 128, 64, [("lcd", 0)],
                               {"digitCount": 3, "color": int(colour, 16), "text": value}),
                   ])


def more_panel(x, y):
    return panel("more", x, y, 330, 196, "TABS, GROUP BOXES, LCD NUMBERS", [
        element("qttab", "tabs", 12, 32, 306, 36,
                [("tabs", 0), ("tab", 1), ("tabHover", 2), ("tabOn", 3), ("tabText", 5), ("tabTextOn", 7)],
                {"itemSize": 102, "itemSpace": 0, "isHor": True, "items": ["Vitals", "Trends", "Alarms"], "current": 0}),
        group("hrGroup", 12, "HR  bpm", "72", GREEN),
        element("qtsplitter", "splitter", 164, 80, 2, 104, [("splitter", 0)]),
        group("spo2Group", 170, "SpO2  %", "98", CYAN),
    ])


def gallery():
    top = element("qtcontainer", "topBar", 0, 0, 1024, 56, [("topBar", 0)], children=[
        label("title", 16, 8, 130, 40, "title", "GALLERY"),
        label("subtitle", 150, 8, 300, 40, "subtitle", "Every control family in the monitor's look"),
        element("qtmenubar", "menu", 664, 12, 344, 32,
                [("menuItem", 0), ("menuItemHover", 1), ("menuItemDown", 2), ("menuText", 3), ("menuTextOn", 4),
                 ("menuTextOn", 5), ("popup", 6), ("rowHover", 7), ("cell", 8), ("fieldTip", 9), ("splitter", 10)],
                {"menus": [
                    {"title": "&File", "items": [
                        {"text": "&Open record...", "name": "actionOpen", "shortcut": "Ctrl+O"},
                        {"text": "&Print", "name": "actionPrint", "shortcut": "Ctrl+P"},
                        "-",
                        {"text": "&Quit", "name": "actionQuit", "shortcut": "Ctrl+Q"}]},
                    {"title": "&View", "items": [
                        {"text": "&Full screen", "name": "actionFullScreen", "checkable": True},
                        {"text": "&Night mode", "name": "actionNight", "checkable": True, "checked": True},
                        {"title": "&Sweep speed", "items": [
                            {"text": "12.5 mm/s", "name": "actionSweep12"},
                            {"text": "25 mm/s", "name": "actionSweep25"}]}]},
                    {"title": "&Help", "items": [{"text": "&About", "name": "actionAbout"}]}]}),
    ])
    columns = (8, 346, 684)
    panels = [
        buttons_panel(columns[0], 64), choices_panel(columns[1], 64), ranges_panel(columns[2], 64),
        list_panel(columns[0], 268), grid_panel(columns[1], 268), tree_panel(columns[2], 268),
        fields_panel(columns[0], 516), text_panel(columns[1], 516), more_panel(columns[2], 516),
    ]
    root = element("qtcontainer", "root", 0, 0, 1024, 720, [("window", 0)], children=[top] + panels,
                   layout={"type": 1})
    return {"w": 1024, "h": 720, "elements": [root]}


def write_json(name, value):
    with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="\n") as out:
        json.dump(value, out, indent=1, ensure_ascii=False)
        out.write("\n")


def main():
    make_images()
    write_json("style.json", {"style": monitor_styles() + own_styles()})
    write_json("Gallery.json", gallery())


if __name__ == "__main__":
    main()
