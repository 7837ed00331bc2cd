#!/usr/bin/env python3
"""Writes the seeds of the description fuzzer into description/.

Every window description of the repository (the *.json files under tests/data
and skin, and the .json members of the zip packages under tests/data) is
copied, written compactly; the rest are small hand-made descriptions that
reach each control's keys and style slots with values a skin should never
hold. Run it from any directory; it replaces description/ entirely."""

import json
import os
import shutil
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
OUT = os.path.join(HERE, "description")

BIG = 16777216          # one past the largest widget size
HUGE = 2147483647
NEG = -2147483648


def compact(data):
    return json.dumps(data, separators=(",", ":"), ensure_ascii=False).encode()


def description_bytes(raw):
    """Compact bytes when raw is a description, else None. Documents that
    Python cannot read (comments, GBK text) are kept byte for byte."""
    try:
        data = json.loads(raw.decode("utf-8"))
    except (UnicodeDecodeError, ValueError):
        return raw if b'"elements"' in raw else None
    if isinstance(data, dict) and "elements" in data:
        return compact(data)
    return None


def repository_descriptions():
    for top, prefix in (("tests/data", ""), ("skin", "skin-")):
        base = os.path.join(ROOT, top)
        for folder, _, files in sorted(os.walk(base)):
            for name in sorted(files):
                path = os.path.join(folder, name)
                label = prefix + os.path.relpath(path, base).replace(os.sep, "-")
                if name.endswith(".json"):
                    with open(path, "rb") as f:
                        data = description_bytes(f.read())
                    if data is not None:
                        yield label, data
                elif name.endswith(".zip"):
                    try:
                        package = zipfile.ZipFile(path)
                    except zipfile.BadZipFile:
                        continue
                    with package:
                        for member in sorted(package.namelist()):
                            if not member.lower().endswith(".json"):
                                continue
                            try:
                                raw = package.read(member)
                            except (RuntimeError, zipfile.BadZipFile, NotImplementedError):
                                continue  # encrypted or odd members
                            data = description_bytes(raw)
                            if data is not None:
                                yield label[:-4] + "-" + member.replace("/", "-"), data


def el(kind, x=0, y=0, w=100, h=30, **keys):
    element = {"type": kind, "x": x, "y": y, "w": w, "h": h}
    element.update(keys)
    return element


def doc(*elements, **window):
    root = {"elements": list(elements)}
    root.update(window)
    return compact(root)


def deep_menu(depth):
    item = "leaf"
    for _ in range(depth):
        item = {"title": "m", "child": [item]}
    return [item]


def nested(depth, kind):
    """A chain of `depth` elements, each the only child of the one before."""
    element = el("label", 1, 1, 10, 10, attr={"text": "leaf"})
    for level in range(depth):
        element = el(kind, 1, 1, 200 - level, 200 - level, child=[element])
    return doc(element)


HAND_MADE = {
    "picture.json": doc(
        el("qtpicture", 0, 0, 40, 40, attr={"path": "images/panel.png", "fill": True}),
        el("picture", 50, 0, 40, 40, attr={"path": "images/icon.png", "fill": False}),
        el("image", 0, 50, 0, 0, attr={"path": "images/missing.png"}),
        el("image", 50, 50, BIG, -5, attr={"path": 7, "fill": "yes"})),
    "switch.json": doc(
        el("qtswitch", 10, 10, 80, 30,
           style=[["grey", 0, 0], ["btnNormal", 0, 2], ["btnHover", 0, 3], ["btnPressed", 0, 4],
                  ["btnDisabled", 0, 5], ["fontWhite", 0, 6], ["fontBlack", 0, 7]],
           attr={"leftText": "On", "rightText": "Off", "thumbW": 20, "thumbH": 20,
                 "speed": 0, "on": 1, "margin": 3}),
        el("switch", 10, 50, 30, 10, enable=False,
           style={"b": ["btnNormal", 0, 2], "a": ["red", 0, 0], "c": ["fontRed", 0, 6]},
           attr={"on": 0, "speed": 10000, "thumbW": 0, "thumbH": 0})),
    "switch-hostile.json": doc(
        el("qtswitch", 0, 0, 60, 20, attr={"thumbW": BIG, "thumbH": -5, "speed": -1,
                                           "margin": HUGE, "on": "x", "leftText": 5}),
        el("switch", 0, 30, 2, 2, attr={"thumbW": 100, "thumbH": 100, "margin": 50, "on": NEG}),
        el("switch", 0, 40, -10, BIG, attr={"speed": 1e300, "margin": -1, "rightText": [1]})),
    "slider.json": doc(
        el("qtslider", 0, 0, 200, 30,
           style=[["groove", 0, 0], ["chunk", 0, 2], ["btnNormal", 0, 4], ["btnHover", 0, 5],
                  ["btnPressed", 0, 6], ["btnDisabled", 0, 7]],
           attr={"isHor": True, "thumbW": 10, "thumbH": 20, "channelSize": 6, "max": 200, "min": 10,
                 "val": 150}),
        el("slider", 0, 40, 30, 200, attr={"isHor": False, "min": NEG, "max": HUGE, "val": HUGE}),
        el("slider", 0, 0, 20, 20, attr={"thumbW": BIG, "thumbH": -BIG, "channelSize": HUGE, "min": 5,
                                         "max": 5, "val": "x", "isHor": 3}),
        el("qtscrollbar", attr={"upicon": "images/icon.png", "thumbicon": 5})),
    "listview.json": doc(
        el("qtlistview", 0, 0, 200, 150, style={"a": ["grey", 0, 0], "b": ["red", 0, 2], "c": ["blue", 0, 4]},
           attr={"itemHeight": 24, "itemWidth": 0, "spacing": 2, "itemMode": 0},
           child=[el("container", 0, 0, 200, 24, child=[
                      el("label", 0, 0, 100, 24, attr={"text": "row"}),
                      el("button", 100, 2, 60, 20, attr={"text": "go"}),
                      el("checkbox", 170, 2, 20, 20)]),
                  {"type": "qtscrollbar", "w": 12, "attr": {"size": 10, "upicon": "images/icon.png"},
                   "style": {"a": ["red", 0, 10]}}]),
        el("templateList", 0, 0, 50, 50, attr={"itemHeight": -HUGE, "itemWidth": BIG, "spacing": HUGE,
                                               "itemMode": "icon"},
           child=[5, {"type": "container", "child": [el("container", child=[el("label")])]}]),
        el("listview", 0, 0, 10, 10, child=[])),
    "datagrid.json": doc(
        el("qtdatagrid", 0, 0, 300, 200,
           style=[["grey", 0, 0], ["white", 0, 2], ["btnHover", 0, 3], ["btnPressed", 0, 4], ["red", 0, 5],
                  ["fontBlack", 0, 6], ["fontWhite", 0, 7], ["fontRed", 0, 8], ["fontGrey", 0, 9],
                  ["panel", 0, 10], ["red", 0, 11], ["red", 0, 12], ["red", 0, 13], ["fontBig", 0, 14],
                  ["fontRed", 0, 15], ["fontRed", 0, 16], ["fontRed", 0, 17]],
           attr={"multiselect": True, "itemHeight": 28, "checkstyle": True, "checkedImg": "images/on.png",
                 "uncheckImg": "images/off.png"},
           child=[{"type": "qtscrollbar", "w": 12, "attr": {"size": 10, "upicon": "images/icon.png"},
                   "style": {"a": ["groove", 0, 0], "b": ["chunk", 0, 10]}}]),
        el("datagrid", 0, 0, 10, 10, style={"b": ["red", 0, 18], "a": ["nosuch", 0, 2], "c": ["red", 0, -1]},
           attr={"itemHeight": HUGE, "checkstyle": "yes", "checkedImg": 5, "uncheckImg": "images/missing.png"}),
        el("datagrid", 0, 0, -5, BIG, attr={"itemHeight": NEG, "multiselect": [1], "checkstyle": True,
                                            "checkedImg": ""},
           child=[{"type": "qtscrollbar", "w": HUGE, "h": NEG, "attr": {"hor": 1, "size": -4}}])),
    "tree.json": doc(
        el("qttree", 0, 0, 200, 150,
           style=[["grey", 0, 0], ["white", 0, 2], ["btnHover", 0, 3], ["btnPressed", 0, 4], ["red", 0, 5],
                  ["fontBlack", 0, 6], ["fontRed", 0, 7]],
           attr={"itemHeight": 24},
           child=[{"type": "qtscrollbar", "w": 12, "attr": {"size": 10, "thumbicon": "images/on.png"},
                   "style": {"a": ["groove", 0, 0], "b": ["btnNormal", 0, 6]}}]),
        el("tree", 0, 0, 50, 50, style={"b": ["red", 0, 8], "a": ["green", 0, 1]}, attr={"itemHeight": 0}),
        el("tree", 0, 0, -5, BIG, style=[["red", 0, HUGE], ["fontRed", 0, NEG]],
           attr={"itemHeight": 1e300}),
        el("tree", 0, 0, 10, 10, attr={"itemHeight": NEG}, child={"type": "qtscrollbar"})),
    "button.json": doc(
        el("qtbutton", 10, 10, 100, 30,
           style=[["btnNormal", 0, 0], ["btnHover", 0, 1], ["btnPressed", 0, 2], ["btnDisabled", 0, 3],
                  ["fontWhite", 0, 4], ["fontRed", 0, 5], ["fontBig", 0, 6], ["fontGrey", 0, 7]],
           attr={"text": "Press", "hasIcon": True, "iconPath": "images/icon.png",
                 "hotIconPath": "images/hot.png", "iconHor": 2, "iconVer": 0, "iconX": -BIG,
                 "iconY": BIG, "txtX": HUGE, "txtY": NEG, "showText": True}),
        el("button", 0, 0, BIG, BIG, style=[["panel", 0, 0], ["panel", 0, -1], ["panel", 0, HUGE]],
           attr={"text": "", "iconHor": -7, "iconVer": 99})),
    "checkbox-radio.json": doc(
        el("qtcheckbox", 0, 0, 150, 20,
           style=[["checkedBack", 0, 4], ["red", 0, 1], ["fontBlack", 0, 8], ["fontRed", 0, 9]],
           attr={"text": "Check", "iconPath": "images/off.png", "siconPath": "images/on.png",
                 "hotIconPath": "images/offhot.png", "sHotIconPath": "images/onhot.png",
                 "iconX": 2, "iconY": -3, "iconHor": 1, "iconVer": 2, "showIcon": True}),
        el("checkbox", 0, 30, 5, 5, attr={"text": None, "showText": 3, "iconPath": {}}),
        el("qtradiobox", 0, 60, 150, 20, style=[["fontBlack", 0, 8], ["fontRed", 0, 9]],
           attr={"text": "One", "iconPath": "images/roff.png", "siconPath": "images/ron.png",
                 "pushlike": True, "iconHor": -1, "iconVer": -1}),
        el("radio", 0, 90, 150, 20, attr={"text": "Two", "pushlike": False}),
        el("radiobox", 0, 120, -150, -20, attr={"iconHor": HUGE, "iconVer": NEG})),
    "label.json": doc(
        el("qtlabel", 0, 0, 120, 20, style=[["fontBig", 0, 0], ["red", 0, 1]],
           attr={"text": "Label"}, tooltip="tip", name="a"),
        el("label", 0, 20, 0, 0, attr={"text": "x" * 200}),
        el("qtlabelex", 0, 40, 120, 40, style=[["fontBlack", 0, 0], ["panel", 0, 1]],
           attr={"text": "Extended\nlabel"}),
        el("label", 0, 0, 10, 10, visibility=False, enable=False, tooltip=5, name=[])),
    "list.json": doc(
        el("qtlist", 0, 0, 200, 150,
           style=[["panel", 0, 0], ["white", 0, 2], ["btnHover", 0, 3], ["btnPressed", 0, 4],
                  ["btnDisabled", 0, 5], ["fontBlack", 0, 6], ["fontWhite", 0, 7], ["fontRed", 0, 8],
                  ["fontGrey", 0, 9]],
           attr={"multiselect": True, "itemHeight": 24},
           child=[{"type": "qtscrollbar", "w": 12, "attr": {"size": 10, "upicon": "images/icon.png"},
                   "style": {"a": ["groove", 0, 0], "b": ["btnNormal", 0, 6], "c": ["chunk", 0, 10]}},
                  {"type": "qtscrollbar", "h": 8, "attr": {"hor": True, "thumbicon": "images/on.png"},
                   "style": {"a": ["btnHover", 0, 3]}}]),
        el("list", 0, 0, 50, 50, style={"b": ["red", 0, 4], "a": ["green", 0, 2], "c": ["nosuch", 0, 6]},
           attr={"multiselect": False, "itemHeight": 0}),
        el("list", 0, 0, -5, BIG, style=[["red", 0, HUGE], ["red", 0, 1], ["red", 0, 10], ["fontRed", 0, NEG]],
           attr={"multiselect": "yes", "itemHeight": HUGE},
           child=[{"type": "qtscrollbar", "w": HUGE, "h": NEG, "attr": {"hor": 1, "size": -4},
                   "style": {"a": [None, 0, 2], "b": ["red", 0, 1e20]}}, el("label")]),
        el("list", 0, 0, 10, 10, style="red", attr={"itemHeight": NEG}, child={"type": "qtscrollbar"}),
        el("list", 0, 0, 10, 10, attr={"itemHeight": 1e300, "multiselect": [True]})),
    "lineedit.json": doc(
        el("qtdedit", 0, 0, 160, 28,
           style={"a": ["white", 0, 0], "b": ["btnHover", 0, 1], "c": ["btnPressed", 0, 2], "d": ["grey", 0, 3],
                  "e": ["fontBlack", 0, 4], "f": ["fontRed", 0, 6], "g": ["fontGrey", 0, 8]},
           attr={"text": "", "tip": "Search", "shortcut": True, "leftMargin": 4, "topMargin": 2}),
        el("dedit", 0, 30, 160, 28, attr={"ispassord": True, "text": "secret", "rightMargin": 3}),
        el("dedit", 0, 60, -5, BIG, style=[["red", 0, HUGE], ["fontRed", 0, NEG], ["fontZero", 0, 4]],
           attr={"leftMargin": HUGE, "topMargin": NEG, "rightMargin": "x", "bottomMargin": 1e300,
                 "ispassord": "yes", "shortcut": [1], "tip": 5, "text": None})),
    "textedit.json": doc(
        el("qttext", 0, 0, 200, 120, style=[["white", 0, 0], ["fontBlack", 0, 4], ["fontRed", 0, 8]],
           attr={"text": "<b>rich</b><img src=\"images/icon.png\"><img src=\"/etc/passwd\">", "tip": "Notes",
                 "leftMargin": 4, "topMargin": 2},
           child=[{"type": "qtscrollbar", "w": 12, "attr": {"size": 10, "upicon": "images/icon.png"},
                   "style": {"a": ["groove", 0, 0], "b": ["btnNormal", 0, 6]}}]),
        el("qttext", 0, 0, 2, BIG, attr={"text": "<img src=images/icon.png width=99999999 height=99999999>",
                                         "leftMargin": HUGE, "rightMargin": NEG, "topMargin": "1"},
           child=[{"type": "qtscrollbar", "w": HUGE, "h": NEG, "attr": {"hor": 1, "size": -4}}])),
    "combobox.json": doc(
        el("qtcombobox", 0, 0, 160, 28,
           style=[["white", 0, 0], ["btnHover", 0, 1], ["blue", 0, 4], ["fontBlack", 0, 8], ["green", 0, 12],
                  ["white", 0, 13], ["btnHover", 0, 14], ["btnPressed", 0, 15], ["fontBlack", 0, 17],
                  ["fontWhite", 0, 19]],
           attr={"text": "First", "btnIcon": "images/icon.png", "btnHotIcon": "images/hot.png"}),
        el("combobox", 0, 30, 20, 40, attr={"btnHotIcon": "images/hot.png", "text": ""}),
        el("combobox", 0, 0, -5, BIG, style=[["red", 0, 21], ["red", 0, NEG], ["fontRed", 0, 12]],
           attr={"text": 5, "btnIcon": [], "btnHotIcon": None})),
    "container.json": doc(
        el("qtcontainer", 0, 0, 300, 200, style=[["panel", 0, 0], ["grey", 0, 1]],
           attr={"childLayout": 1, "space": 4},
           child=[el("label", 0, 0, 50, 20, attr={"text": "a"}),
                  el("button", 0, 0, 50, 20, layout={"type": 1, "x": 2, "y": 2, "r": 2, "b": 2}),
                  el("container", layout={"type": 0, "hor": 2, "ver": 2, "wType": 1, "hType": 1,
                                          "x": 5, "y": 5, "w": 5, "h": 5})]),
        el("container", 0, 0, 100, 100, enable=False, attr={"childLayout": 2, "space": -HUGE},
           child=[el("label", 0, 0, 10, 10), el("label", 0, 0, BIG, BIG)]),
        el("container", 0, 0, 100, 100, attr={"childLayout": HUGE, "space": HUGE},
           child=[el("label"), el("label"), el("label")])),
    "progressbar.json": doc(
        el("qtprogressbar", 0, 0, 200, 18, style=[["groove", 0, 0], ["chunk", 0, 2], ["fontWhite", 0, 4]],
           attr={"val": 40, "showText": True}),
        el("progressbar", 0, 20, 200, 18, style=[["panel", 0, 0], ["panel", 0, 2]], attr={"val": 101}),
        el("progressbar", 0, 40, 1, 1, attr={"val": NEG, "showText": True}),
        el("progressbar", 0, 60, BIG, 3, attr={"val": HUGE, "showText": "no"})),
    "scrollview.json": doc(
        el("qtscrollview", 0, 0, 200, 150,
           style=[["panel", 0, 0], ["grey", 0, 5], ["red", 0, -1]],
           child=[el("container", 0, 0, 300, 400, style=[["white", 0, 0]], attr={"childLayout": 1, "space": 2},
                     child=[el("label", 0, 0, 80, 20, attr={"text": "a"}), el("button", 0, 0, 80, 20),
                            el("switch", 0, 0, 60, 24)]),
                  el("container", 10, 10, 20, 20),
                  {"type": "qtscrollbar", "w": 14,
                   "attr": {"size": 12, "upicon": "images/icon.png", "downicon": "images/hot.png"},
                   "style": {"a": ["groove", 0, 0], "b": ["btnNormal", 0, 2], "c": ["chunk", 0, 10]}},
                  {"type": "qtscrollbar", "h": 10, "attr": {"hor": True, "size": 8, "thumbicon": "images/on.png"},
                   "style": {"a": ["btnHover", 0, 7]}}]),
        el("scrollview", 0, 0, -5, BIG, style={"a": ["red", 0, HUGE], "b": ["nosuch", 0, 0]}, attr=[1],
           child=[el("container", NEG, HUGE, BIG, -BIG, layout={"type": 1, "r": HUGE},
                     child=[el("label", layout={"type": 0, "hor": 2, "wType": 1, "x": NEG})]),
                  {"type": "qtscrollbar", "w": HUGE, "h": NEG, "attr": {"hor": 1, "size": -4, "upicon": 3},
                   "style": {"a": [None, 0, 10], "b": ["red", 0, 1e20], "c": "red"}}]),
        el("scrollview", 0, 0, 10, 10, child={"type": "container"})),
    "sizes.json": doc(
        el("container", NEG, NEG, HUGE, HUGE, child=[el("label", HUGE, HUGE, HUGE, HUGE)]),
        el("container", -100, -100, -100, -100, child=[el("button", 5, 5, 10, 10)]),
        el("label", 1e10, -1e10, 3.5, -0.5),
        el("container", layout={"type": 1, "x": NEG, "y": NEG, "r": NEG, "b": NEG},
           child=[el("label", layout={"type": 1, "x": HUGE, "y": HUGE, "r": HUGE, "b": HUGE})]),
        el("container", layout={"type": 0, "hor": 1, "ver": 1, "wType": 1, "hType": 1,
                                "x": HUGE, "y": NEG, "w": NEG, "h": HUGE}),
        el("container", layout={"type": 3, "x": HUGE, "y": HUGE, "w": BIG, "h": BIG})),
    "window.json": doc(
        el("label", 0, 0, 50, 20, attr={"text": "w"}),
        w=HUGE, h=HUGE, trans=True, drag=True, resize=True, minW=BIG, minH=-1, onlyDragCaption=True),
    "window-types.json": doc(el("button"), w="wide", h=[], trans=1, drag="yes", resize={},
                             minW=1e20, minH=None, onlyDragCaption=0.5),
    "types.json": doc(
        {"type": 5}, {"type": None}, {"type": ["label"]}, {"type": "nosuchtype", "child": [el("label")]},
        {"type": "qtscrollbar", "child": [el("label")]},
        el("label", "x", True, None, {}, child={"0": el("label")}),
        el("button", style="btnNormal", attr=[1, 2]),
        el("button", style=[["btnNormal"], [1, 0, 0], ["btnNormal", 0, "4"], [], None, "x"]),
        el("container", layout=[], child=[5, "label", None, [], {}]),
        el("container", layout={"type": "fill"}, attr=None, name=5),
        el("label", x=None, y=[], w={}, h="10")),
    "tabbar.json": doc(
        el("qttab", 0, 0, 300, 30,
           style=[["grey", 0, 0], ["red", 0, 1], ["green", 0, 2], ["blue", 0, 3], ["white", 0, 4],
                  ["fontWhite", 0, 5], ["fontBlack", 0, 6], ["fontRed", 0, 7], ["fontGrey", 0, 8]],
           attr={"itemSize": 80, "isHor": True, "itemSpace": 4, "showText": 1, "hasIcon": 0}),
        el("tab", 0, 40, 30, 200, style={"b": ["red", 0, 9], "a": ["blue", 0, -1]},
           attr={"itemSize": -HUGE, "isHor": False, "itemSpace": HUGE, "showText": "no", "hasIcon": [1]}),
        el("tab", 0, 0, BIG, BIG, attr={"itemSize": 1e300, "itemSpace": NEG})),
    "groupbox.json": doc(
        el("qtgroupbox", 0, 0, 200, 100, style=[["fontBig", 0, 2], ["red", 0, 0]],
           attr={"text": "Group", "size": 3, "color": "ff0000", "showText": True},
           child=[el("label", 10, 20, 50, 20, attr={"text": "in"})]),
        el("groupbox", 0, 0, 20, 10, attr={"text": "x" * 2000, "size": NEG, "color": 4294901760}),
        el("groupbox", 0, 0, BIG, -4, attr={"color": -1, "size": HUGE, "showText": "yes"})),
    "small-controls.json": doc(
        el("qtlcdnumber", 0, 0, 100, 40, style=[["grey", 0, 0], ["red", 0, 3]],
           attr={"digitCount": 6, "color": 65280, "text": "12:34"}),
        el("qtlcdnumber", 0, 0, 10, 10, attr={"digitCount": 5000, "color": 4294901760, "text": "\u00ff" * 300}),
        el("qtlcdnumber", 0, 0, BIG, 1, attr={"digitCount": NEG, "color": "zz", "text": 5}),
        el("qtspinbox", 0, 50, 80, 24), el("spinbox", 0, 80, -1, BIG), el("dnumedit", 0, 0, 80, 24, enable=False),
        el("canvas", 0, 110, 50, 50, style=[["red", 0, 0]]),
        el("qtsplitter", 60, 110, 6, 100, style=[["grey", 0, 0], ["nosuch", 0, 0]]),
        el("splitter", 0, 0, BIG, BIG, style={"a": ["red", 0, HUGE]})),
    "menubar.json": doc(
        el("qtmenubar", 0, 0, 300, 24,
           style=[["red", 0, 0], ["green", 0, 1], ["blue", 0, 2], ["fontWhite", 0, 3], ["fontBlack", 0, 4],
                  ["fontRed", 0, 5]]),
        el("menubar", 0, 0, BIG, -3, style={"a": ["red", 0, 6], "b": ["fontRed", 0, 0]}, attr={"text": 1})),
    "content.json": doc(
        el("qttab", attr={"items": ["A", {"text": "B", "icon": "images/x.png"}, 5, None, [1]], "current": HUGE}),
        el("qtcombobox", attr={"items": ["X", {"text": 1, "data": [1]}, {"data": 2.5}], "current": NEG,
                               "text": "T"}),
        el("qtlist", attr={"items": ["r"] * 300}),
        el("qtdatagrid", attr={"columns": ["a", {"text": "b"}, None], "rows": [["1", "2", "3", "4"], "x", [[["y"]]]]}),
        el("qttree", attr={"rows": [{"text": "t", "child": [{"title": "u", "items": ["v"]}, "-"]}, {"child": 5}]}),
        el("qtmenubar", style=[["red", 0, 6], ["red", 0, 7], ["fontRed", 0, 8], ["fontWhite", 0, 9], ["grey", 0, 10]],
           attr={"menus": [{"title": "&File", "items": [{"text": "Open", "name": "open", "shortcut": "Ctrl+Shift+Alt+Meta+F35",
                                                          "checkable": True, "checked": True}, "-",
                                                         {"title": "Sub", "items": "x"}]}, "-", 7, "Top"]}),
        el("qtcheckbox", attr={"checked": True, "disabledIconPath": "images/none.png",
                               "disabledCheckedIconPath": 5}, enable=False),
        el("qtradiobox", attr={"checked": True, "group": "g"}), el("qtradiobox", attr={"checked": 1, "group": ""}),
        el("qtprogressbar", attr={"min": HUGE, "max": NEG, "val": 0})),
    "deep-menus.json": doc(el("qtmenubar", attr={"menus": deep_menu(40)}),
                           el("qttree", attr={"rows": deep_menu(40)})),
    "deep-container.json": nested(120, "container"),
    "deep-button.json": nested(60, "qtbutton"),
    "deep-switch.json": nested(40, "switch"),
}

RAW = {
    # jsoncpp reads comments; the loader must too.
    "comments.json": b'// window\n{"elements":[/* one */{"type":"label","x":1,"y":1,"w":40,"h":20,'
                     b'"attr":{"text":"c"}} // end\n]}\n',
    "not-object.json": b'[{"type":"label"}]',
    "elements-object.json": b'{"elements":{"type":"label","x":1,"y":1,"w":9,"h":9}}',
    "elements-empty.json": b'{"elements":[],"w":100}',
    "duplicate-keys.json": b'{"elements":[{"type":"label","type":"button","w":10,"w":20,"h":10,'
                           b'"attr":{"text":"a"},"attr":5}]}',
    "nul.json": b'{"elements":[{"type":"label","w":10,"h":10}]}\x00{"elements":5}',
    "gbk.json": b'{"elements":[{"type":"label","w":80,"h":20,"tooltip":"\xc4\xe3\xba\xc3",'
                b'"attr":{"text":"\xc4\xe3\xba\xc3\xff"}}]}',
}


def main():
    if os.path.isdir(OUT):
        shutil.rmtree(OUT)
    os.makedirs(OUT)
    seeds = dict(repository_descriptions())
    seeds.update(HAND_MADE)
    seeds.update(RAW)
    for name, data in sorted(seeds.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(seeds)} seeds in {OUT}")


if __name__ == "__main__":
    main()
