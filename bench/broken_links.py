#!/usr/bin/env python3
"""Counts the relative links of a saved copy that point at no local file.

    broken_links.py DIR   → prints "<broken> <checked>"

Every href=, src= and url() of the saved .html, .htm and .css files (and files saved under
query names) is resolved against the file's folder; absolute URLs, mail links, scripts and
bare anchors are not counted.
"""

import os
import re
import sys
import urllib.parse

LINK = re.compile(rb"""(?:href|src)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+))|url\(\s*["']?([^"')]+)["']?\s*\)""", re.I)


def is_page(name):
    low = name.lower()
    return low.endswith((".html", ".htm", ".css")) or ".php" in low


def main():
    root = sys.argv[1]
    broken = checked = 0
    for folder, _, files in os.walk(root):
        for name in files:
            if not is_page(name):
                continue
            with open(os.path.join(folder, name), "rb") as f:
                text = f.read()
            for m in LINK.finditer(text):
                link = next(g for g in m.groups() if g is not None).decode("latin-1").strip()
                low = link.lower()
                if (not link or link.startswith("#") or "://" in low or low.startswith(("mailto:", "javascript:", "data:"))):
                    continue
                link = link.split("#", 1)[0].replace("\\", "/")
                if not link:
                    continue
                target = os.path.normpath(os.path.join(folder, urllib.parse.unquote(link)))
                if link.endswith("/") or os.path.isdir(target):
                    target = os.path.join(target, "index.html")
                checked += 1
                if not os.path.exists(target):
                    broken += 1
    print(broken, checked)


if __name__ == "__main__":
    main()
