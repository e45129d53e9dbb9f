#!/usr/bin/env python3
"""Opens a saved copy in a real browser, with the network shut, and counts what did not load.

    browser_check.py [-v] [--pages 40] [--seed 1] DIR ORIGIN
        → prints "<pages-opened> <failed-local-loads> <requests-to-ORIGIN> <other-web-requests>
                  <pages-not-shown-as-HTML>"

Headless Chromium (Debian's chromium package) opens DIR/index.html and a fixed sample of the
copy's other pages (the same seed picks the same pages of the same copy), each through
file://, and waits for it to finish loading. Every file:// load that fails (a missing page,
picture, style sheet, script or frame) counts as a failed local load; every http(s) request is
stopped before it leaves the browser and counted, as going back to the site when it is for
ORIGIN ("http://host:port"). A saved page that the browser does not show as HTML (a page
saved under a name without .html: the browser takes it for text, or offers to download it)
counts apart. -v lists each failure and request on standard error.

The browser is driven over the DevTools protocol on a pipe (no port to open). Its web requests
are held by the protocol's request interception and failed there; should one slip past that,
the browser is also told to send everything, loopback included, through a proxy on 127.0.0.1
port 9, where nothing listens, and to resolve no host name.
"""

import argparse
import json
import os
import pathlib
import queue
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from link_share import saved_pages

BROWSERS = ("chromium", "chromium-browser", "google-chrome")
LOAD_TIMEOUT = 20.0   # seconds a page may take to fire its load event
QUIET = 0.5           # seconds without network activity after the load event before moving on
SETTLE_LIMIT = 3.0    # ... but no longer than this after the load event


class Browser:
    """A headless Chromium driven over --remote-debugging-pipe (fd 3 in, fd 4 out)."""

    def __init__(self):
        binary = next((b for b in map(shutil.which, BROWSERS) if b), None)
        if binary is None:
            sys.exit("browser_check: no chromium found (apt-get install chromium)")
        self.profile = tempfile.mkdtemp(prefix="browser-check-")
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def wire():  # in the child: put the two pipe ends where the browser looks for them
            a, b = os.dup(to_browser_r), os.dup(from_browser_w)
            os.dup2(a, 3)
            os.dup2(b, 4)

        args = [binary, "--headless", "--no-sandbox", "--remote-debugging-pipe", "--user-data-dir=" + self.profile,
                "--no-first-run", "--no-default-browser-check", "--disable-gpu", "--disable-extensions",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-default-apps", "--mute-audio", "--proxy-server=127.0.0.1:9",
                "--proxy-bypass-list=<-loopback>", "--host-resolver-rules=MAP * ~NOTFOUND", "about:blank"]
        self.proc = subprocess.Popen(args, preexec_fn=wire, pass_fds=(3, 4), stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.next_id = 0
        self.replies = {}
        self.events = queue.Queue()
        self.lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        buf = b""
        while True:
            chunk = os.read(self.from_browser, 1 << 16)
            if not chunk:
                self.events.put(None)
                with self.lock:
                    self.lock.notify_all()
                return
            buf += chunk
            *messages, buf = buf.split(b"\0")
            for raw in messages:
                msg = json.loads(raw)
                if "id" in msg:
                    with self.lock:
                        self.replies[msg["id"]] = msg
                        self.lock.notify_all()
                else:
                    self.events.put(msg)

    def send(self, method, params=None, session=None, wait=True):
        self.next_id += 1
        ident = self.next_id
        msg = {"id": ident, "method": method, "params": params or {}}
        if session:
            msg["sessionId"] = session
        os.write(self.to_browser, json.dumps(msg).encode() + b"\0")
        if not wait:
            return None
        deadline = time.monotonic() + 30
        with self.lock:
            while ident not in self.replies:
                left = deadline - time.monotonic()
                if left <= 0 or self.proc.poll() is not None:
                    sys.exit("browser_check: the browser did not answer " + method)
                self.lock.wait(left)
            reply = self.replies.pop(ident)
        if "error" in reply:
            raise RuntimeError("%s: %s" % (method, reply["error"].get("message")))
        return reply.get("result", {})

    def close(self):
        try:
            self.send("Browser.close", wait=False)
            self.proc.wait(10)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


class Check:
    def __init__(self, browser, origin, verbose):
        self.b = browser
        self.origin = origin.rstrip("/").lower()
        self.verbose = verbose
        self.failed = self.server = self.other = self.not_html = 0
        target = self.b.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.s = self.b.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for method, params in (("Page.enable", {}), ("Network.enable", {}),
                               ("Network.setCacheDisabled", {"cacheDisabled": True}),
                               ("Fetch.enable", {"patterns": [{"urlPattern": p} for p in
                                                              ("http://*", "https://*", "ws://*", "wss://*")]})):
            self.b.send(method, params, self.s)
        self.urls = {}

    def note(self, kind, url, page):
        if self.verbose:
            print("%s\t%s\t(in %s)" % (kind, url, page), file=sys.stderr)

    def handle(self, ev, page):
        """Tallies one event; returns True for the page's load event."""
        method, p = ev.get("method"), ev.get("params", {})
        if method == "Fetch.requestPaused":
            url = p["request"]["url"]
            if url.lower().startswith(self.origin + "/") or url.lower() == self.origin:
                self.server += 1
                self.note("server", url, page)
            else:
                self.other += 1
                self.note("web", url, page)
            self.b.send("Fetch.failRequest", {"requestId": p["requestId"], "errorReason": "BlockedByClient"},
                        self.s, wait=False)
        elif method == "Network.requestWillBeSent":
            self.urls[p["requestId"]] = p["request"]["url"]
        elif method == "Network.loadingFailed":
            url = self.urls.get(p["requestId"], "")
            if url.startswith("file:") and not p.get("canceled"):
                self.failed += 1
                self.note("missing " + p.get("errorText", ""), url, page)
        return method == "Page.loadEventFired"

    def open(self, path, label):
        # Events of the page before are no concern of this one.
        while not self.b.events.empty():
            self.handle(self.b.events.get_nowait(), label)
        url = pathlib.Path(os.path.abspath(path)).as_uri()  # a saved name may hold "?" or "#"
        self.b.send("Page.navigate", {"url": url}, self.s)  # a page that fails is counted as it fails to load
        start = time.monotonic()
        loaded = None
        last = start
        while True:
            now = time.monotonic()
            if loaded is None and now - start > LOAD_TIMEOUT:
                self.note("timeout", url, label)
                return
            if loaded is not None and (now - last > QUIET or now - loaded > SETTLE_LIMIT):
                break
            try:
                ev = self.b.events.get(timeout=0.1)
            except queue.Empty:
                continue
            if ev is None:
                sys.exit("browser_check: the browser quit")
            last = time.monotonic()
            if ev.get("sessionId") == self.s and self.handle(ev, label) and loaded is None:
                loaded = last
        shown = self.b.send("Runtime.evaluate", {"expression": "location.href + ' ' + document.contentType",
                                                 "returnByValue": True}, self.s)
        shown = shown.get("result", {}).get("value", "")
        # Sitrova's start page sends the browser on to the copy's own start page: where the page
        # ends up counts, as long as it is still on disk.
        if not (shown.startswith("file:") and shown.endswith((" text/html", " application/xhtml+xml"))):
            self.not_html += 1
            self.note("not shown as HTML (%s)" % shown, url, label)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("root")
    ap.add_argument("origin")
    ap.add_argument("--pages", type=int, default=40, help="pages opened besides the start page")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("-v", action="store_true", help="list each failure and request on standard error")
    a = ap.parse_args()
    root = os.path.abspath(a.root)
    start = os.path.join(root, "index.html")
    others = sorted(os.path.relpath(os.path.join(folder, name), root) for folder, name, _ in saved_pages(root))
    others = [p for p in others if p != "index.html"]
    sample = random.Random(a.seed).sample(others, min(a.pages, len(others)))
    browser = Browser()
    try:
        check = Check(browser, a.origin, a.v)
        opened = 0
        for rel in (["index.html"] if os.path.isfile(start) else []) + sample:
            check.open(os.path.join(root, rel), rel)
            opened += 1
    finally:
        browser.close()
    print(opened, check.failed, check.server, check.other, check.not_html)


if __name__ == "__main__":
    main()
