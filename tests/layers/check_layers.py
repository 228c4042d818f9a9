#!/usr/bin/env python3
"""The layers of src/: no folder includes one above it, and each library
links the libraries of the folders it includes (so nothing compiles only
because every target exports src/). Usage: check_layers.py SRC_DIR"""
import os
import re
import sys

# Bottom up; a folder may include its own tier and the tiers below.
TIERS = [
    ["base", "audio/dsp", "audio"],
    ["settings", "widgets", "aacenc"],
    ["engine", "appearance"],
    ["session"],
    ["playlist", "equalizer", "settings/window", "library", "convert"],
    ["app"],
]
TIER = {folder: n for n, tier in enumerate(TIERS) for folder in tier}
INCLUDE = re.compile(r'^\s*#\s*include\s+"((?:audio/dsp)|(?:settings/window)|[a-z]+)/[^"/]+"', re.M)


def library_of(folder):
    return "orve_dsp" if folder == "audio/dsp" else "orve_" + folder.replace("/", "_")


def main(src):
    problems = []
    included = {}
    for root, _, files in os.walk(src):
        folder = os.path.relpath(root, src)
        if folder not in TIER:
            continue
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            with open(path, encoding="utf-8") as f:
                for other in INCLUDE.findall(f.read()):
                    if other not in TIER or other == folder:
                        continue
                    included.setdefault(folder, set()).add(other)
                    if TIER[other] > TIER[folder]:
                        problems.append(f"{os.path.relpath(path, src)} includes {other}/, a folder above it")
    for folder, others in sorted(included.items()):
        with open(os.path.join(src, folder, "CMakeLists.txt"), encoding="utf-8") as f:
            linked = set(re.findall(r"\borve_\w+", f.read()))
        for other in sorted(others):
            if library_of(other) not in linked:
                problems.append(f"{library_of(folder)} includes {other}/ without linking {library_of(other)}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
