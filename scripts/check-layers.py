#!/usr/bin/env python3
"""Checks that every include in src/ points down the layers, never up or sideways.

The layers, from the bottom: platform, base, engines, rules, screens, app. Each engine
(engines/graphics, engines/sound, engines/credit, engines/control) is a module of its own: an
engine may use the layers below it, never another engine. The modelled player of payout-sim
(sim/) sits on rules, beside screens. A file may always include the headers of its own folder. The rules (and payout-sim's player on
them) neither draw, sound, wait nor read touches: they include no graphics or sound engine, and
none of base's waits, timers or input.

Fails, naming each, on any include that goes the wrong way; otherwise prints the count checked.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(ROOT, "src")

LEVELS = {"platform": 0, "base": 1, "engines": 2, "rules": 3, "screens": 4, "sim": 4, "app": 5}
# What the order of play must not use, though it lies below it.
NOT_FOR_RULES = ("engines/graphics/", "engines/sound/", "base/waits.h", "base/timers.h",
                 "base/input.h")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def module_of(path):
    """The module of a path below src/: its top folder, or engines/<engine>."""
    parts = path.split("/")
    if parts[0] == "engines" and len(parts) > 2:
        return "engines/" + parts[1]
    return parts[0]


def allowed(source_module, header_module, header):
    if source_module in ("rules", "sim") and header.startswith(NOT_FOR_RULES):
        return False
    if source_module == header_module:
        return True
    return LEVELS[header_module.split("/")[0]] < LEVELS[source_module.split("/")[0]]


def main():
    found = []
    checked = 0
    for folder, _, files in os.walk(SRC):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.relpath(os.path.join(folder, name), SRC)
            source_module = module_of(path)
            if source_module.split("/")[0] not in LEVELS:
                continue
            with open(os.path.join(folder, name)) as source:
                for header in INCLUDE.findall(source.read()):
                    if "/" not in header:
                        continue
                    checked += 1
                    header_module = module_of(header)
                    if header_module.split("/")[0] not in LEVELS:
                        continue
                    if not allowed(source_module, header_module, header):
                        found.append(f"{path} -> {header}")
    for line in found:
        print(f"include goes up or sideways: {line}", file=sys.stderr)
    if found:
        return 1
    print(f"{checked} includes checked, every one points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
