#!/usr/bin/env python3
"""Turns the one range marker of a saved Ardour 7 session into its session
range, which is what ardour7-export exports (make-session.lua cannot create a
session range from Lua; see there).

    patch-session.py SESSION.ardour

An Ardour 7.3 session keeps its markers as
    <Locations><Location name="range1" start="a0" end="a<superclock>"
                         flags="IsRangeMarker" .../></Locations>
and its session range as the same element with name "session" and flags
"IsSessionRange". Without one, ardour7-export writes an empty file and still
says "Done". Python 3, standard library only.
"""

import sys
import xml.etree.ElementTree as ET


def patch(path):
    tree = ET.parse(path)
    root = tree.getroot()
    if root.tag != "Session":
        raise SystemExit(f"{path}: not an Ardour session")
    locations = root.findall("./Locations/Location")
    if any("IsSessionRange" in loc.get("flags", "") for loc in locations):
        raise SystemExit(f"{path}: already has a session range")
    ranges = [loc for loc in locations if loc.get("flags") == "IsRangeMarker"]
    if len(ranges) != 1:
        raise SystemExit(f"{path}: expected one range marker, found {len(ranges)}")
    ranges[0].set("name", "session")
    ranges[0].set("flags", "IsSessionRange")
    tree.write(path, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit("usage: patch-session.py SESSION.ardour")
    patch(sys.argv[1])
