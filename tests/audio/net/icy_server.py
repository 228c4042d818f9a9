#!/usr/bin/env python3
"""A small ICY (SHOUTcast-style) radio server for the network stream tests.

It produces the faults a real radio server cannot be made to produce on
demand. With --tls-cert and --tls-key it speaks HTTPS instead. Listens on 127.0.0.1 only, on a free port that it prints as the
first line of its output. Every request is logged as one JSON line to the
--log file (path, User-Agent, Via, and the count of requests for that path).

Paths:
  /stream.mp3   the --mp3 file in a loop, 64 KB at once, then at 16000 B/s
                (/stream.aac and /stream.ogg likewise, with --aac and --ogg).
                Query: icy1=1 (answer "ICY 200 OK" as SHOUTcast 1 servers do),
                burst=N (bytes sent at once, default 64 KB),
                title=T (the stream title), meta=KIND (title, counter,
                cp1251, empty, zero, nosemi, big), drop=N (the first request
                ends after N bytes), stall=N (the first request stops sending
                after N bytes for `pause` seconds, default 10, then ends, or
                goes on with resume=1).
  /file.mp3     the --mp3 file once, with its Content-Length (a file served
                over HTTP, not a station); seconds=N: only its first N seconds
  /missing      404
  /page.html    an HTML page
  /noise        text served as application/octet-stream
  /loop         a redirect to itself
  /redirect     a redirect to /stream.mp3?title=Redirected
  /list.pls, /list.m3u, /nested.pls, /deep.m3u?n=K   playlists
  /hls/NAME     the files of the --hls folder (an HLS playlist and segments)
"""
import os
import ssl
import argparse
import http.server
import json
import socketserver
import sys
import threading
import time
import urllib.parse

BURST = 64 * 1024
RATE = 16000  # bytes per second: the file is 128 kbit/s
METAINT = 8192
STALL_SECONDS = 10


STREAM_TYPES = {"/stream.mp3": "audio/mpeg", "/stream.aac": "audio/aacp", "/stream.ogg": "application/ogg"}


class State:
    def __init__(self, args):
        self.audio = {}
        for path, name in (("/stream.mp3", args.mp3), ("/stream.aac", args.aac), ("/stream.ogg", args.ogg)):
            if name:
                with open(name, "rb") as f:
                    self.audio[path] = f.read()
        self.hls = args.hls
        self.tls = bool(args.tls_cert)
        self.log = open(args.log, "a", buffering=1)
        self.lock = threading.Lock()
        self.counts = {}

    def note(self, handler):
        with self.lock:
            n = self.counts.get(handler.path, 0) + 1
            self.counts[handler.path] = n
            self.log.write(json.dumps({
                "path": handler.path,
                "agent": handler.headers.get("User-Agent", ""),
                "via": handler.headers.get("Via", ""),
                "icy": handler.headers.get("Icy-MetaData", ""),
                "n": n}) + "\n")
        return n


def meta_block(kind, title, count):
    if kind == "empty":
        return b"\x00"
    if kind == "zero":
        return b"\x01" + b"\x00" * 16
    if kind == "nosemi":
        text = b"StreamTitle='No semicolon'"
    elif kind == "cp1251":
        text = ("StreamTitle='" + title + "';").encode("cp1251")
    elif kind == "big":
        text = ("StreamTitle='" + "x" * 4000 + "';").encode()
        text += b" " * (4070 - len(text))
    elif kind == "counter":
        text = ("StreamTitle='Song %d';StreamUrl='';" % count).encode()
    else:
        text = ("StreamTitle='" + title + "';StreamUrl='http://example.invalid/';").encode()
    blocks = (len(text) + 15) // 16
    return bytes([blocks]) + text + b"\x00" * (blocks * 16 - len(text))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def reply(self, code, ctype, body, extra=()):
        self.send_response(code)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def base(self):
        scheme = "https" if self.server.state.tls else "http"
        return "%s://127.0.0.1:%d" % (scheme, self.server.server_address[1])

    def do_GET(self):
        n = self.server.state.note(self)
        url = urllib.parse.urlsplit(self.path)
        q = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
        p = url.path
        if p in self.server.state.audio:
            return self.stream(p, q, first=(n == 1))
        if p.startswith("/hls/") and self.server.state.hls:
            return self.hls_file(os.path.basename(p))
        if p == "/file.mp3":
            audio = self.server.state.audio["/stream.mp3"]
            length = int(float(q.get("seconds", "0")) * RATE) or len(audio)
            return self.reply(200, "audio/mpeg", audio[:length])
        if p == "/missing":
            return self.reply(404, "text/html", b"<html>Not found</html>")
        if p == "/page.html":
            return self.reply(200, "text/html", b"<html><body>Radio</body></html>\n" * 40)
        if p == "/noise":
            return self.reply(200, "application/octet-stream", b"This is not audio at all.\n" * 4000)
        if p == "/loop":
            return self.reply(302, "text/html", b"", [("Location", self.base() + "/loop")])
        if p == "/redirect":
            return self.reply(302, "text/html", b"",
                              [("Location", self.base() + "/stream.mp3?title=Redirected")])
        if p == "/list.pls":
            body = "[playlist]\nNumberOfEntries=2\nFile2=%s/missing\nFile1=%s/stream.mp3?title=FromPls\n" % (
                self.base(), self.base())
            return self.reply(200, "audio/x-scpls", body.encode())
        if p == "/list.m3u":
            body = "#EXTM3U\r\n#EXTINF:-1,Test\r\nstream.mp3?title=FromM3u\r\n"
            return self.reply(200, "audio/x-mpegurl", body.encode())
        if p == "/nested.pls":
            body = "[playlist]\nFile1=%s/list.m3u\n" % self.base()
            return self.reply(200, "audio/x-scpls", body.encode())
        if p == "/trickle":  # headers at once, then a byte a second
            self.send_response(200)
            self.send_header("Content-Type", "audio/mpeg")
            self.end_headers()
            try:
                for _ in range(120):
                    self.wfile.write(b"\xff")
                    self.wfile.flush()
                    time.sleep(1)
            except (BrokenPipeError, ConnectionResetError):
                pass
            return
        if p == "/self.m3u8":  # an HLS master playlist whose only variant is itself
            body = b"#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=64000\nself.m3u8\n"
            return self.reply(200, "application/vnd.apple.mpegurl", body)
        if p == "/deep.m3u":
            body = "%s/deep.m3u?n=%d\n" % (self.base(), int(q.get("n", "0")) + 1)
            return self.reply(200, "audio/x-mpegurl", body.encode())
        return self.reply(404, "text/plain", b"no such path")

    def hls_file(self, name):
        path = os.path.join(self.server.state.hls, name)
        if not os.path.isfile(path):
            return self.reply(404, "text/plain", b"no such segment")
        with open(path, "rb") as f:
            body = f.read()
        ctype = "application/vnd.apple.mpegurl" if name.endswith(".m3u8") else "video/mp2t"
        return self.reply(200, ctype, body)

    def stream(self, path, q, first):
        icy = self.headers.get("Icy-MetaData") == "1"
        if q.get("icy1") == "1":
            self.wfile.write(b"ICY 200 OK\r\n")
        else:
            self.send_response(200)
        self.send_header("Content-Type", STREAM_TYPES[path])
        self.send_header("icy-name", "Test Radio")
        if icy:
            self.send_header("icy-metaint", str(METAINT))
        self.end_headers()
        drop = int(q["drop"]) if first and "drop" in q else None
        stall = int(q["stall"]) if first and "stall" in q else None
        pause, resume = float(q.get("pause", STALL_SECONDS)), q.get("resume") == "1"
        kind, title = q.get("meta", "title"), q.get("title", "Test Title")
        burst = int(q.get("burst", BURST))
        audio, sent, pos, blocks = self.server.state.audio[path], 0, 0, 0
        start = time.monotonic()
        try:
            while True:
                if drop is not None and sent >= drop:
                    return
                if stall is not None and sent >= stall:
                    self.wfile.flush()
                    time.sleep(pause)
                    if not resume:
                        return
                    stall, start, sent = None, time.monotonic(), 0
                chunk = audio[pos:pos + METAINT]
                if len(chunk) < METAINT:
                    chunk += audio[:METAINT - len(chunk)]
                pos = (pos + METAINT) % len(audio)
                self.wfile.write(chunk)
                sent += len(chunk)
                if icy:
                    blocks += 1
                    self.wfile.write(meta_block(kind, title, blocks))
                ahead = (sent - burst) / RATE - (time.monotonic() - start)
                if ahead > 0:
                    time.sleep(ahead)
        except (BrokenPipeError, ConnectionResetError):
            return


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--mp3", required=True)
    ap.add_argument("--aac")
    ap.add_argument("--ogg")
    ap.add_argument("--hls")
    ap.add_argument("--tls-cert")
    ap.add_argument("--tls-key")
    ap.add_argument("--log", required=True)
    args = ap.parse_args()
    server = Server(("127.0.0.1", 0), Handler)
    server.state = State(args)
    if args.tls_cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
