#!/usr/bin/env python3
"""Writes the sample project data/config/config.xml that a newcomer sees on first start.

The project (an invented hospital wing with two panels and six loops) is described
below in a compact form, laid out with deterministic cable lengths, checked with the
program's loop calculation (redone here in single precision), and written in the
project file format together with the factory definitions of data/config/default.xml
as the user definitions.

For every loop it prints the verdict, the loop current, the lowest voltage met by
the checks, the volt drop and the capacitance sum.

Usage: scripts/make-sample-project.py [--check]
    --check  only calculate and print; do not write config.xml
"""

import random
import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_XML = ROOT / "data" / "config" / "default.xml"
CONFIG_XML = ROOT / "data" / "config" / "config.xml"


# ---------------------------------------------------------------- arithmetic


def f32(x):
    """Rounds a number to single precision, as the program computes."""
    return struct.unpack("f", struct.pack("f", float(x)))[0]


def fmt_float(x):
    """General format with six significant digits, like printf's %g."""
    return "%g" % f32(x)


# ---------------------------------------------------------------- definitions


def read_definitions(path):
    root = ET.parse(path).getroot()
    assert root.tag == "Default", "definitions element missing"
    dev, wire, card = {}, {}, {}
    for e in root:
        a = e.attrib
        if e.tag == "DeviceType":
            dev[int(a["DevID"])] = {
                "Name": a["Name"],
                "Volt": int(a["Volt"]),
                "Current": f32(a["Current"]),
                "ActiveCurrent": f32(a["ActiveCurrent"]),
                "Capacitance": f32(a["Capacitance"]),
                "IcoID": int(a["IcoID"]),
                "DevID": int(a["DevID"]),
                "SubType": [int(s) for s in a["SubType"].split(" ")],
            }
        elif e.tag == "WireType":
            wire[int(a["WireID"])] = {
                "Name": a["Name"],
                "Capacity": f32(a["Capacity"]),
                "Resistance": f32(a["Resistance"]),
                "WireID": int(a["WireID"]),
                "Note": a["Note"],
            }
        elif e.tag == "CardType":
            card[int(a["CardID"])] = {
                "Name": a["Name"],
                "Current": f32(a["Current"]),
                "ActiveCurrent": f32(a["ActiveCurrent"]),
                "CardID": int(a["CardID"]),
            }
    return dev, wire, card


DEV, WIRE, CARD = read_definitions(DEFAULT_XML)
NO_DEVICE = {"Current": 0.0, "ActiveCurrent": 0.0, "Capacitance": 0.0}
NO_WIRE = {"Capacity": 0.0, "Resistance": 0.0}

# Short codes used in the loop descriptions below -> device type id.
CODES = {
    "SD": 1, "HDR": 2, "HDF": 3, "MS": 4, "MCP": 5, "BEAM": 6, "DUCT": 7,
    "CO": 8, "MSCO": 9, "IN": 10, "OUT": 11, "CZI": 12, "ISO": 13, "IO": 14,
    "SND": 15, "SCM": 16, "SB": 17, "LRM": 18, "MIO": 19, "DRM": 20,
    "MCPX": 21, "EXT": 22, "BCN": 25, "BS": 26,
}
for code, type_id in CODES.items():
    assert type_id in DEV, "device type %d (%s) not in default.xml" % (type_id, code)


# ---------------------------------------------------------------- loop calculation


def is_detector(t):
    return t <= 9 or t == 21


def is_sounder(t):
    return t in (15, 17, 25, 26)


def is_offloop(t):
    return t in (12, 15, 17, 25, 26)


def dtype(d):
    return DEV.get(d["type"], NO_DEVICE)


def wtype(d):
    return WIRE.get(d["wire"], NO_WIRE)


def loop_current(devs, relay_only):
    sd = sa = so = 0.0
    for d in devs:
        if d["pos"] <= 0 or is_offloop(d["type"]) or d["relay"] != relay_only:
            continue
        t = dtype(d)
        if is_detector(d["type"]):
            sd = f32(sd + t["Current"])
            sa = f32(sa + t["ActiveCurrent"])
        else:
            so = f32(so + t["ActiveCurrent"])
    return f32(f32(f32(sd * f32(0.9)) + so) + f32(sa * f32(0.1)))


def used_by(d):
    t = dtype(d)
    return t["Current"] if is_detector(d["type"]) else t["ActiveCurrent"]


def calculate(devs):
    """The main pass and the relay pass; returns a summary of the results."""
    res = {"status": 1, "problem": "", "groups": [], "vmin": 24.0, "vmin_at": 0,
           "checked": 0, "failed_at": []}
    current = loop_current(devs, False)
    res["current"] = current
    if current > 400.0:
        res["status"] = 0
        res["problem"] = "The max current is too large."
        res["groups"].append("current")
    v = vt = used = cap = 0.0
    go = True
    sounders_pending = True
    for i, d in enumerate(devs):
        if not go:
            continue
        t, w = dtype(d), wtype(d)
        if not (d["truck"] != 0 and d["relay"]):
            x = f32(d["pos"])
            v = max(v, vt)
            drop = f32(f32(f32(f32(w["Resistance"] / f32(1000.0)) * f32(current - used)) * x) / f32(1000.0))
            v = f32(24.0 - drop) if i == 0 else f32(v - drop)
            cap = f32(f32(cap + f32(x * w["Capacity"])) + t["Capacitance"])
            used = f32(used + used_by(d))
            if d["truck"] == 0:
                vt = v
        res["checked"] += 1
        if v < res["vmin"]:
            res["vmin"], res["vmin_at"] = v, i + 1
        failed = False
        if v < 20.0 and is_sounder(d["type"]):
            failed = True
            res["status"] = 0
            res["problem"] = "Volt lost too large."
            if sounders_pending:
                res["groups"].append("sounder@%d" % (i + 1))
            sounders_pending = False
        if v < 16.0 and not is_sounder(d["type"]):
            go = d["truck"] != 0
            failed = True
            res["status"] = 0
            res["problem"] = "Volt lost too large."
            res["groups"].append("voltage@%d" % (i + 1))
        if cap > 300000.0:
            if d["truck"] == 0:
                go = False
            failed = True
            res["status"] = 0
            res["problem"] = "Capacity is too large."
            res["groups"].append("capacity@%d" % (i + 1))
        if failed:
            res["failed_at"].append(i + 1)
    res["voltdrop"] = f32(24.0 - v) if devs else 24.0
    res["cap"] = cap
    res["relay_current"] = None
    res["relay_vmin"] = None

    # Relay pass.
    if res["status"] == 0:
        return res
    ir = loop_current(devs, True)
    res["relay_current"] = ir
    if ir > 400.0:
        res["status"] = 0
        res["problem"] = "The max current is too large."
        res["groups"].append("current(relay)")
    vr = used = cap = 0.0
    go, any_seen = True, False
    for i, d in enumerate(devs):
        if not (d["relay"] and is_offloop(d["type"])):
            continue
        if go:
            t, w = dtype(d), wtype(d)
            x = f32(d["pos"])
            vr = f32(24.0 - f32(f32(f32(f32(ir - used) * x) * f32(w["Resistance"] / f32(1000.0))) / f32(1000.0)))
            cap = f32(f32(cap + f32(x * w["Capacity"])) + t["Capacitance"])
            used = f32(used + used_by(d))
            res["relay_vmin"] = vr if res["relay_vmin"] is None else min(res["relay_vmin"], vr)
            if vr < 20.0 and is_sounder(d["type"]):
                res["status"] = 0
                res["problem"] = "Volt lost too large."
                res["groups"].append("sounder(relay)@%d" % (i + 1))
            if vr < 16.0 and not is_sounder(d["type"]):
                go = d["truck"] != 0
                res["status"] = 0
                res["problem"] = "Volt lost too large."
                res["groups"].append("voltage(relay)@%d" % (i + 1))
            if cap > 300000.0:
                if d["truck"] == 0:
                    go = False
                res["status"] = 0
                res["problem"] = "Capacity is too large."
                res["groups"].append("capacity(relay)@%d" % (i + 1))
        any_seen = True
    if any_seen and f32(24.0 - vr) > res["voltdrop"]:
        res["voltdrop"] = f32(24.0 - vr)
    return res


def totals(devs):
    """Standby and alarm totals as the loop verdict shows them."""
    s = a = 0.0
    for d in devs:
        if d["type"] == 0:
            continue
        t = dtype(d)
        s = f32(s + f32(t["Current"] / f32(1000.0)))
        alarm = f32(t["ActiveCurrent"] / f32(1000.0))
        if is_detector(d["type"]):
            alarm = f32(alarm * f32(0.1))
        a = f32(a + alarm)
    return f32(s * 1000.0), f32(a * 1000.0)


# ---------------------------------------------------------------- project content

PROJECT = {
    "name": "Larchmere Hospital East Wing",
    "SiteName": "Larchmere Community Hospital - East Wing",
    "SiteAddr": "East Wing, 14 Orchard Rise, Brackenford BF4 7QT",
    "EndUser": "Larchmere Health Trust, Estates Department",
    "Installer": "Northgate Fire & Security Ltd",
    "Engineer": "Daniel Pryce",
    "Date": "2025-03-12",
    "note": "Addressable fire detection and alarm system, category L1, for the new east wing "
            "and the refurbished outpatients block. Main panel at ground floor reception, "
            "sub-panel in the outpatients plant room.",
    "CustomerData": "Estates manager: Carol Whitby, tel. 01632 960418, order FA-2025-031",
    "Addr": "Larchmere Health Trust, Estates Office, 2 Mill Lane, Brackenford BF1 2AA",
}

# Loop descriptions: device codes in cable order, "CODE*n" repeats, "[ ... ]" a branch,
# "{ ... }" a branch fed through the loop relay module just before it.
# Lengths: run from the panel to the first device, range between devices, return run.
PANELS = [
    {
        "attrs": {"Panelid": 1, "PanelType": 5, "LoopCardCount": 2, "CommCount": 0,
                  "ManualPanelCount": 2, "MainCardCount": 1, "CANCardCount": 1,
                  "ModbusCardCount": 1, "Slot1CardType": 11, "Slot2CardType": 0,
                  "note": "Main panel, east wing ground floor reception"},
        "loops": [
            {   # Ground floor: reception, waiting areas, pharmacy, kitchen.
                "Loopid": 1, "wire": 1, "first": (20, 35), "gap": (6, 16), "last": (30, 45),
                "devices": "ISO SD*4 MCP SD*3 SND MS*2 SD*4 HDF*2 MCP SND ISO SD*5 DRM SD*3 "
                           "MCP SB SD*4 [SD*3 MCP SND] ISO HDF*3 SD*4 IN OUT MCP SND SD*5 "
                           "ISO SD*6 MCP SB MS*3 SD*4 IO ISO SD*5 MCP SND SD*3 ISO",
            },
            {   # First floor wards; the day room sounders hang off a loop relay module.
                "Loopid": 2, "wire": 1, "first": (35, 50), "gap": (6, 15), "last": (40, 55),
                "devices": "ISO SD*6 MCP SD BS SD*4 SND SD*4 MCP ISO SD*6 DRM SD*5 MCP SB "
                           "SD*5 ISO MS*4 SD*3 MCP SND SD*4 LRM {SND SB*3 BCN*2 SND SB} ISO "
                           "SD*6 MCP SD*5 DRM SND SD*5 ISO SD*6 MCP SB SD*4 IO SD*3 ISO",
            },
            {   # Second floor: theatres and recovery, duct detectors on the air handling.
                "Loopid": 3, "wire": 3, "first": (40, 55), "gap": (7, 18), "last": (45, 60),
                "devices": "ISO MS*4 MCP SD*3 DUCT*2 SND MS*4 ISO SD*4 MCP SB MSCO*2 SD*3 OUT "
                           "[MS*3 SND MCP] ISO SD*5 MCP SND DUCT*2 SD*4 IO ISO MS*5 MCP SB "
                           "SD*3 ISO",
            },
            {   # Basement car park, service yard and external escape routes, wired on the
                # existing twisted pair: fails; needs a heavier cable or a second loop.
                "Loopid": 4, "wire": 4, "first": (45, 60), "gap": (16, 28), "last": (50, 60),
                "devices": "ISO HDF*5 MCP CO*3 MIO HDF*4 SND IO HDF*5 MCPX ISO CO*4 MIO HDF*5 "
                           "SB OUT HDF*4 MCP IO ISO HDF*5 BEAM*2 MIO SND HDF*4 MCPX IO ISO "
                           "CO*4 HDF*5 SB OUT MIO HDF*4 MCP ISO HDF*5 IO BCN SND HDF*4 MCPX "
                           "ISO CO*3 HDF*5 MIO SB HDF*4 MCPX ISO",
            },
        ],
    },
    {
        "attrs": {"Panelid": 2, "PanelType": 2, "LoopCardCount": 1, "CommCount": 1,
                  "ManualPanelCount": 0, "MainCardCount": 0, "CANCardCount": 0,
                  "ModbusCardCount": 0, "Slot1CardType": 0, "Slot2CardType": 0,
                  "note": "Sub-panel, outpatients block plant room"},
        "loops": [
            {   # Outpatients block: clinics, offices, records store.
                "Loopid": 1, "wire": 2, "first": (15, 30), "gap": (6, 14), "last": (25, 40),
                "devices": "ISO SD*5 MCP SD*4 SND SD*5 MCP HDR*2 SD*3 ISO SD*5 SB SD*4 MCP "
                           "[SD*4 SND] SD*4 DRM ISO SD*5 MCP SND SD*4 IN ISO",
            },
            {   # Plant room and energy centre: boilers, generator, gas suppressed room.
                "Loopid": 2, "wire": 6, "first": (30, 45), "gap": (8, 25), "last": (35, 50),
                "devices": "ISO HDF*3 MCP BEAM*2 SND CZI OUT HDF*2 [HDF*3 MCPX SB] ISO SCM "
                           "EXT SD*2 DUCT MCP IO HDF*3 SND HDF*2 ISO",
            },
        ],
    },
]


def parse_devices(text):
    """Expands a loop description into (type id, branch kind) pairs."""
    items = []
    kind = None
    for tok in text.replace("[", " [ ").replace("]", " ] ").replace("{", " { ").replace("}", " } ").split():
        if tok in ("[", "{"):
            assert kind is None, "nested branch"
            kind = "branch" if tok == "[" else "relay"
            items.append(("start", None))
            continue
        if tok in ("]", "}"):
            kind = None
            continue
        code, _, count = tok.partition("*")
        for _ in range(int(count or 1)):
            items.append((CODES[code], kind))
    return items


def lay_out(loop, seed):
    """Builds the devices of a loop with deterministic cable lengths (0.5 m steps)."""
    rng = random.Random(seed)

    def length(lo, hi):
        return round((lo + (hi - lo) * rng.random()) * 2) / 2

    devs = []
    branch_start = None
    for type_id, kind in parse_devices(loop["devices"]):
        if type_id == "start":
            branch_start = len(devs)
            continue
        first = not devs
        truck = branch_start if kind else 0
        assert truck != 0 or kind is None, "a branch cannot start at the first device"
        devs.append({
            "type": type_id,
            "pos": length(*loop["first"]) if first else length(*loop["gap"]),
            "wire": loop["wire"],
            "truck": truck,
            "relay": kind == "relay",
        })
    return devs, length(*loop["last"])


# ---------------------------------------------------------------- writing


def xml_attr(value):
    return (str(value).replace("&", "&amp;").replace("<", "&lt;")
            .replace(">", "&gt;").replace('"', "&quot;"))


def element(indent, tag, attrs):
    body = " ".join('%s="%s"' % (k, xml_attr(v)) for k, v in attrs)
    return "%s<%s %s/>\n" % ("    " * indent, tag, body)


def write_project(panels):
    out = ['<?xml version="1.0" encoding="UTF-8"?>\n']
    out.append("<Project %s>\n" % " ".join(
        '%s="%s"' % (k, xml_attr(PROJECT[k])) for k in
        ("name", "SiteName", "SiteAddr", "EndUser", "Installer", "Engineer", "Date",
         "note", "CustomerData", "Addr")))
    for panel in panels:
        a = panel["attrs"]
        keys = ("Panelid", "PanelType", "LoopCardCount", "CommCount", "ManualPanelCount",
                "MainCardCount", "CANCardCount", "ModbusCardCount", "Slot1CardType",
                "Slot2CardType", "note")
        out.append("    <Panel %s>\n" % " ".join('%s="%s"' % (k, xml_attr(a[k])) for k in keys))
        for loop in panel["loops"]:
            devs, last = loop["devs"], loop["LastDis"]
            total = f32(last)
            for d in devs:
                total = f32(total + f32(d["pos"]))
            out.append('        <Loop Loopid="%d" FirstDis="%s" LastDis="%s" TotalDis="%s" wiretype="%d">\n'
                       % (loop["Loopid"], fmt_float(devs[0]["pos"] if devs else 0),
                          fmt_float(last), fmt_float(total), loop["wire"]))
            for d in devs:
                out.append(element(3, "device", [
                    ("deviceTypeid", d["type"]), ("pos", fmt_float(d["pos"])),
                    ("wiretype", d["wire"]), ("truck", d["truck"]),
                    ("devicetypename", "Relay" if d["relay"] else "")]))
            out.append("        </Loop>\n")
        out.append("    </Panel>\n")
    for k in sorted(DEV):
        t = DEV[k]
        out.append(element(1, "DeviceType", [
            ("Name", t["Name"]), ("Volt", t["Volt"]), ("Current", fmt_float(t["Current"])),
            ("ActiveCurrent", fmt_float(t["ActiveCurrent"])),
            ("Capacitance", fmt_float(t["Capacitance"])), ("IcoID", t["IcoID"]),
            ("DevID", t["DevID"]), ("SubType", " ".join(str(s) for s in t["SubType"]))]))
    for k in sorted(WIRE):
        w = WIRE[k]
        out.append(element(1, "WireType", [
            ("Name", w["Name"]), ("Capacity", fmt_float(w["Capacity"])),
            ("Resistance", fmt_float(w["Resistance"])), ("WireID", w["WireID"]),
            ("Note", w["Note"])]))
    for k in sorted(CARD):
        c = CARD[k]
        out.append(element(1, "CardType", [
            ("Name", c["Name"]), ("Current", fmt_float(c["Current"])),
            ("ActiveCurrent", fmt_float(c["ActiveCurrent"])), ("CardID", c["CardID"])]))
    out.append("</Project>\n")
    return "".join(out)


# ---------------------------------------------------------------- main


def main():
    check_only = "--check" in sys.argv[1:]
    for panel in PANELS:
        loops = panel["loops"]
        assert panel["attrs"]["LoopCardCount"] >= (len(loops) + 1) // 2
        for loop in loops:
            seed = panel["attrs"]["Panelid"] * 100 + loop["Loopid"]
            loop["devs"], loop["LastDis"] = lay_out(loop, seed)

    print("%-14s %5s %8s %9s %9s %8s %9s  %s" % ("loop", "devs", "length", "I (mA)",
                                               "Vmin (V)", "drop", "C", "verdict"))
    for panel in PANELS:
        for loop in panel["loops"]:
            devs = loop["devs"]
            assert 20 <= len(devs) <= 120, "loop size"
            r = calculate(devs)
            length = f32(loop["LastDis"] + sum(d["pos"] for d in devs))
            standby, alarm = totals(devs)
            name = "panel %d loop %d" % (panel["attrs"]["Panelid"], loop["Loopid"])
            verdict = "PASS" if r["status"] else "FAIL (%s)" % r["problem"]
            print("%-14s %5d %7.1fm %9.2f %9.2f %8.2f %9.0f  %s" % (
                name, len(devs), length, r["current"], r["vmin"], r["voltdrop"], r["cap"], verdict))
            print("%14s lowest voltage at location %d; checked %d of %d devices; "
                  "standby %.2f mA, alarm %.2f mA" % (
                      "", r["vmin_at"], r["checked"], len(devs), standby, alarm))
            if r["relay_current"] is not None:
                print("%14s relay pass: current %.2f mA, lowest voltage %s" % (
                    "", r["relay_current"],
                    "-" if r["relay_vmin"] is None else "%.2f V" % r["relay_vmin"]))
            if r["groups"]:
                print("%14s suggestion groups: %s" % ("", ", ".join(r["groups"])))
    if not check_only:
        CONFIG_XML.write_text(write_project(PANELS), encoding="utf-8")
        print("wrote %s" % CONFIG_XML.relative_to(ROOT))


if __name__ == "__main__":
    main()
