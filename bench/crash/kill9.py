#!/usr/bin/env python3
"""bench/crash/kill9.py [--trials N] [--player PATH] [--seed S] [--files N] [--work DIR] [--reopen] [--verbose]

Kills the player with SIGKILL while it writes the three files it rewrites,
config.ini, Default.pld and base.dbm, and checks what is left on disk: each
file must still be there, whole, and hold either what it held before or
something the player really wrote (never a torn, truncated or empty file),
and no temporary file may be left in the program folder.

Every trial starts the real program (offscreen, null output, its own
ORVE_HOME made from one known starting state) with N files on the command
line, which replaces the saved playlist and adds N titles to the music
base, and aims at one write of one file, a third of the trials each:

  config.ini   SIGTERM once the list is complete; one of the settings'
               replacements at exit, chosen at random
  Default.pld  SIGTERM once the list is complete; the playlist's save at
               exit, which comes after the settings' last replacement
  base.dbm     no SIGTERM; one of the base's saves while the files are
               added (once per slice of the add), chosen at random

When the player is seen to have that write's temporary file open, the
SIGKILL comes at a random moment up to a few milliseconds later. The
player is stopped (SIGSTOP) just before the SIGKILL, so what it had open
at that moment is known: the table says how many kills landed inside the
aimed write. Three calibration runs beforehand give the new content of
each file and how many times each is replaced. Every trial checks all
three files, whichever it aims at.

Standard library only. Not a ctest test: run by hand; exit status 0 when
no file was damaged, 1 otherwise (temporary files left behind are
reported, not failed).
"""

import argparse
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import wave
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
KINDS = ("config.ini", "Default.pld", "base.dbm")
CRLF = b"\r\n"
# The program's own files besides the three: they must not count as leftovers.
KNOWN_NAMES = {"config.ini", "Default.pld", "base.dbm", "rbase.dbm", "Themes", "Decode"}
# QSaveFile links its unnamed file as NAME.XXXXXX just before the rename;
# PartFile writes NAME.part-PID-N.
TEMP_NAME = re.compile(r"^.+\.(?:[A-Za-z0-9]{6}|part-\d+-\d+)$")

# Padding that makes each rewrite long enough for a kill to land inside it:
# a settings section of hand-written notes and a base of a few thousand titles.
CONFIG_PAD_KEYS = 2000
BASE_PAD_ARTISTS = 1500


def log(*parts):
    print(*parts, flush=True)


# --- the starting state ---


def write_wav(path, seconds=0.5, rate=44100):
    # An untagged WAV: the base files it under "Unknow" with its file name as the title.
    frames = int(seconds * rate)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(struct.pack("<hh", 0, 0) * frames)


def make_media(work, count):
    # Deep folder names, as music collections have: long playlist lines
    # make the playlist's save long enough to be hit.
    media = (work / "Музыка" / "Исполнитель с довольно длинным именем"
             / "Альбом, переизданный с дополнительными записями и ремиксами (2004)" / "CD 1 — студийные записи")
    media.mkdir(parents=True, exist_ok=True)
    original = media / "original.wav"
    if not original.exists():
        write_wav(original)
    new, old = [], []
    for i in range(count):
        b = media / f"b_{i:05d}.wav"
        if not b.exists():
            os.link(original, b)
        new.append(str(b))
    for i in range(count // 2):
        a = media / f"a_{i:05d}.wav"
        if not a.exists():
            os.link(original, a)
        old.append(str(a))
    return new, old


def lines_bytes(lines):
    return b"".join(line.encode() + CRLF for line in lines)


def old_config(fresh):
    """The settings before a trial: every section the exit writes, with one
    key each (so no section is appended at the end), then the notes, whose
    last line closes the file. A file cut short loses that line."""
    sections = parse_ini(fresh)
    out = []
    for name, entries in sections:
        if not entries:
            continue
        key, value = entries[-1]
        out += [f"[{name}]", f"{key}={value}"]
    out.append("[kill9]")
    out += [f"note{i:04d}=Заметка {i}: строка, которую программа должна сохранить как есть" for i in range(CONFIG_PAD_KEYS)]
    out.append("end=1")
    return lines_bytes(out)


def old_base(media_dir):
    """The music base before a trial: thousands of titles, an "Unknow"
    section the new titles go into, and a last section that stays last."""
    out = []
    for a in range(BASE_PAD_ARTISTS):
        out.append(f"[Исполнитель {a:04d}]")
        for t in range(2):
            out.append(f"Песня {t}={media_dir}/Исполнитель {a:04d}/Песня {t}.mp3")
    out += ["[Unknow]", f"zz_first.wav={media_dir}/zz_first.wav", "[Я последний]", "end=1"]
    return lines_bytes(out)


# --- checking what is on disk ---


def parse_ini(data):
    """Sections in order as (name, [(key, value)]); None when a line is
    neither a header nor a key line."""
    text = data.decode("utf-8")
    sections = [("", [])]
    for line in text.split("\r\n")[:-1]:
        if line.startswith("[") and line.endswith("]"):
            sections.append((line[1:-1], []))
        elif "=" in line and not line.startswith("=") and not line.startswith(";"):
            key, value = line.split("=", 1)
            sections[-1][1].append((key, value))
        else:
            return None
    return sections


def ini_map(sections):
    return {(s.lower(), k.lower()): v for s, entries in sections for k, v in entries}


class Checker:
    """Knows the old and the new content of each file and says what a file
    left by a killed player is: "old", "new", "between" (a whole file the
    player wrote on the way, e.g. the settings with half the exit's keys),
    or a reason it is damaged."""

    def __init__(self, old, new, base_new_lines, volatile):
        self.old = old                  # kind -> bytes
        self.new = new                  # kind -> bytes
        self.base_new = base_new_lines  # every "title=path" line the add brings
        self.volatile = volatile        # config keys whose values vary run to run

    def check(self, kind, path):
        if not path.exists():
            return "damaged: missing"
        data = path.read_bytes()
        if data == self.old[kind]:
            return "old"
        if data == self.new[kind]:
            return "new"
        if not data:
            return "damaged: empty"
        if not data.endswith(CRLF):
            return "damaged: ends inside a line"
        if kind == "Default.pld":
            # A save writes the whole list at once: there is nothing between.
            if self.old[kind].startswith(data) or self.new[kind].startswith(data):
                return "damaged: truncated"
            return "damaged: neither old nor new"
        try:
            sections = parse_ini(data)
        except UnicodeDecodeError:
            return "damaged: not UTF-8"
        if sections is None:
            return "damaged: a line that is not INI"
        if kind == "config.ini":
            return self.check_config(data, sections)
        return self.check_base(data)

    def check_config(self, data, sections):
        if not data.endswith(b"\r\n[kill9]\r\n" + self.old["config.ini"].split(b"\r\n[kill9]\r\n", 1)[1]):
            return "damaged: the last section is not whole"
        got = ini_map(sections)
        old = ini_map(parse_ini(self.old["config.ini"]))
        new = ini_map(parse_ini(self.new["config.ini"]))
        for key, value in old.items():
            if key not in got:
                return f"damaged: [{key[0]}] {key[1]} lost"
        for key, value in got.items():
            if key in self.volatile:
                continue
            if value not in (old.get(key), new.get(key)):
                return f"damaged: [{key[0]}] {key[1]}={value} was never written"
        return "between"

    def check_base(self, data):
        old = self.old["base.dbm"].split(CRLF)[:-1]
        got = data.split(CRLF)[:-1]
        cut = old.index("[Я последний]".encode())
        head, tail = old[:cut], old[cut:]
        if len(got) < len(old):
            return "damaged: lines lost"
        if got[: len(head)] != head:
            return "damaged: the titles before the new ones changed"
        if got[len(got) - len(tail):] != tail:
            return "damaged: the last section is not whole"
        added = got[len(head): len(got) - len(tail)]
        if len(set(added)) != len(added) or not set(added) <= self.base_new:
            return "damaged: a title line that was never written"
        return "between" if added else "old"


def leftovers(home):
    """Whatever is in the program folder besides the program's own files."""
    return [entry for entry in os.listdir(home) if entry not in KNOWN_NAMES]


# --- running the player ---


class Player:
    def __init__(self, binary, home, trace, log_file, arguments, env_base):
        env = dict(env_base)
        env["ORVE_HOME"] = str(home)
        env["ORVE_TRACE"] = str(trace)
        self.trace = trace
        if trace.exists():
            trace.unlink()
        with open(log_file, "ab") as err:
            self.process = subprocess.Popen([str(binary)] + arguments, env=env, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=err)

    def event(self, name):
        """The trace's time (monotonic seconds) of an event, or None."""
        try:
            text = self.trace.read_text()
        except FileNotFoundError:
            return None
        for line in text.splitlines():
            parts = line.split()
            if len(parts) >= 2 and parts[1] == name:
                return float(parts[0]) / 1000.0
        return None

    def wait_event(self, name, timeout=60.0, poll=0.001, must=True):
        """The event's time; when the player ends first, None (must=False)
        or RuntimeError."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            t = self.event(name)
            if t is not None:
                return t
            if self.process.poll() is not None:
                if not must:
                    return None
                raise RuntimeError(f"the player ended (status {self.process.returncode}) before '{name}'")
            time.sleep(poll)
        raise RuntimeError(f"no '{name}' from the player within {timeout:.0f} s")

    def alive(self):
        return self.process.poll() is None

    def signal(self, sig):
        # Only this process, by its id.
        if self.alive():
            self.process.send_signal(sig)

    def finish(self, timeout=60.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise RuntimeError("the player did not end after SIGTERM")


def sleep_until(t):
    # time.sleep for the bulk, then a short spin: kills land within ~0.1 ms of their aim.
    while True:
        left = t - time.monotonic()
        if left <= 0:
            return
        if left > 0.002:
            time.sleep(left - 0.0015)


def watch_files(player, files):
    """Runs a player to its end, noting when each file was replaced; SIGTERM
    as soon as the list is complete. Looks every 0.2 ms: a tighter loop
    would take a core from the player on a small machine and skew the times."""
    seen = {k: signature(p) for k, p in files.items()}
    changes = {k: [] for k in files}
    term_at = None
    next_trace_look = 0.0
    while player.alive():
        now = time.monotonic()
        for k, p in files.items():
            sig = signature(p)
            if sig != seen[k]:
                seen[k] = sig
                changes[k].append(now)
        if term_at is None and now >= next_trace_look:
            next_trace_look = now + 0.002
            if player.event("list-complete") is not None:
                term_at = time.monotonic()
                player.signal(signal.SIGTERM)
        time.sleep(0.0002)
    return changes, term_at


def signature(path):
    # The inode alone is not enough: a freed inode number comes back at once.
    try:
        st = os.stat(path)
        return (st.st_ino, st.st_mtime_ns, st.st_size)
    except FileNotFoundError:
        return None


def open_temporaries(pid, home):
    """The temporary files the player has open in the program folder, as
    {key: (state, kind)}: "writing" while its unnamed file (O_TMPFILE, the
    content not yet in place) is open, "linked" for one open under a
    temporary name (NAME.XXXXXX, NAME.part-PID-N). The kind is told by the
    first bytes; None while nothing is written."""
    found = {}
    prefix = str(home) + "/"
    try:
        fds = os.listdir(f"/proc/{pid}/fd")
    except OSError:
        return found
    for fd in fds:
        try:
            target = os.readlink(f"/proc/{pid}/fd/{fd}")
        except OSError:
            continue
        if not target.startswith(prefix):
            continue
        name = target[len(prefix):]
        if name.startswith("#") and name.endswith(" (deleted)"):
            try:
                with open(f"/proc/{pid}/fd/{fd}", "rb") as f:
                    head = f.read(64)
            except OSError:
                head = b""
            found[name] = ("writing", kind_of_content(head))
        else:
            for kind in KINDS:
                if name != kind and name.startswith(kind + ".") and TEMP_NAME.match(name):
                    found[name] = ("linked", kind)
    return found


def stopped(pid, timeout=0.1):
    """Waits until the signalled process has really stopped."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            with open(f"/proc/{pid}/stat", "rb") as f:
                state = f.read().rsplit(b")", 1)[1].split()[0]
        except OSError:
            return False
        if state in (b"T", b"t"):
            return True
    return False


def writes_in_progress(pid, home):
    """{kind: state} of what the (stopped) player is writing. A file linked
    under its temporary name still shows as "#inode (deleted)" among the
    open files (the descriptor keeps its first name): the folder tells."""
    found = {kind: state for state, kind in open_temporaries(pid, home).values() if kind}
    for name in os.listdir(home):
        for kind in KINDS:
            if name != kind and name.startswith(kind + ".") and TEMP_NAME.match(name):
                found[kind] = "linked"
    return found


def kind_of_content(head):
    # Told by the first bytes: the playlist is paths, the base starts with
    # the padding artists, the settings with their first section.
    if not head:
        return None
    if head.startswith(b"/"):
        return "Default.pld"
    if head.startswith("[Исполнитель".encode()):
        return "base.dbm"
    if head.startswith(b"["):
        return "config.ini"
    return "other"


# --- the run ---


def main():
    parser = argparse.ArgumentParser(description="SIGKILL the player while it writes its files; count damaged files.")
    parser.add_argument("--trials", type=int, default=90, help="trials in all, a third per file (default 90)")
    parser.add_argument("--player", default=str(ROOT / "build" / "src" / "app" / "orve"))
    parser.add_argument("--seed", type=int, default=None, help="random seed (default: from the clock, printed)")
    parser.add_argument("--files", type=int, default=3000, help="files on the command line (default 3000)")
    parser.add_argument("--work", default=None, help="working folder (default: a new one in /tmp, removed)")
    parser.add_argument("--reopen", action="store_true",
                        help="after each kill start the player again on what was left and check it reads "
                             "the whole playlist (doubles the time)")
    parser.add_argument("--verbose", action="store_true", help="a line per trial")
    args = parser.parse_args()

    binary = Path(args.player)
    if not os.access(binary, os.X_OK):
        sys.exit(f"kill9: no player at {binary} (build it: ninja -C build orve, or give --player)")
    seed = args.seed if args.seed is not None else int(time.time())
    rng = random.Random(seed)
    work = Path(args.work) if args.work else Path(tempfile.mkdtemp(prefix="orve-kill9-"))
    work.mkdir(parents=True, exist_ok=True)
    try:
        return run(binary, work, rng, seed, args)
    finally:
        if not args.work:
            shutil.rmtree(work, ignore_errors=True)


def run(binary, work, rng, seed, args):
    runtime = work / "runtime"
    runtime.mkdir(mode=0o700, exist_ok=True)
    env = dict(os.environ)
    env.update({"QT_QPA_PLATFORM": "offscreen", "ORVE_AUDIO_OUTPUT": "null",
                "XDG_CACHE_HOME": str(work / "cache"), "XDG_RUNTIME_DIR": str(runtime)})
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    log_file = work / "player.log"
    trace = work / "trace"
    new_paths, old_paths = make_media(work, args.files)
    media_dir = Path(new_paths[0]).parent

    log(f"kill9: {binary}, {args.files} files, seed {seed}, work {work}")
    # A copy: a rebuild during the run must not take the program away.
    copy = work / "orve"
    shutil.copy2(binary, copy)
    version = subprocess.run([str(copy), "--version"], capture_output=True, text=True, env=env)
    if version.returncode != 0:
        sys.exit(f"kill9: {binary} does not run (being rebuilt?): {version.stderr.strip()}")
    binary = copy
    # A first run in an empty folder: the sections the settings get, the
    # program's own files (themes, radio base) and a warm measurement cache.
    fresh = work / "fresh"
    shutil.rmtree(fresh, ignore_errors=True)
    p = Player(binary, fresh, trace, log_file, new_paths, env)
    p.wait_event("list-complete")
    p.signal(signal.SIGTERM)
    p.finish()

    state0 = work / "state0"
    shutil.rmtree(state0, ignore_errors=True)
    state0.mkdir()
    for name in os.listdir(fresh):
        if name not in KINDS:
            src = fresh / name
            (shutil.copytree if src.is_dir() else shutil.copy2)(src, state0 / name)
    old = {
        "config.ini": old_config((fresh / "config.ini").read_bytes()),
        "Default.pld": lines_bytes(old_paths),
        "base.dbm": old_base(media_dir),
    }
    for kind in KINDS:
        (state0 / kind).write_bytes(old[kind])

    # Calibration: the new content of each file, and when each is replaced.
    home = work / "home"
    refs = []
    for _ in range(3):
        shutil.rmtree(home, ignore_errors=True)
        shutil.copytree(state0, home)
        p = Player(binary, home, trace, log_file, new_paths, env)
        changes, term_at = watch_files(p, {k: home / k for k in KINDS})
        if p.finish() != 0:
            sys.exit("kill9: the player failed in a calibration run (see --work's player.log)")
        ready, complete = p.event("ready"), p.event("list-complete")
        refs.append({"files": {k: (home / k).read_bytes() for k in KINDS}, "changes": changes,
                     "term": term_at, "ready": ready, "complete": complete, "left": leftovers(home)})

    new = dict(refs[0]["files"])
    maps = [ini_map(parse_ini(r["files"]["config.ini"])) for r in refs]
    volatile = {k for k in maps[0] if any(m.get(k) != maps[0][k] for m in maps)}
    if new["Default.pld"] != lines_bytes(new_paths):
        sys.exit("kill9: the calibration run saved another playlist than the one on its command line")
    media_base = new["base.dbm"].split(CRLF)
    base_new_lines = {line for line in media_base if line.startswith(b"b_") and b"=" in line}
    if len(base_new_lines) != args.files:
        sys.exit(f"kill9: the base gained {len(base_new_lines)} titles, not {args.files}")
    checker = Checker(old, new, base_new_lines, volatile)
    # The check must take what a whole run wrote as valid.
    tmp = work / "verify"
    tmp.mkdir(exist_ok=True)
    for r in refs:
        for kind in KINDS:
            (tmp / kind).write_bytes(r["files"][kind])
            verdict = checker.check(kind, tmp / kind)
            if verdict.startswith("damaged"):
                sys.exit(f"kill9: a whole run's {kind} reads as {verdict}: the check is wrong")
        if r["left"]:
            sys.exit(f"kill9: a whole run left {r['left']} in the program folder")

    def span(kind, origin):
        ts = [t - r[origin] for r in refs for t in r["changes"][kind] if t >= r[origin]]
        return (min(ts), max(ts)) if ts else (None, None)

    cfg_first, cfg_last = span("config.ini", "term")
    pld_first, pld_last = span("Default.pld", "term")
    base_first, base_last = span("base.dbm", "ready")
    add_s = max(r["complete"] - r["ready"] for r in refs)
    if cfg_last is None or pld_last is None or base_last is None:
        sys.exit("kill9: a calibration run did not replace every file")
    config_writes = sum(len([t for t in r["changes"]["config.ini"] if t >= r["term"]]) for r in refs) / len(refs)
    base_writes = sum(len([t for t in r["changes"]["base.dbm"] if t < r["term"]]) for r in refs) / len(refs)
    log(f"calibration (3 runs): list complete {add_s * 1e3:.0f} ms after the windows; "
        f"base.dbm replaced {base_writes:.0f} times while adding ({base_first * 1e3:.0f}-{base_last * 1e3:.0f} ms); "
        f"after SIGTERM config.ini replaced {config_writes:.0f} times ({cfg_first * 1e3:.1f}-{cfg_last * 1e3:.1f} ms), "
        f"Default.pld at {pld_first * 1e3:.1f}-{pld_last * 1e3:.1f} ms")

    # Each trial aims at one write of its file: the n-th replacement of the
    # settings at exit (n at random), the playlist's save at exit, or the
    # n-th save of the base while the files are added. The settings' and
    # the playlist's writes are found by watching the files (a look every
    # few microseconds catches each replacement before the aimed one),
    # then all three by looking for their temporary file among the
    # player's open files. The kill comes at a random moment up to `reach`
    # after that file was seen; the reach grows after a kill that found
    # the write still going and shrinks after one that came too late, so
    # that most kills land inside the write.
    exit_config_writes = min(len([t for t in r["changes"]["config.ini"] if t >= r["term"]]) for r in refs)
    adding_base_writes = min(len([t for t in r["changes"]["base.dbm"] if t < r["term"]]) for r in refs)
    reach = {k: 0.002 for k in KINDS}

    per_kind = max(1, args.trials // 3)
    order = [k for _ in range(per_kind) for k in KINDS]
    stats = {k: {"aimed": 0, "inside": 0, "old": 0, "between": 0, "new": 0, "damaged": 0,
                 "inside_any": 0, "damaged_any": 0} for k in KINDS}
    damage_notes, left_notes, linked_notes = [], [], []
    exited_first = missed = 0
    unexpected = []
    reopen_failures = 0
    started = time.monotonic()
    for n, aim in enumerate(order, 1):
        shutil.rmtree(home, ignore_errors=True)
        shutil.copytree(state0, home)
        with open(log_file, "a") as f:
            f.write(f"--- trial {n}\n")
        p = Player(binary, home, trace, log_file, new_paths, env)
        target = 1
        if not p.wait_event("ready" if aim == "base.dbm" else "list-complete", must=False):
            # Counted, not aimed: the files it leaves are checked all the same.
            unexpected.append(f"trial {n}: the player ended with status {p.process.returncode} before its "
                              f"list was complete, with no signal from here (see {log_file})")
            seen_at = None
        elif aim == "base.dbm":
            # The first half of the saves: a busy machine may hide some from the look.
            target = rng.randint(1, max(1, adding_base_writes // 2))
            seen_at = wait_for_write(p, home, aim, target)
        else:
            t0 = time.monotonic()
            p.signal(signal.SIGTERM)
            if aim == "config.ini":
                target = rng.randint(1, exit_config_writes)
                ready_at = wait_replaced(p, home / aim, target - 1, t0)
            else:
                ready_at = wait_replaced(p, home / "config.ini", exit_config_writes, t0, home / aim)
            seen_at = None if ready_at is None else wait_for_write(p, home, aim, 1, guard=home / aim)
        if seen_at is None:
            missed += 1
            delay = 0.0
        else:
            delay = rng.uniform(0.0, reach[aim])
            sleep_until(seen_at + delay)
        # Stopped first, so what it has open is seen as it stands when the
        # SIGKILL comes; a stopped process dies of it the same way.
        was_alive = p.alive()
        p.signal(signal.SIGSTOP)
        inflight = writes_in_progress(p.process.pid, home) if was_alive and stopped(p.process.pid) else {}
        p.signal(signal.SIGKILL)
        p.process.wait()
        if not was_alive:
            exited_first += 1
        if seen_at is not None:
            reach[aim] = min(0.5, max(0.0001, reach[aim] * (1.1 if aim in inflight else 0.8)))
        verdicts = {kind: checker.check(kind, home / kind) for kind in KINDS}
        st = stats[aim]
        st["aimed"] += 1
        st["inside"] += aim in inflight
        st["damaged" if verdicts[aim].startswith("damaged") else verdicts[aim]] += 1
        for kind in KINDS:
            stats[kind]["inside_any"] += kind in inflight
            if inflight.get(kind) == "linked":
                linked_notes.append(f"trial {n}: killed while the temporary {kind} had its temporary name, "
                                    "before the rename")
            if verdicts[kind].startswith("damaged"):
                stats[kind]["damaged_any"] += 1
                damage_notes.append(f"trial {n} (aimed at {aim} write {target}, +{delay * 1e3:.2f} ms): "
                                    f"{kind} {verdicts[kind]}")
                keep = work / "damaged" / f"trial{n:03d}"
                keep.mkdir(parents=True, exist_ok=True)
                if (home / kind).exists():
                    shutil.copy2(home / kind, keep / kind)
        if args.verbose:
            log(f"  trial {n}: {aim} write {target}" + (" not seen" if seen_at is None else f" +{delay * 1e3:.2f} ms")
                + ("" if was_alive else ", had ended") + "; open: "
                + (", ".join(f"{k} {v}" for k, v in inflight.items()) or "-") + "; "
                + ", ".join(f"{k} {verdicts[k]}" for k in KINDS))
        left = leftovers(home)
        if left:
            left_notes.append(f"trial {n} (aimed at {aim}): left {', '.join(sorted(left))}")
        if args.reopen:
            reopen_failures += reopen(binary, home, trace, log_file, env, n, damage_notes)
        if n % 15 == 0:
            log(f"  {n}/{len(order)} trials, {time.monotonic() - started:.0f} s")

    log("")
    log(f"{'':<12} {'':>6} {'killed in':>9} {'found afterwards':^29} {'all trials':^18}")
    log(f"{'file':<12} {'trials':>6} {'its write':>9} {'old':>5} {'between':>7} {'new':>5} {'damaged':>8}  "
        f"{'in write':>8} {'damaged':>8}")
    for kind in KINDS:
        s = stats[kind]
        between = "-" if kind == "Default.pld" else str(s["between"])
        log(f"{kind:<12} {s['aimed']:>6} {s['inside']:>9} {s['old']:>5} {between:>7} {s['new']:>5} "
            f"{s['damaged']:>8}  {s['inside_any']:>8} {s['damaged_any']:>8}")
    total_left = len(left_notes)
    log(f"{len(order)} trials in {time.monotonic() - started:.0f} s; aimed write not seen: {missed}; "
        f"ended on its own before the kill: {exited_first}; trials that left temporary files: {total_left}"
        + (f"; the player could not read back what was left: {reopen_failures}" if args.reopen else "")
        + (f"; ended by itself before its list was complete: {len(unexpected)}" if unexpected else ""))
    log("kills came up to " + ", ".join(f"{k} {reach[k] * 1e3:.1f} ms" for k in KINDS)
        + " after the write was seen to start (at the end of the run)")
    for note in damage_notes + left_notes + linked_notes + unexpected:
        log("  " + note)
    if damage_notes and args.work:
        log(f"damaged files kept in {work / 'damaged'}")
    # A stray temporary file wastes space but loses nothing: it is told, and
    # only damage fails the run.
    bad = any(stats[k]["damaged_any"] for k in KINDS) or reopen_failures
    log("result: " + ("FILES DAMAGED" if bad else "no file damaged") + "; "
        + (f"{total_left} trial(s) left a temporary file behind" if total_left else "nothing left behind"))
    return 1 if bad else 0


def wait_replaced(player, path, count, since, unless=None, timeout=60.0):
    """Watches `path` until it has been replaced `count` times; returns
    when the last was seen (`since` for none), or None when the player
    ended first or replaced `unless` first."""
    last = signature(path)
    other = signature(unless) if unless else None
    seen = since
    deadline = time.monotonic() + timeout
    while count > 0:
        if not player.alive() or time.monotonic() > deadline:
            return None
        sig = signature(path)
        if sig != last:
            last = sig
            seen = time.monotonic()
            count -= 1
        elif unless and signature(unless) != other:
            return None
    return seen


def wait_for_write(player, home, kind, target, guard=None, timeout=60.0):
    """Watches the player's open files until it opens the temporary file of
    its `target`-th write of `kind` (counted from now); returns when that
    was first seen, or None when the player got past it unseen (`guard`
    replaced first) or ended."""
    pid = player.process.pid
    guarded = signature(guard) if guard else None
    first_seen = {}   # temporary file open now -> when first seen
    counted = set()   # of those, the ones counted as a write of `kind`
    writes = 0
    deadline = time.monotonic() + timeout
    next_trace_look = 0.0
    while player.alive() and time.monotonic() < deadline:
        now = time.monotonic()
        current = open_temporaries(pid, home)
        for key, (state, k) in current.items():
            first_seen.setdefault(key, now)
            if state == "writing" and k == kind and key not in counted:
                counted.add(key)
                writes += 1
                if writes == target:
                    return first_seen[key]
        # A name that is gone may come back for another file (inode numbers are reused).
        for key in list(first_seen):
            if key not in current:
                del first_seen[key]
                counted.discard(key)
        if guard and signature(guard) != guarded:
            return None
        if kind == "base.dbm" and now >= next_trace_look:
            next_trace_look = now + 0.005
            if player.event("list-complete") is not None:
                return None  # the add is over: no more saves of the base
    return None


def reopen(binary, home, trace, log_file, env, n, notes):
    """Starts the player on what a kill left: it must read the whole
    playlist (every line names an existing file) and end cleanly."""
    data = (home / "Default.pld").read_bytes() if (home / "Default.pld").exists() else b""
    expected = len(data.split(CRLF)) - 1 if data.endswith(CRLF) else None
    p = Player(binary, home, trace, log_file, [], env)
    try:
        p.wait_event("list-complete")
        got = None
        for line in trace.read_text().splitlines():
            parts = line.split()
            if len(parts) == 3 and parts[1] == "list-complete":
                got = int(parts[2])
        p.signal(signal.SIGTERM)
        status = p.finish()
    except RuntimeError as e:
        p.signal(signal.SIGKILL)
        p.process.wait()
        notes.append(f"trial {n}: on reopening, {e}")
        return 1
    if status != 0 or expected is None or got != expected:
        notes.append(f"trial {n}: on reopening, {got} entries of {expected}, status {status}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
