#!/usr/bin/env python3
"""ORVE beside the players and tools people use, whole process against whole
process, on one shared corpus, alternating runs. Run through bench/peers,
which starts Xvfb, PulseAudio, icecast2 and a D-Bus session first:

    bench/peers [--rounds N] [--work DIR] [--only ROW,ROW...]

Rows (each peer that is not installed is skipped with a line):
  add-cold     1,000 tagged MP3s on the command line to the list complete,
               real windows, ORVE's measurement cache empty   vs Audacious, Qmmp
  add-warm     the same with the cache the cold run left       vs Audacious, Qmmp
  startup      start with a 10,000-entry playlist to the list complete
                                                               vs Audacious, Qmmp
  memory       resident memory once idle with those 10,000     vs Audacious, Qmmp
  play         CPU seconds per minute playing a 320 kbit/s MP3, null output,
               the window shown and its display drawing        vs mpv (no window)
  play-hidden  the same with ORVE's windows off the screen (another desktop)
                                                               vs mpv (no window)
  play-dsp     the same with 16 bands and the 7 effects on     vs mpv
  first-sound  an HTTP/ICY station to the first sound written  vs mpv
  decode-*     decode-only, MP3/Ogg/AAC, whole process         vs ffmpeg
  equalizer    16 bands over 60 s of pink noise with tones     vs sox

ORVE is the real program (build/src/app/orve) under Xvfb, followed from
outside through ORVE_TRACE; the decode and equalizer rows use
build/bench/audio/bench_decode_one, a process that runs the player's decoder
and bands alone. Every time is the wall time of a whole process from its
start, every round runs each contender once in alternating order, and each
row prints min/median/max of ORVE and of the peer and of their per-round
ratio (below 1: ORVE is faster or smaller). The corpus is made once in the
work folder (default /tmp/orve-peers, about 5.5 GB) with sox, lame, oggenc
and ffmpeg, and kept for later runs.
"""

import argparse
import os
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("ORVE_BUILD_DIR", os.path.join(ROOT, "build"))
ORVE = os.path.join(BUILD, "src", "app", "orve")
DECODE_ONE = os.path.join(BUILD, "bench", "audio", "bench_decode_one")
ICY_SERVER = os.path.join(ROOT, "tests", "audio", "net", "icy_server.py")

ADD_FILES = 1000
STARTUP_ENTRIES = 10000
PLAY_SECONDS = 20


def log(text):
    print(text, flush=True)


def have(program):
    return shutil.which(program) is not None


def run(args, **kw):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, **kw)


# ---------------------------------------------------------------- corpus

# Eight encodes of music-like sound (pink noise, a gliding sine, a steady
# triangle, a tremolo), as people's files are made: lame CBR, VBR and ABR at
# 44.1 and 48 kHz, and ffmpeg's libmp3lame.
MP3_SOURCES = [
    ("cbr128", 180, ["lame", "--quiet", "-b", "128"]),
    ("cbr192", 200, ["lame", "--quiet", "-b", "192"]),
    ("cbr320", 240, ["lame", "--quiet", "-b", "320"]),
    ("vbr2", 220, ["lame", "--quiet", "-V", "2"]),
    ("vbr0", 260, ["lame", "--quiet", "-V", "0"]),
    ("abr160", 280, ["lame", "--quiet", "--abr", "160"]),
    ("cbr256-48k", 240, ["lame", "--quiet", "-b", "256", "--resample", "48"]),
    ("ffmpeg192", 300, None),
]


def music(path, seconds, seed, rate=44100):
    low = 110 + 37 * seed
    run(["sox", "-n", "-r", str(rate), "-c", "2", "-b", "16", path, "synth", str(seconds), "pinknoise",
         "synth", str(seconds), "sine", "mix", f"{low}-{low * 4}", "synth", str(seconds), "triangle", "mix",
         str(low * 3 // 2), "tremolo", str(2 + seed % 5), "40", "gain", "-n", "-3"])


def id3v23(frames):
    """An ID3v2.3 tag of UTF-16 text frames, with the padding taggers leave."""
    body = b""
    for frame_id, text in frames:
        data = b"\x01" + text.encode("utf-16")
        body += frame_id.encode() + struct.pack(">I", len(data)) + b"\0\0" + data
    body += b"\0" * 512
    n = len(body)
    size = bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])
    return b"ID3\x03\0\0" + size + body


class Corpus:
    def __init__(self, work):
        self.dir = os.path.join(work, "corpus")
        self.mp3_dir = os.path.join(self.dir, "mp3")
        self.links_dir = os.path.join(self.dir, "links")
        self.sources = {name: os.path.join(self.dir, "src", name + ".mp3") for name, _, _ in MP3_SOURCES}
        self.ogg = os.path.join(self.dir, "src", "music.ogg")
        self.m4a = os.path.join(self.dir, "src", "music.m4a")
        self.pink = os.path.join(self.dir, "src", "pink-tones.wav")
        self.mp3s = [os.path.join(self.mp3_dir, f"{i:04d} - Песня {i}.mp3") for i in range(ADD_FILES)]
        self.links = [os.path.join(self.links_dir, str(k), os.path.basename(p))
                      for k in range(STARTUP_ENTRIES // ADD_FILES) for p in self.mp3s]

    def make(self):
        done = os.path.join(self.dir, ".complete")
        if os.path.exists(done):
            return
        for tool in ("sox", "lame", "oggenc", "ffmpeg"):
            if not have(tool):
                sys.exit(f"bench/peers: {tool} is needed to make the corpus")
        log(f"making the corpus in {self.dir} (once)")
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(os.path.join(self.dir, "src"))
        with tempfile.TemporaryDirectory() as tmp:
            for seed, (name, seconds, encoder) in enumerate(MP3_SOURCES):
                wav = os.path.join(tmp, name + ".wav")
                music(wav, seconds, seed)
                if encoder is None:
                    run(["ffmpeg", "-v", "error", "-nostdin", "-i", wav, "-c:a", "libmp3lame", "-b:a", "192k",
                         "-map_metadata", "-1", "-id3v2_version", "0", self.sources[name]])
                else:
                    run(encoder + [wav, self.sources[name]])
                if name == "cbr320":
                    run(["oggenc", "--quiet", "-q", "5", "-o", self.ogg, wav])
                    run(["ffmpeg", "-v", "error", "-nostdin", "-i", wav, "-c:a", "aac", "-b:a", "192k", self.m4a])
                os.remove(wav)
            # 60 s of pink noise with tones: what an equalizer meets in music.
            music(self.pink, 60, 3)
        os.makedirs(self.mp3_dir)
        names = [name for name, _, _ in MP3_SOURCES]
        for i, path in enumerate(self.mp3s):
            with open(self.sources[names[i % len(names)]], "rb") as f:
                audio = f.read()
            tag = id3v23([("TIT2", f"Песня {i}"), ("TPE1", f"Исполнитель {i % 37}"),
                          ("TALB", f"Альбом {i // 12}"), ("TRCK", str(i % 12 + 1)), ("TCON", "Rock"),
                          ("TYER", str(1990 + i % 30))])
            with open(path, "wb") as f:
                f.write(tag + audio)
        for link in self.links:
            os.makedirs(os.path.dirname(link), exist_ok=True)
            os.link(os.path.join(self.mp3_dir, os.path.basename(link)), link)
        open(done, "w").close()


# ---------------------------------------------------------------- processes

def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def desktop_env(home):
    """A private home for one run of a peer: its settings, caches and playlists."""
    env = dict(os.environ)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CACHE_HOME=os.path.join(home, "cache"))
    return env


def end(process, timeout=20):
    """SIGTERM, as a session's end does; returns the seconds the exit took."""
    t0 = time.monotonic()
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            return float("inf")
    return time.monotonic() - t0


def poll_until(predicate, timeout, interval=0.005):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return None


class Orve:
    """The real player under Xvfb, followed through its ORVE_TRACE lines."""

    def __init__(self, home, cache, args=(), output="null", config=None):
        os.makedirs(home, exist_ok=True)
        os.makedirs(cache, exist_ok=True)
        if config is not None:
            with open(os.path.join(home, "config.ini"), "w") as f:
                f.write(config)
        read_end, write_end = os.pipe()
        env = dict(os.environ, ORVE_HOME=home, XDG_CACHE_HOME=cache, ORVE_AUDIO_OUTPUT=output,
                   ORVE_TRACE=f"/dev/fd/{write_end}")
        self.events = []
        self.started = time.monotonic()
        self.process = subprocess.Popen([ORVE, *args], env=env, pass_fds=[write_end], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.reader = threading.Thread(target=self._read, args=(read_end,), daemon=True)
        self.reader.start()

    def _read(self, fd):
        with os.fdopen(fd, "r", errors="replace") as lines:
            for line in lines:
                parts = line.split()
                if len(parts) >= 2:
                    self.events.append((float(parts[0]) / 1000, parts[1], parts[2] if len(parts) > 2 else ""))

    def wait_event(self, event, value=None, timeout=120):
        """Seconds from the process's start to the first such event."""
        def seen():
            for t, e, v in list(self.events):
                if e == event and (value is None or v == str(value)):
                    return t - self.started
            return None
        return poll_until(seen, timeout, 0.002)

    def end(self):
        took = end(self.process)
        self.reader.join(5)
        stalls = [float(v) for _, e, v in self.events if e in ("stall", "exit") and v]
        return took, max(stalls, default=0.0)


class Audacious:
    """Audacious 4 under the same Xvfb, asked through audtool over D-Bus."""

    def __init__(self, home, args=()):
        self.env = desktop_env(home)
        self.started = time.monotonic()
        self.process = subprocess.Popen(["audacious", *args], env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def ask(self, *args):
        r = subprocess.run(["audtool", *args], env=self.env, capture_output=True, text=True)
        return r.stdout.strip() if r.returncode == 0 else ""

    def wait_list(self, count, timeout=120):
        """Seconds to a list of `count` entries whose first, middle and last
        lengths are known (audtool can ask no more cheaply)."""
        def complete():
            if self.ask("--playlist-length") != str(count):
                return None
            for pos in (1, count // 2, count):
                length = self.ask("--playlist-song-length-seconds", str(pos))
                if not length.isdigit() or int(length) == 0:
                    return None
            return time.monotonic() - self.started
        return poll_until(complete, timeout)

    def quit(self):
        """Ends the way that saves its playlist."""
        self.ask("--shutdown")
        try:
            self.process.wait(30)
        except subprocess.TimeoutExpired:
            end(self.process)


# ---------------------------------------------------------------- figures

def spread(values):
    values = [v for v in values if v is not None]
    if not values:
        return "n/a"
    return f"{min(values):8.3f} {statistics.median(values):8.3f} {max(values):8.3f}"


class Table:
    def __init__(self):
        self.rows = []

    def add(self, name, unit, ours, peer_name, theirs, goal=None):
        ratios = [a / b for a, b in zip(ours, theirs) if a is not None and b]
        median = statistics.median(ratios) if ratios else None
        verdict = ""
        if goal is not None and median is not None:
            verdict = "goal met" if median <= goal else f"GOAL MISSED ({goal}x)"
        self.rows.append((name, unit, ours, peer_name, theirs, ratios, verdict))
        log(f"  {name:<12} {unit:<9} ORVE {spread(ours)} | {peer_name:<9} {spread(theirs)} | "
            f"ratio {spread(ratios)}  {verdict}")

    def skip(self, name, why):
        self.rows.append((name, None, None, None, None, None, why))
        log(f"  {name:<12} skipped: {why}")

    def print(self, rounds, stalls):
        log("")
        log(f"Summary ({rounds} rounds; min / median / max; ratio = ORVE / peer, per round):")
        log(f"  {'row':<12} {'unit':<9} {'ORVE':>26}   {'peer':<9} {'peer figures':>26}   {'ratio':>26}")
        for name, unit, ours, peer, theirs, ratios, verdict in self.rows:
            if unit is None:
                log(f"  {name:<12} skipped: {verdict}")
            else:
                log(f"  {name:<12} {unit:<9} {spread(ours):>26}   {peer:<9} {spread(theirs):>26}   "
                    f"{spread(ratios):>26}  {verdict}")
        log(f"  longest UI stall in any ORVE run (its own event loop): {max(stalls, default=0):.1f} ms"
            f" ({'goal met' if max(stalls, default=0) <= 50 else 'GOAL MISSED (50 ms)'})")


# ---------------------------------------------------------------- rows

class Bench:
    def __init__(self, args):
        self.work = args.work
        self.rounds = args.rounds
        self.corpus = Corpus(self.work)
        self.table = Table()
        self.stalls = []
        self.runs = os.path.join(self.work, "runs")
        shutil.rmtree(self.runs, ignore_errors=True)
        os.makedirs(self.runs)
        self.serial = 0

    def fresh(self, template=None):
        """A new folder for one run, a copy of `template` when given."""
        self.serial += 1
        path = os.path.join(self.runs, str(self.serial))
        if template:
            shutil.copytree(template, path, symlinks=True)
        else:
            os.makedirs(path)
        return path

    def orve_home(self):
        """A home ORVE has run in once (its schemes and radio base in place), playlist empty."""
        template = os.path.join(self.work, "orve-home")
        if not os.path.isdir(template):
            o = Orve(template, self.fresh())
            o.wait_event("list-complete")
            o.end()
        if os.path.exists(os.path.join(template, "Default.pld")):
            os.remove(os.path.join(template, "Default.pld"))
        return template

    def audacious_home(self):
        """A home Audacious has run in once (its plugin registry made), playlist empty."""
        template = os.path.join(self.work, "audacious-home")
        if not os.path.isdir(template):
            a = Audacious(template)
            poll_until(lambda: a.ask("--playlist-length") != "", 30)
            a.quit()
        shutil.rmtree(os.path.join(template, "config", "audacious", "playlists"), ignore_errors=True)
        return template

    def fifo(self):
        """A named pipe for a player's WAV output, open for reading (so the
        player's open does not wait), and its reading end."""
        path = os.path.join(self.fresh(), "out.wav")
        os.mkfifo(path)
        return path, os.open(path, os.O_RDONLY | os.O_NONBLOCK)

    def alternate(self, r, *contenders):
        """Each round runs every contender once, the order turning each round."""
        turn = r % len(contenders)
        for run_one in contenders[turn:] + contenders[:turn]:
            run_one()

    def orve_stalls(self, o):
        took, stall = o.end()
        self.stalls.append(stall)
        stalls = [f"{float(v):.0f} ms at {1000 * (t - o.started):.0f} ms" for t, e, v in o.events if e == "stall"]
        if stalls:
            log(f"    ORVE's event loop stalled: {', '.join(stalls)} (events: "
                f"{' '.join(f'{e}@{1000 * (t - o.started):.0f}' for t, e, _ in o.events if e != 'stall')})")
        return took

    def versus_audacious(self, available, rows):
        """Rows of (name, unit, ORVE's figures, Audacious's, goal); ORVE's alone when Audacious is missing."""
        for name, unit, ours, theirs, goal in rows:
            if available:
                self.table.add(name, unit, ours, "Audacious", theirs, goal=goal)
            else:
                self.table.skip(name, "Audacious (audacious, audtool) is not installed")
                log(f"  ORVE alone: {spread(ours)} {unit}")

    # -- adding 1,000 files, start-up with 10,000, idle memory

    def add(self):
        files = self.corpus.mp3s
        audacious = have("audacious") and have("audtool")
        cold, warm, aud = [], [], []
        home = self.orve_home()
        aud_home = self.audacious_home() if audacious else None
        for r in range(self.rounds):
            def orve_cold_then_warm():
                cache = self.fresh()
                for figures in (cold, warm):
                    o = Orve(self.fresh(home), cache, files)
                    figures.append(o.wait_event("list-complete", len(files)))
                    self.orve_stalls(o)

            def audacious_add():
                a = Audacious(self.fresh(aud_home), files)
                aud.append(a.wait_list(len(files)))
                a.quit()

            self.alternate(r, orve_cold_then_warm, *([audacious_add] if audacious else []))
        self.versus_audacious(audacious, [("add-cold", "s", cold, aud, 3.0), ("add-warm", "s", warm, aud, 1.0)])
        if not have("qmmp"):
            self.table.skip("add (Qmmp)", "qmmp is not installed")
        else:
            self.table.skip("add (Qmmp)", "qmmp tells nothing from outside about its list until it exits")

    def startup(self):
        links = self.corpus.links
        audacious = have("audacious") and have("audtool")
        home = self.fresh(self.orve_home())
        with open(os.path.join(home, "Default.pld"), "w", encoding="utf-8", newline="\r\n") as f:
            f.write("\n".join(links) + "\n")
        cache = self.fresh()
        # The list as a user has it: added once before, its lengths measured.
        o = Orve(self.fresh(home), cache)
        o.wait_event("list-complete", len(links), timeout=600)
        o.end()
        aud_home = None
        if audacious:
            aud_home = self.fresh(self.audacious_home())
            a = Audacious(aud_home, links)
            a.wait_list(len(links), timeout=600)
            a.quit()
        ours, theirs, ours_mb, theirs_mb = [], [], [], []
        for r in range(self.rounds):
            def orve_start():
                o = Orve(self.fresh(home), self.fresh(cache))
                ours.append(o.wait_event("list-complete", len(links), timeout=300))
                time.sleep(2)
                ours_mb.append(resident_mb(o.process.pid))
                self.orve_stalls(o)

            def audacious_start():
                a = Audacious(self.fresh(aud_home))
                theirs.append(a.wait_list(len(links), timeout=300))
                time.sleep(2)
                theirs_mb.append(resident_mb(a.process.pid))
                end(a.process)

            self.alternate(r, orve_start, *([audacious_start] if audacious else []))
        self.versus_audacious(audacious, [("startup", "s", ours, theirs, 1.0), ("memory", "MB", ours_mb, theirs_mb, 1.0)])

    # -- playback

    def play(self):
        if not have("mpv"):
            self.table.skip("play", "mpv is not installed")
            return
        song = self.corpus.sources["cbr320"]
        bands = "".join(f"{k + 1}={15 + (6 if k % 2 else -5)}\n" for k in range(16))
        effects = "".join(f"{e}=1\n" for e in ("echo", "flanger", "chorus", "compressor", "gargle", "reverb3d",
                                                 "reverb"))
        dsp_config = "[core]\nsplash=0\n[eq]\n" + bands + effects

        def cpu_per_minute(process):
            time.sleep(2)
            c0 = cpu_seconds(process.pid)
            time.sleep(PLAY_SECONDS)
            return (cpu_seconds(process.pid) - c0) * 60 / PLAY_SECONDS

        def orve_play(figures, config, hidden=False):
            def run_one():
                o = Orve(self.fresh(self.orve_home()), self.fresh(), [song], config=config)
                if o.wait_event("playing", timeout=30) is not None:
                    if hidden:
                        unmap_windows(o.process.pid)
                    figures.append(cpu_per_minute(o.process))
                self.orve_stalls(o)
            return run_one

        def mpv_play():
            p = subprocess.Popen(["mpv", "--no-config", "--no-terminal", "--ao=null", "--vo=null", "--no-video", song],
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            mpv.append(cpu_per_minute(p))
            end(p)

        plain, hidden, dsp, mpv = [], [], [], []
        contenders = [orve_play(plain, None), orve_play(dsp, dsp_config), mpv_play]
        if have("xdotool"):
            contenders.append(orve_play(hidden, None, hidden=True))
        for r in range(self.rounds):
            self.alternate(r, *contenders)
        self.table.add("play", "CPU s/min", plain, "mpv", mpv, goal=0.8)
        if have("xdotool"):
            self.table.add("play-hidden", "CPU s/min", hidden, "mpv", mpv, goal=0.8)
        else:
            self.table.skip("play-hidden", "xdotool is not installed")
        self.table.add("play-dsp", "CPU s/min", dsp, "mpv", mpv, goal=2.5)

    def first_sound(self):
        port = os.environ.get("ORVE_TEST_ICECAST_PORT")
        if not port:
            self.table.skip("first-sound", "icecast2 did not start (see scripts/lib/services.sh)")
            return
        if not have("mpv"):
            self.table.skip("first-sound", "mpv is not installed")
            return
        url = f"http://127.0.0.1:{port}/stream.mp3"
        ours, theirs = [], []

        def orve_listen():
            fifo, reader = self.fifo()
            o = Orve(self.fresh(self.orve_home()), self.fresh(), [url], output="wav:" + fifo)
            ours.append(first_sound(reader, o.started))
            self.stalls.append(drained(reader, o.end)[1])

        def mpv_listen():
            fifo, reader = self.fifo()
            started = time.monotonic()
            p = subprocess.Popen(["mpv", "--no-config", "--no-terminal", "--vo=null", "--no-video", "--ao=pcm",
                                  "--ao-pcm-file=" + fifo, "--audio-format=s16", url],
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            theirs.append(first_sound(reader, started))
            drained(reader, lambda: end(p))

        for r in range(self.rounds):
            self.alternate(r, orve_listen, mpv_listen)
        self.table.add("first-sound", "s", ours, "mpv", theirs)

    # -- decoding and the equalizer, whole processes

    def timed(self, args):
        t0 = time.monotonic()
        r = subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if r.returncode != 0:
            sys.exit(f"bench/peers: {' '.join(args)} failed: {r.stderr.decode(errors='replace')}")
        return time.monotonic() - t0

    def decode(self):
        if not have("ffmpeg"):
            self.table.skip("decode", "ffmpeg is not installed")
            return
        for name, path in (("decode-mp3", self.corpus.sources["cbr320"]), ("decode-ogg", self.corpus.ogg),
                           ("decode-aac", self.corpus.m4a)):
            ours, theirs = [], []
            for r in range(self.rounds):
                self.alternate(r, lambda: ours.append(self.timed([DECODE_ONE, path])),
                               lambda: theirs.append(self.timed(["ffmpeg", "-v", "error", "-nostdin", "-i", path,
                                                                 "-f", "s16le", "-y", "/dev/null"])))
            self.table.add(name, "s", ours, "ffmpeg", theirs, goal=1.0)

    def equalizer(self):
        if not have("sox"):
            self.table.skip("equalizer", "sox is not installed")
            return
        # The bands bench_decode_one --eq runs, in sox's words.
        bands = subprocess.run([DECODE_ONE, "--sox-equalizer"], check=True, capture_output=True, text=True)
        sox = ["sox", self.corpus.pink, "-t", "null", "/dev/null", *bands.stdout.split()]
        ours, theirs = [], []
        for r in range(self.rounds):
            self.alternate(r, lambda: ours.append(self.timed([DECODE_ONE, self.corpus.pink, "--eq"])),
                           lambda: theirs.append(self.timed(sox)))
        self.table.add("equalizer", "s", ours, "sox", theirs)


def unmap_windows(pid):
    """Takes a process's windows off the screen, as a switch to another
    desktop does: nothing of them is drawn any more."""
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), ""], capture_output=True, text=True)
    for window in r.stdout.split():
        subprocess.run(["xdotool", "windowunmap", window], capture_output=True)


def first_sound(fd, started, timeout=30):
    """Seconds from `started` to the first audible sample written into the
    WAV stream on `fd` (16-bit or 32-bit float, as its header says)."""
    data = b""
    deadline = time.monotonic() + timeout
    header_end = None
    width = 2
    while time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.05)
        if not ready:
            continue
        chunk = os.read(fd, 1 << 16)
        now = time.monotonic()
        if not chunk:
            time.sleep(0.002)  # no writer yet
            continue
        data += chunk
        if header_end is None:
            at = data.find(b"data")
            fmt = data.find(b"fmt ")
            if at < 0 or fmt < 0 or len(data) < at + 8:
                continue
            width = struct.unpack_from("<H", data, fmt + 22)[0] // 8
            header_end = at + 8
        body = data[header_end:]
        count = len(body) // width
        if width == 4:
            samples = struct.unpack_from(f"<{count}f", body)
            loud = any(abs(s) > 64 / 32768 for s in samples)
        else:
            samples = struct.unpack_from(f"<{count}h", body)
            loud = any(abs(s) > 64 for s in samples)
        if loud:
            return now - started
        data = data[:header_end] + body[count * width:]
    return None


def drained(fd, finish):
    """Calls `finish` (which ends the writer) while reading what the writer
    still sends into the FIFO, so it never meets a closed pipe; returns what
    `finish` returns."""
    stop = threading.Event()

    def drain():
        while not stop.is_set():
            ready, _, _ = select.select([fd], [], [], 0.05)
            if ready and not os.read(fd, 1 << 16):
                time.sleep(0.01)

    t = threading.Thread(target=drain, daemon=True)
    t.start()
    result = finish()
    stop.set()
    t.join()
    os.close(fd)
    return result


ROWS = {"add": Bench.add, "startup": Bench.startup, "play": Bench.play, "first-sound": Bench.first_sound,
        "decode": Bench.decode, "equalizer": Bench.equalizer}


def main():
    parser = argparse.ArgumentParser(description="ORVE beside its peers, whole process against whole process.")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--work", default="/tmp/orve-peers")
    parser.add_argument("--only", default=",".join(ROWS), help="rows to run: " + ",".join(ROWS))
    args = parser.parse_args()
    for program in (ORVE, DECODE_ONE):
        if not os.access(program, os.X_OK):
            sys.exit(f"bench/peers: {program} is missing; build first (scripts/lib/build.sh)")
    if not os.environ.get("DISPLAY"):
        sys.exit("bench/peers: no DISPLAY; run it through bench/peers, which starts Xvfb")
    bench = Bench(args)
    bench.corpus.make()
    log(f"ORVE {ORVE}; {args.rounds} rounds; every figure a whole process, from its start")
    for name in args.only.split(","):
        log(f"{name}:")
        ROWS[name](bench)
    bench.table.print(args.rounds, bench.stalls)


if __name__ == "__main__":
    main()
