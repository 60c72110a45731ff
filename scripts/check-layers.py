#!/usr/bin/env python3
"""Checks the layering of the tree by its #include lines and fails with the offending file and line.

Modules: product code of a module includes only itself and the modules below it (base < gui < serial,
skin < shell) and never tools/, bench/ or testsupport/. Skin parts: every file under skin/ (tests and fuzz
targets too) includes only its own part and the parts before it in SKIN_PARTS.
usage: check-layers.py [SOURCE_ROOT]
"""
import os
import re
import sys

# What the product code of each module may include.
MODULES = {
    "base": {"base"},
    "gui": {"base", "gui"},
    "serial": {"base", "gui", "serial"},
    "skin": {"base", "gui", "skin"},
    "shell": {"base", "gui", "serial", "skin", "shell"},
    "console": {"base", "console"},
}
# The skin's parts from the bottom up: the folders under skin/, each with its own win/, tests/ and fuzz/.
SKIN_PARTS = ["container", "draw", "data", "frame", "controls", "controls/scrollbars", "controls/checks",
              "controls/inputs", "controls/media", "controls/lists", "manager"]
SKIP_DIRS = {"build", ".git", "third_party"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def is_test(rel):
    parts = rel.split("/")
    return "tests" in parts or "fuzz" in parts


def skin_part(rel):
    """The part of a path under skin/ ('controls/checks' for skin/controls/checks/win/X.cpp), None elsewhere."""
    parts = rel.split("/")
    if parts[0] != "skin" or len(parts) < 3:
        return None
    folders = []
    for p in parts[1:-1]:
        if p in ("win", "tests", "fuzz"):
            break
        folders.append(p)
    return "/".join(folders)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    for top in sorted(os.listdir(root)):
        if top in SKIP_DIRS or not os.path.isdir(os.path.join(root, top)):
            continue
        for d, dirs, files in os.walk(os.path.join(root, top)):
            dirs[:] = sorted(x for x in dirs if x not in SKIP_DIRS)
            for f in sorted(files):
                if not f.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(d, f)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                faults += check_file(root, rel, path)
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) break the layering", file=sys.stderr)
        return 1
    return 0


def check_file(root, rel, path):
    faults = []
    module = rel.split("/")[0]
    own_part = skin_part(rel)
    if module == "skin" and own_part not in SKIN_PARTS:
        faults.append(f"{rel}:1: skin/{own_part or ''} is no part of the skin (see SKIN_PARTS in this script)")
        return faults
    with open(path, encoding="utf-8", errors="replace") as src:
        for number, line in enumerate(src, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            # A bare name is the file beside the includer.
            beside = os.path.normpath(os.path.join(os.path.dirname(rel), target)).replace(os.sep, "/")
            if "/" not in target or os.path.exists(os.path.join(root, beside)):
                if os.path.exists(os.path.join(root, beside)):
                    target = beside
            where = f"{rel}:{number}: {line.strip()}"
            to_module = target.split("/")[0]
            if module in MODULES and not is_test(rel) and "/" in target:
                if to_module in ("tools", "bench", "testsupport"):
                    faults.append(f"{where}: product code includes {to_module}/")
                elif to_module in MODULES and to_module not in MODULES[module]:
                    faults.append(f"{where}: {module}/ may not include {to_module}/ (it sits above)")
            if own_part is not None and to_module == "skin":
                to_part = skin_part(target)
                if to_part not in SKIN_PARTS:
                    faults.append(f"{where}: skin/{to_part or ''} is no part of the skin")
                elif SKIN_PARTS.index(to_part) > SKIN_PARTS.index(own_part):
                    faults.append(f"{where}: skin part {own_part} may not include {to_part} (it sits above)")
    return faults


if __name__ == "__main__":
    sys.exit(main())
