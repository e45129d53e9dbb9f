#!/usr/bin/env python3
"""Loopback HTTP/1.1 server for Sitrova's network tests (standard library only).

    python3 test_server.py --root DIR [--host 127.0.0.1] [--port 0]
                           [--rules RULES.json] [--log LOG.txt] [--max-seconds 600]
                           [--subst NAME=VALUE ...] [--tls]

After binding it prints one line "PORT <n>" on stdout. It serves the files under DIR
(a URL ending in "/" serves that folder's index.html; a folder named without the slash is
redirected to it, as common servers do), answers HEAD and "Range: bytes=N-" / "bytes=N-M"
requests, always sends Content-Length and keeps connections alive.

The rules file is read again for every request, so a test can change behaviour while the
server runs; a missing or unreadable file means no rules. It maps a request path (exactly as
sent, query string included) to an object with any of these keys:

    status        int: answer this status with a small HTML body (or "body")
    delay         float seconds to wait before answering
    drop_after    int N: send the headers with the full Content-Length, then N body bytes,
                  then close the connection
    drop_times    int: only this many requests are dropped; later ones are served in full
    body          text served instead of a file
    content_type  Content-Type instead of the one guessed from the extension
    redirect      Location target; the status is 302 unless "status" says otherwise
    headers       object of extra response headers
    gzip          true: a whole 200 answer is sent gzip-compressed (Content-Encoding: gzip)
                  when the request's Accept-Encoding names gzip
    ignore_range  true: answer 200 with the whole body even for a Range request
    echo_headers  true: the body is the request's header block, as received
    etag          ETag header of the answer; a Range request whose If-Range names another
                  validator gets the whole body (200), as the standard asks
    last_modified Last-Modified header of the answer; compared with If-Range the same way
    endless       true: a body without length that goes on until the client hangs up
    set_cookie    "NAME=VALUE": the answer sets this session cookie (Path=/)
    busy          object {"status": 429 or 503, "retry_after": header value, "times": N}:
                  the first N requests of the path get that status with Retry-After (no
                  header when "retry_after" is absent); later ones are served as usual

A request with If-None-Match or If-Modified-Since is answered "304 Not Modified" without a
body when the answer's ETag is among those named (If-None-Match decides when both are sent),
or when its Last-Modified is not later than the date given.

A top-level key "validators" ("etag", "last_modified" or "both") gives every file served from
DIR validators of its own: an ETag made from its contents and a Last-Modified from its
modification time, as common servers do.

A top-level key "need_cookie" maps path prefixes to "NAME=VALUE": a request under such a
prefix that does not send that cookie is answered 403, as a site's members-only pages are.

A top-level key "need_basic_auth" maps path prefixes to "USER:PASSWORD": a request under such
a prefix without that HTTP Basic login is answered 401 with a Basic challenge.

A top-level key "clean_urls" (true, or a list of path prefixes) publishes those folders with
clean URLs, as static hosts do: "/x" is answered from "x.html" when no file "x" exists, before
a folder "x" is redirected to "x/".

Text files (.html, .htm, .css, .js) have "@SELF_PORT@" replaced by the server's own port and
"@NAME@" by VALUE for each --subst NAME=VALUE, so a bundled site can link to the ports that
the servers of one run were given.

With --tls it speaks HTTPS with a self-signed certificate for 127.0.0.1 that it makes at
its start (openssl), as a home server or a router's page does.

Every request is appended to the log file as "METHOD PATH RANGE" (RANGE is the Range
header's value or "-"), followed by " if-range=VALUE" when the request sent If-Range, and by
" if-none-match=VALUE" and " if-modified-since=VALUE" when it sent those. LOG.txt.bytes gets
"BYTES STATUS PATH" per answer: every byte sent for it, status line and headers included. Beside
it, LOG.txt.bodies gets "SHA1 STATUS PATH" per answer that sent a body: the SHA-1 (hex) of the
body before any content coding ("gzip" rule), so a test can check a body a client kept. Beside
it, LOG.txt.times gets "SECONDS PATH" per request (a monotonic clock, in seconds with
milliseconds), so a test can measure the pace of the requests. The server ends on SIGTERM, after --max-seconds, or when the process
that started it goes away.
"""

import argparse
import base64
import email.utils
import gzip
import hashlib
import json
import os
import posixpath
import signal
import socket
import ssl
import subprocess
import tempfile
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CONTENT_TYPES = {
    ".html": "text/html",
    ".htm": "text/html",
    ".shtml": "text/html",
    ".txt": "text/plain",
    ".css": "text/css",
    ".js": "application/javascript",
    ".json": "application/json",
    ".xml": "text/xml",
    ".gif": "image/gif",
    ".jpg": "image/jpeg",
    ".jpeg": "image/jpeg",
    ".png": "image/png",
    ".bmp": "image/bmp",
    ".ico": "image/x-icon",
    ".svg": "image/svg+xml",
    ".zip": "application/zip",
    ".gz": "application/gzip",
    ".lzh": "application/octet-stream",
    ".exe": "application/octet-stream",
    ".mp3": "audio/mpeg",
    ".wav": "audio/wav",
    ".wma": "audio/x-ms-wma",
    ".asx": "video/x-ms-asf",
    ".ram": "audio/x-pn-realaudio",
    ".mp4": "video/mp4",
    ".wmv": "video/x-ms-wmv",
    ".swf": "application/x-shockwave-flash",
    ".pdf": "application/pdf",
}

REASONS = {
    200: "OK", 206: "Partial Content", 301: "Moved Permanently", 302: "Found",
    303: "See Other", 307: "Temporary Redirect", 308: "Permanent Redirect",
    400: "Bad Request", 401: "Unauthorized", 403: "Forbidden", 404: "Not Found", 405: "Method Not Allowed",
    416: "Range Not Satisfiable", 500: "Internal Server Error", 503: "Service Unavailable",
}


def content_type_of(path):
    return CONTENT_TYPES.get(posixpath.splitext(path)[1].lower(), "application/octet-stream")


def small_page(status):
    reason = REASONS.get(status, "Status")
    return ("<html><head><title>%d %s</title></head><body><h1>%s</h1></body></html>\n"
            % (status, reason, reason)).encode("utf-8")


def parse_range(value, size):
    """(start, end) inclusive for "bytes=N-" or "bytes=N-M"; None when not of that form."""
    if not value or not value.startswith("bytes="):
        return None
    spec = value[6:].strip()
    if "," in spec or "-" not in spec:
        return None
    first, last = spec.split("-", 1)
    if not first.isdigit() or (last and not last.isdigit()):
        return None
    start = int(first)
    end = min(int(last), size - 1) if last else size - 1
    return start, end


class State:
    def __init__(self, root, rules_path, log_path):
        self.root = os.path.realpath(root)
        self.rules_path = rules_path
        self.log_path = log_path
        self.lock = threading.Lock()
        self.dropped = {}
        self.busy = {}
        self.substitutions = {}

    def all_rules(self):
        if not self.rules_path:
            return {}
        try:
            with open(self.rules_path, "r", encoding="utf-8") as f:
                rules = json.load(f)
        except (OSError, ValueError):
            return {}
        return rules if isinstance(rules, dict) else {}

    def rules_for(self, path):
        rule = self.all_rules().get(path)
        return rule if isinstance(rule, dict) else {}

    def clean_urls_for(self, path):
        clean = self.all_rules().get("clean_urls")
        if clean is True:
            return True
        return isinstance(clean, list) and any(path.startswith(str(p)) for p in clean)

    def log(self, line):
        if not self.log_path:
            return
        with self.lock:
            with open(self.log_path, "a", encoding="utf-8") as f:
                f.write(line + "\n")
                f.flush()

    def substitute(self, local, body):
        if not local.lower().endswith((".html", ".htm", ".css", ".js")):
            return body
        for name, value in self.substitutions.items():
            body = body.replace(("@%s@" % name).encode("ascii"), value.encode("utf-8"))
        return body

    def take_busy(self, path, limit):
        """True when this request of `path` is one of the first `limit` ones, to be refused."""
        with self.lock:
            count = self.busy.get(path, 0)
            if count >= limit:
                return False
            self.busy[path] = count + 1
            return True

    def log_bytes(self, count, status, path):
        if not self.log_path:
            return
        with self.lock:
            with open(self.log_path + ".bytes", "a", encoding="utf-8") as f:
                f.write("%d %d %s\n" % (count, status, path))

    def log_body(self, body, status, path):
        if not self.log_path:
            return
        with self.lock:
            with open(self.log_path + ".bodies", "a", encoding="utf-8") as f:
                f.write("%s %d %s\n" % (hashlib.sha1(body).hexdigest(), status, path))

    def log_time(self, path):
        if not self.log_path:
            return
        with self.lock:
            with open(self.log_path + ".times", "a", encoding="utf-8") as f:
                f.write("%.3f %s\n" % (time.monotonic(), path))

    def take_drop(self, path, limit):
        """True when this request of `path` is to be dropped."""
        with self.lock:
            count = self.dropped.get(path, 0)
            if limit is not None and count >= limit:
                return False
            self.dropped[path] = count + 1
            return True

    def local_file(self, url_path):
        """Local path for a URL path, or None when it would leave the root."""
        decoded = urllib.parse.unquote(url_path.split("?", 1)[0].split("#", 1)[0])
        if "\0" in decoded:
            return None
        clean = posixpath.normpath("/" + decoded)
        local = os.path.realpath(os.path.join(self.root, clean.lstrip("/")))
        if local != self.root and not local.startswith(self.root + os.sep):
            return None
        if decoded.endswith("/") and not local.endswith(os.sep):
            local += os.sep
        return local


class CountingWriter:
    """The connection's writer, counting what goes through it."""

    def __init__(self, raw):
        self.raw = raw
        self.count = 0

    def write(self, data):
        self.count += len(data)
        return self.raw.write(data)

    def flush(self):
        return self.raw.flush()

    def __getattr__(self, name):
        return getattr(self.raw, name)


def not_modified(request_headers, etag, last_modified):
    """Whether a conditional request names the answer's own version."""
    if_none_match = request_headers.get("If-None-Match")
    if if_none_match is not None:
        tags = [t.strip() for t in if_none_match.split(",")]
        return etag is not None and (etag in tags or "*" in tags)
    since = request_headers.get("If-Modified-Since")
    if since is None or last_modified is None:
        return False
    try:
        return email.utils.parsedate_to_datetime(last_modified) <= email.utils.parsedate_to_datetime(since)
    except (TypeError, ValueError):
        return False


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "SitrovaTest/1.0"
    # Headers and body go out in separate writes; without this each answer on a kept-alive
    # connection waits for the delayed acknowledgement of the one before.
    disable_nagle_algorithm = True

    def log_message(self, *args):
        pass  # requests go to the log file, not to the test's console

    def setup(self):
        super().setup()
        self.wfile = CountingWriter(self.wfile)

    def do_GET(self):
        self.answer(send_body=True)

    def do_HEAD(self):
        self.answer(send_body=False)

    def answer(self, send_body):
        state = self.server.state
        range_header = self.headers.get("Range")
        if_range = self.headers.get("If-Range")
        conditions = "".join(" %s=%s" % (name.lower(), self.headers.get(name))
                             for name in ("If-None-Match", "If-Modified-Since") if self.headers.get(name) is not None)
        state.log("%s %s %s%s%s" % (self.command, self.path, range_header or "-",
                                    "" if if_range is None else " if-range=" + if_range, conditions))
        sent_before = self.wfile.count
        self._status_sent = 0
        try:
            self.answer_logged(send_body, state, range_header, if_range)
        finally:
            state.log_bytes(self.wfile.count - sent_before, getattr(self, "_status_sent", 0), self.path)

    def send_response(self, code, message=None):
        self._status_sent = code
        super().send_response(code, message)

    def answer_logged(self, send_body, state, range_header, if_range):
        state.log_time(self.path)
        rule = state.rules_for(self.path)
        busy = rule.get("busy")
        if isinstance(busy, dict) and state.take_busy(self.path, int(busy.get("times", 1))):
            status = int(busy.get("status", 429))
            rule = {"status": status}
            if "retry_after" in busy:
                rule["headers"] = {"Retry-After": str(busy["retry_after"])}
        validators = [str(rule[k]) for k in ("etag", "last_modified") if k in rule]
        if if_range is not None and if_range not in validators:
            range_header = None  # the file changed since the client's copy: send it whole

        if rule.get("endless"):
            self.send_endless(send_body)
            return

        if not self.has_needed_cookie(state):
            rule = {"status": 403}
        if not self.has_needed_login(state):
            rule = {"status": 401, "headers": {"WWW-Authenticate": 'Basic realm="members"'}}

        if rule.get("delay"):
            time.sleep(float(rule["delay"]))

        self._served_file = None
        status, body, content_type, headers = self.choose_body(rule)
        etag = rule.get("etag")
        last_modified = rule.get("last_modified")
        auto = state.all_rules().get("validators")
        if status == 200 and self._served_file and auto in ("etag", "last_modified", "both"):
            if auto in ("etag", "both"):
                etag = '"%s"' % hashlib.sha1(body).hexdigest()[:20]
            if auto in ("last_modified", "both"):
                last_modified = email.utils.formatdate(os.stat(self._served_file).st_mtime, usegmt=True)
        if status == 200 and not_modified(self.headers, None if etag is None else str(etag),
                                          None if last_modified is None else str(last_modified)):
            self.send_response(304, "Not Modified")
            if etag is not None:
                self.send_header("ETag", str(etag))
            if last_modified is not None:
                self.send_header("Last-Modified", str(last_modified))
            self.end_headers()
            return
        honour_range = status == 200 and not rule.get("ignore_range")
        wanted = parse_range(range_header, len(body)) if honour_range else None
        if wanted is not None:
            start, end = wanted
            if start >= len(body) or start > end:
                headers["Content-Range"] = "bytes */%d" % len(body)
                status, body, content_type = 416, small_page(416), "text/html"
            else:
                headers["Content-Range"] = "bytes %d-%d/%d" % (start, end, len(body))
                status, body = 206, body[start:end + 1]
        if send_body:
            state.log_body(body, status, self.path)
        accepted = (self.headers.get("Accept-Encoding") or "").lower()
        if rule.get("gzip") and status == 200 and "gzip" in accepted:
            body = gzip.compress(body)
            headers["Content-Encoding"] = "gzip"
        if etag is not None:
            headers["ETag"] = str(etag)
        if last_modified is not None:
            headers["Last-Modified"] = str(last_modified)
        headers.update({str(k): str(v) for k, v in rule.get("headers", {}).items()})
        if "set_cookie" in rule:
            headers["Set-Cookie"] = "%s; Path=/" % rule["set_cookie"]

        drop = None
        if send_body and "drop_after" in rule:
            limit = rule.get("drop_times")
            if state.take_drop(self.path, None if limit is None else int(limit)):
                drop = max(0, int(rule["drop_after"]))

        self.send_response(status, REASONS.get(status))
        self.send_header("Content-Type", rule.get("content_type", content_type))
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers.items():
            self.send_header(name, value)
        self.end_headers()
        if not send_body:
            return
        if drop is None:
            self.wfile.write(body)
            return
        self.wfile.write(body[:drop])
        self.wfile.flush()
        # An orderly close after a short body: the client sees the stream end early.
        self.close_connection = True
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def has_needed_cookie(self, state):
        needed = state.all_rules().get("need_cookie")
        if not isinstance(needed, dict):
            return True
        sent = [c.strip() for c in (self.headers.get("Cookie") or "").split(";")]
        for prefix, cookie in needed.items():
            if self.path.startswith(prefix) and str(cookie) not in sent:
                return False
        return True

    def has_needed_login(self, state):
        needed = state.all_rules().get("need_basic_auth")
        if not isinstance(needed, dict):
            return True
        sent = (self.headers.get("Authorization") or "").strip()
        for prefix, login in needed.items():
            wanted = "Basic " + base64.b64encode(str(login).encode("utf-8")).decode("ascii")
            if self.path.startswith(prefix) and sent != wanted:
                return False
        return True

    def send_endless(self, send_body):
        self.send_response(200, "OK")
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        if not send_body:
            return
        piece = b"\xff\xd8" + b"x" * 65534
        try:
            while True:
                self.wfile.write(piece)
        except OSError:
            pass

    def choose_body(self, rule):
        """(status, body bytes, content type, extra headers) before any range is applied."""
        headers = {}
        if "redirect" in rule:
            headers["Location"] = str(rule["redirect"])
            status = int(rule.get("status", 302))
            return status, rule.get("body", "").encode("utf-8") or small_page(status), "text/html", headers
        if rule.get("echo_headers"):
            text = "".join("%s: %s\r\n" % (k, v) for k, v in self.headers.items())
            return int(rule.get("status", 200)), text.encode("utf-8", "replace"), "text/plain", headers
        if "status" in rule:
            status = int(rule["status"])
            body = rule["body"].encode("utf-8") if "body" in rule else small_page(status)
            return status, body, "text/html", headers
        if "body" in rule:
            return 200, rule["body"].encode("utf-8"), content_type_of(self.path.split("?", 1)[0]), headers

        local = self.server.state.local_file(self.path)
        if local is None:
            return 403, small_page(403), "text/html", headers
        url_path = self.path.split("?", 1)[0]
        if (not os.path.isfile(local) and not url_path.endswith("/") and os.path.isfile(local + ".html")
                and self.server.state.clean_urls_for(url_path)):
            local += ".html"
        if os.path.isdir(local):
            if not local.endswith(os.sep):
                headers["Location"] = self.path.split("?", 1)[0] + "/"
                return 301, small_page(301), "text/html", headers
            local = os.path.join(local, "index.html")
        try:
            with open(local, "rb") as f:
                body = self.server.state.substitute(local, f.read())
            self._served_file = local
            return 200, body, content_type_of(local), headers
        except OSError:
            return 404, small_page(404), "text/html", headers


class Server(ThreadingHTTPServer):
    daemon_threads = True
    block_on_close = False
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # Clients that hang up early (cancelled transfers) are part of the tests.
        if isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            return
        super().handle_error(request, client_address)


def self_signed_context():
    folder = tempfile.mkdtemp(prefix="sitrova-tls-")
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                    "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                    "-keyout", key, "-out", cert], check=True, capture_output=True)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    for name in (cert, key):
        os.remove(name)
    os.rmdir(folder)
    return context


def watch_parent(server, parent):
    while os.getppid() == parent:
        time.sleep(0.5)
    server.shutdown()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--rules", default="")
    parser.add_argument("--log", default="")
    parser.add_argument("--max-seconds", type=float, default=600)
    parser.add_argument("--subst", action="append", default=[])
    parser.add_argument("--tls", action="store_true")
    args = parser.parse_args()

    server = Server((args.host, args.port), Handler)
    if args.tls:
        server.socket = self_signed_context().wrap_socket(server.socket, server_side=True)
    server.state = State(args.root, args.rules, args.log)
    server.state.substitutions["SELF_PORT"] = str(server.server_address[1])
    for item in args.subst:
        name, _, value = item.partition("=")
        server.state.substitutions[name] = value

    signal.signal(signal.SIGTERM, lambda *unused: threading.Thread(target=server.shutdown).start())
    timer = threading.Timer(args.max_seconds, server.shutdown)
    timer.daemon = True
    timer.start()
    threading.Thread(target=watch_parent, args=(server, os.getppid()), daemon=True).start()

    sys.stdout.write("PORT %d\n" % server.server_address[1])
    sys.stdout.flush()
    try:
        server.serve_forever(poll_interval=0.05)
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
