#!/usr/bin/env python3
"""cmake --install of the build into a fresh prefix: the exact file list,
the menu entry through desktop-file-validate, the metainfo through
appstreamcli, the manual pages through man, the icons' sizes, and the
installed programs answering --version / --help.

usage: check_install.py BUILD_DIR SOURCE_DIR
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

EXPECTED = sorted([
    "bin/orve",
    "bin/orve-aacenc",
    "share/applications/orve.desktop",
    "share/doc/orve/copyright",
    "share/icons/hicolor/128x128/apps/orve.png",
    "share/icons/hicolor/16x16/apps/orve.png",
    "share/icons/hicolor/256x256/apps/orve.png",
    "share/icons/hicolor/32x32/apps/orve.png",
    "share/icons/hicolor/48x48/apps/orve.png",
    "share/icons/hicolor/64x64/apps/orve.png",
    "share/icons/hicolor/scalable/apps/orve.svg",
    "share/man/man1/orve-aacenc.1.gz",
    "share/man/man1/orve.1.gz",
    "share/metainfo/orve.metainfo.xml",
    "share/orve/rbase.dbm",
    "share/orve/themes/blue.thd",
    "share/orve/themes/crimson.thd",
    "share/orve/themes/emerald.thd",
    "share/orve/themes/graphite.thd",
])

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what)


def run(args, **kw):
    result = subprocess.run(args, capture_output=True, text=True, **kw)
    shown = " ".join(args)
    print(f"$ {shown}  -> {result.returncode}")
    for stream in (result.stdout, result.stderr):
        lines = stream.rstrip().splitlines()
        if lines:
            print("\n".join(lines[:20] + (["..."] if len(lines) > 20 else [])))
    return result


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def main():
    build, source = sys.argv[1], sys.argv[2]
    prefix = tempfile.mkdtemp(prefix="orve-install-")
    try:
        result = run(["cmake", "--install", build, "--prefix", prefix])
        check(result.returncode == 0, "cmake --install succeeds")
        found = []
        for folder, _, files in os.walk(prefix):
            for name in files:
                found.append(os.path.relpath(os.path.join(folder, name), prefix))
        found.sort()
        check(found == EXPECTED, "installed files are exactly the expected ones:\n  missing "
              + str(sorted(set(EXPECTED) - set(found))) + "\n  extra " + str(sorted(set(found) - set(EXPECTED))))

        # Programs are executable, data is not; folders are rwxr-xr-x.
        for name in found:
            mode = os.stat(os.path.join(prefix, name)).st_mode & 0o777
            want = 0o755 if name.startswith("bin/") else 0o644
            check(mode == want, f"{name} has mode {want:o} (has {mode:o})")
        for folder, dirs, _ in os.walk(prefix):
            for d in dirs:
                mode = os.stat(os.path.join(folder, d)).st_mode & 0o777
                check(mode == 0o755, f"folder {os.path.relpath(os.path.join(folder, d), prefix)} is 755 (has {mode:o})")

        desktop = os.path.join(prefix, "share/applications/orve.desktop")
        result = run(["desktop-file-validate", desktop])
        check(result.returncode == 0 and not result.stdout.strip(), "desktop-file-validate reports nothing")
        with open(desktop, encoding="utf-8") as f:
            entry = f.read()
        for line in ["Exec=orve %U", "Icon=orve", "Type=Application", "Terminal=false",
                     "Categories=AudioVideo;Audio;Player;", "GenericName[ru]=Аудиоплеер"]:
            check(line in entry.splitlines(), f"the menu entry has the line {line}")
        mime = next(l for l in entry.splitlines() if l.startswith("MimeType="))[len("MimeType="):].split(";")
        for kind in ["audio/mpeg", "audio/x-wav", "audio/ogg", "audio/flac", "audio/x-aiff", "audio/aac",
                     "audio/mp4", "audio/x-ms-wma", "audio/x-mpegurl", "audio/x-scpls"]:
            check(kind in mime, f"the menu entry opens {kind}")

        # The id is the desktop file's name, "orve", not a reverse domain
        # name: that one warning is lowered to a remark, any other fails.
        metainfo = os.path.join(prefix, "share/metainfo/orve.metainfo.xml")
        result = run(["appstreamcli", "validate", "--no-net", "--override=cid-desktopapp-is-not-rdns=info", metainfo])
        check(result.returncode == 0, "appstreamcli validate passes")
        with open(metainfo, encoding="utf-8") as f:
            check("<release version=\"1.9\"" in f.read(), "the metainfo names the release 1.9")

        for page in ["orve.1.gz", "orve-aacenc.1.gz"]:
            path = os.path.join(prefix, "share/man/man1", page)
            with open(path, "rb") as f:
                head = f.read(10)
            # gzip -n: no name (FLG 0) and no time (MTIME 0); -9: XFL 2.
            check(head[:3] == b"\x1f\x8b\x08" and head[3] == 0 and head[4:8] == b"\0\0\0\0" and head[8] == 2,
                  f"{page} is gzip -9n")
            result = run(["man", "--warnings", "-l", path], env=dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8"))
            check(result.returncode == 0 and not result.stderr.strip(), f"man --warnings finds nothing in {page}")
            check("ORVE_HOME" in result.stdout or page.startswith("orve-aacenc"), f"{page} tells ORVE_HOME")

        for size in [16, 32, 48, 64, 128, 256]:
            path = os.path.join(prefix, f"share/icons/hicolor/{size}x{size}/apps/orve.png")
            check(png_size(path) == (size, size), f"the {size}x{size} icon is {size}x{size} pixels")
        with open(os.path.join(prefix, "share/icons/hicolor/scalable/apps/orve.svg"), encoding="utf-8") as f:
            check("<svg" in f.read(), "the scalable icon is an SVG")

        result = run([os.path.join(prefix, "bin/orve"), "--version"])
        check(result.returncode == 0 and result.stdout == "ORVE 1.9\n", "the installed orve says its version")
        result = run([os.path.join(prefix, "bin/orve-aacenc"), "--help"])
        check(result.returncode == 0 and "orve-aacenc" in result.stdout, "the installed orve-aacenc answers --help")
        # The schemes installed are the ones the program carries.
        for scheme in ["blue", "crimson", "emerald", "graphite"]:
            with open(os.path.join(source, "data/themes", scheme + ".thd"), "rb") as a, \
                 open(os.path.join(prefix, "share/orve/themes", scheme + ".thd"), "rb") as b:
                check(a.read() == b.read(), f"the installed scheme {scheme} is the bundled one")
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all install checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
