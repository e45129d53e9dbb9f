#!/usr/bin/env python3
"""Loopback HTTP proxy for Sitrova's network tests (standard library only).

    python3 test_proxy.py [--log LOG.txt] [--auth USER:PASSWORD] [--max-seconds 600]

After binding 127.0.0.1 on a free port it prints one line "PORT <n>" on stdout. It carries
plain requests written with an absolute URL ("GET http://host:port/path HTTP/1.1") and
tunnels "CONNECT host:port", as office proxies do, but only to 127.0.0.1 and localhost:
nothing it carries leaves the machine. Every request it carries is appended to the log file
as "METHOD TARGET" ("CONNECT 127.0.0.1:4431" counts the tunnel once, not the requests
inside it). With --auth, a request without that Basic Proxy-Authorization is answered 407
and logged as "REFUSED METHOD TARGET".

Each carried plain request is sent on with "Connection: close" and its answer passed back
with "Connection: close": the client opens a new connection for its next request. The proxy
ends on SIGTERM, after --max-seconds, or when the process that started it goes away.
"""

import argparse
import base64
import os
import select
import signal
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

ALLOWED_HOSTS = ("127.0.0.1", "localhost")


class State:
    def __init__(self, log_path, auth):
        self.log_path = log_path
        self.auth = auth
        self.lock = threading.Lock()

    def log(self, line):
        if not self.log_path:
            return
        with self.lock, open(self.log_path, "a", encoding="utf-8") as f:
            f.write(line + "\n")


def read_head(conn):
    """The request or answer head up to the blank line, and the bytes read behind it."""
    data = b""
    while b"\r\n\r\n" not in data:
        piece = conn.recv(65536)
        if not piece:
            return None, b""
        data += piece
        if len(data) > 1 << 20:
            return None, b""
    head, _, rest = data.partition(b"\r\n\r\n")
    return head.decode("latin-1"), rest


def split_host_port(text, default_port):
    host, _, port = text.rpartition(":")
    if not host or not port.isdigit():
        return text, default_port
    return host.strip("[]"), int(port)


def pipe(a, b):
    """Passes bytes both ways until either side closes."""
    sockets = [a, b]
    while True:
        ready, _, _ = select.select(sockets, [], [], 30)
        if not ready:
            return
        for s in ready:
            try:
                data = s.recv(65536)
            except OSError:
                return
            if not data:
                return
            (b if s is a else a).sendall(data)


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        state = self.server.state
        conn = self.request
        head, rest = read_head(conn)
        if head is None:
            return
        lines = head.split("\r\n")
        parts = lines[0].split(" ")
        if len(parts) != 3:
            return
        method, target, version = parts
        headers = [l for l in lines[1:] if l]
        if state.auth and not self.authorised(headers, state.auth):
            state.log("REFUSED %s %s" % (method, target))
            conn.sendall(b"HTTP/1.1 407 Proxy Authentication Required\r\n"
                         b"Proxy-Authenticate: Basic realm=\"proxy\"\r\n"
                         b"Content-Length: 0\r\nConnection: close\r\n\r\n")
            return
        if method == "CONNECT":
            self.tunnel(state, target, rest)
        else:
            self.forward(state, method, target, version, headers, rest)

    def authorised(self, headers, auth):
        wanted = "Basic " + base64.b64encode(auth.encode("utf-8")).decode("ascii")
        for line in headers:
            name, _, value = line.partition(":")
            if name.strip().lower() == "proxy-authorization" and value.strip() == wanted:
                return True
        return False

    def refuse(self, status):
        self.request.sendall(("HTTP/1.1 %d Refused\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"
                              % status).encode("ascii"))

    def tunnel(self, state, target, rest):
        host, port = split_host_port(target, 443)
        if host not in ALLOWED_HOSTS:
            return self.refuse(403)
        state.log("CONNECT %s" % target)
        try:
            upstream = socket.create_connection((host, port), timeout=30)
        except OSError:
            return self.refuse(502)
        with upstream:
            self.request.sendall(b"HTTP/1.1 200 Connection Established\r\n\r\n")
            if rest:
                upstream.sendall(rest)
            pipe(self.request, upstream)

    def forward(self, state, method, target, version, headers, rest):
        url = urllib.parse.urlsplit(target)
        if url.scheme != "http" or url.hostname not in ALLOWED_HOSTS:
            return self.refuse(403)
        state.log("%s %s" % (method, target))
        path = url.path or "/"
        if url.query:
            path += "?" + url.query
        kept = [l for l in headers if l.split(":", 1)[0].strip().lower() not in
                ("proxy-connection", "proxy-authorization", "connection", "keep-alive")]
        request = "%s %s %s\r\n%s\r\nConnection: close\r\n\r\n" % (method, path, version, "\r\n".join(kept))
        try:
            upstream = socket.create_connection((url.hostname, url.port or 80), timeout=30)
        except OSError:
            return self.refuse(502)
        with upstream:
            upstream.sendall(request.encode("latin-1") + rest)
            answer, body = read_head(upstream)
            if answer is None:
                return
            alines = [l for l in answer.split("\r\n")
                      if l.split(":", 1)[0].strip().lower() not in ("connection", "keep-alive")]
            self.request.sendall(("\r\n".join(alines) + "\r\nConnection: close\r\n\r\n").encode("latin-1") + body)
            while True:
                try:
                    data = upstream.recv(65536)
                except OSError:
                    return
                if not data:
                    return
                self.request.sendall(data)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError, OSError)):
            return
        super().handle_error(request, client_address)


def watch_parent(server, parent):
    while os.getppid() == parent:
        time.sleep(0.5)
    server.shutdown()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--log", default="")
    parser.add_argument("--auth", default="")
    parser.add_argument("--max-seconds", type=float, default=600)
    args = parser.parse_args()

    server = Server(("127.0.0.1", 0), Handler)
    server.state = State(args.log, args.auth)
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
