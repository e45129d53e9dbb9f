#!/usr/bin/env python3
"""Saved pages and the share of a site's own links that work offline in a saved copy.

    link_share.py DIR ORIGIN   → prints "<pages> <working> <own-links>"

ORIGIN is the site's "http://host:port". Every href=, src=, srcset candidate and url() of the
saved .html, .htm and .css files counts when it belongs to the site: a relative link, or an
absolute one on ORIGIN. It works offline when it resolves to a file of the copy (a link to
a folder through the folder's index.html). Links to other sites, anchors and other schemes
are not counted, nor is a link to a place in the page itself ("page.html#part" inside
page.html: wget -k writes in-page anchors that way); an absolute link to the site counts as not
working offline. Sitrova's
placeholder pages for pages the site itself lacks are no pages of the site and not counted.

A site whose pages are linked without ".html" ("clean URLs") is served from files named x.html,
and a tool may save such a page under its URL's own name ("os", "tkinter.ttk", "3.11"): any
other file that starts like HTML counts as a page too. A link works offline only when it names
a file of the copy as written, since a browser opening the copy from disk adds no ".html"; and
not when that file is such a page, which a browser shows from disk as text or not at all.
"""

import os
import re
import sys
import urllib.parse

LINK = re.compile(rb"""(?:href|src|poster)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+))|url\(\s*["']?([^"')]+)["']?\s*\)"""
                  rb"""|srcset\s*=\s*"([^"]*)\"""", re.I)
PLACEHOLDERS = (b"<html><head><title>Failed Download</title>", b"<html><head><title>Canceled Download</title>")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def is_page(name):
    low = name.lower()
    return low.endswith((".html", ".htm", ".css")) or ".php" in low or "?" in low


RESOURCES = (".css", ".js", ".png", ".jpg", ".jpeg", ".gif", ".svg", ".ico", ".webp", ".woff", ".woff2", ".ttf",
             ".txt", ".xml", ".json", ".log", ".qdx", ".pdf", ".zip", ".gz", ".bz2", ".xz", ".tar", ".ini")
sniffed = {}


def looks_like_html(path):
    """True for a page saved under a name without .html or .htm: a file of no common kind whose
    first bytes are HTML's."""
    low = path.lower()
    if low.endswith((".html", ".htm") + RESOURCES):
        return False
    if path not in sniffed:
        try:
            with open(path, "rb") as f:
                head = f.read(256).lstrip().lower()
        except OSError:
            head = b""
        sniffed[path] = head.startswith((b"<!doctype html", b"<html"))
    return sniffed[path]


def saved_pages(root):
    """Every saved page of the copy under root as (folder, name, text): the .html and .htm files
    and the HTML ones without an extension, Sitrova's placeholders left out."""
    for folder, _, files in os.walk(root):
        for name in sorted(files):
            path = os.path.join(folder, name)
            if not (name.lower().endswith((".html", ".htm")) or looks_like_html(path)):
                continue
            with open(path, "rb") as f:
                text = f.read()
            if not text.startswith(PLACEHOLDERS):
                yield folder, name, text


def candidates(match):
    if match.group(5) is not None:
        return [c.strip().split()[0] for c in match.group(5).decode("latin-1").split(",") if c.strip()]
    return [next(g for g in match.groups() if g is not None).decode("latin-1").strip()]


def main():
    root, origin = sys.argv[1], sys.argv[2].rstrip("/").lower()
    pages = working = own = 0
    for folder, _, files in os.walk(root):
        for name in files:
            html = name.lower().endswith((".html", ".htm")) or looks_like_html(os.path.join(folder, name))
            if not (html or is_page(name)):
                continue
            with open(os.path.join(folder, name), "rb") as f:
                text = f.read()
            if text.startswith(PLACEHOLDERS):
                continue
            if html:
                pages += 1
            for m in LINK.finditer(text):
                for link in candidates(m):
                    if not link or link.startswith("#"):
                        continue
                    if link.lower().startswith(origin + "/") or link.lower() == origin:
                        own += 1  # the site's own page left online
                        continue
                    if link.startswith("//") or SCHEME.match(link):
                        continue
                    path = link.split("#", 1)[0].split("?", 1)[0]
                    target = os.path.normpath(os.path.join(folder, urllib.parse.unquote(path)))
                    if "#" in link and "?" not in link and target == os.path.join(folder, name):
                        continue
                    own += 1
                    if not path or path.endswith("/") or os.path.isdir(target):
                        target = os.path.join(target, "index.html")
                    if os.path.isfile(target) and not looks_like_html(target):
                        working += 1
    print(pages, working, own)


if __name__ == "__main__":
    main()
