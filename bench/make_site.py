#!/usr/bin/env python3
"""Builds the synthetic site of the save benchmark.

    make_site.py DIR [--sections 20] [--subsections 10] [--pages 9]

Layout: /index.html links to the section folders ("s00/"), each section to its subsection
folders ("t0/"), each subsection index to its pages p1.html … and two query pages. Every
page embeds three pictures (one shared by the site, one per folder, one of its own) and the
folder's style sheet, whose url() references point at two more pictures.
"""

import argparse
import os
import struct
import zlib


def png(seed):
    raw = b"".join(b"\x00" + bytes(((seed * 37) % 256, (seed * 91) % 256, 120)) * 24 for _ in range(24))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 24, 24, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def page(title, depth, body, own_picture):
    up = "../" * depth
    filler = "".join("<p>%s, paragraph %d: some text to give the page a realistic size.</p>\n" % (title, i)
                     for i in range(12))
    return ("<html><head><title>%s</title><link rel=\"stylesheet\" href=\"style.css\"></head>\n"
            "<body><h1>%s</h1>\n<img src=\"%simg/common.png\"> <img src=\"banner.png\"> <img src=\"%s\">\n"
            "%s\n%s<p><a href=\"%sindex.html\">top</a></p></body></html>\n") % (
                title, title, up, own_picture, body, filler, up)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("root")
    ap.add_argument("--sections", type=int, default=20)
    ap.add_argument("--subsections", type=int, default=10)
    ap.add_argument("--pages", type=int, default=9)
    a = ap.parse_args()
    root = a.root
    count = 0
    seed = 1
    write(os.path.join(root, "img/common.png"), png(0))
    write(os.path.join(root, "img/tile.png"), png(999))

    def folder_extras(folder, depth):
        nonlocal seed
        write(os.path.join(folder, "banner.png"), png(seed)); seed += 1
        write(os.path.join(folder, "bg.png"), png(seed)); seed += 1
        write(os.path.join(folder, "style.css"),
              "body { background: url(bg.png); }\nh1 { background-image: url('%simg/tile.png'); }\n" % ("../" * depth))

    def own(folder, name):
        nonlocal seed
        write(os.path.join(folder, name), png(seed)); seed += 1
        return name

    folder_extras(root, 0)
    links = " ".join("<a href=\"s%02d/\">section %d</a>" % (s, s) for s in range(a.sections))
    write(os.path.join(root, "index.html"), page("Top", 0, links, own(root, "top.png")))
    count += 1
    for s in range(a.sections):
        sdir = os.path.join(root, "s%02d" % s)
        folder_extras(sdir, 1)
        links = " ".join("<a href=\"t%d/\">sub %d</a>" % (t, t) for t in range(a.subsections))
        links += " <a href=\"list.php?page=1\">list 1</a> <a href=\"list.php?page=2\">list 2</a>"
        write(os.path.join(sdir, "index.html"), page("Section %d" % s, 1, links, own(sdir, "own.png")))
        write(os.path.join(sdir, "list.php"), page("List of section %d" % s, 1, "<a href=\"index.html\">up</a>",
                                                   "own.png"))
        count += 3
        for t in range(a.subsections):
            tdir = os.path.join(sdir, "t%d" % t)
            folder_extras(tdir, 2)
            links = " ".join("<a href=\"p%d.html\">page %d</a>" % (p, p) for p in range(1, a.pages + 1))
            links += " <a href=\"../\">up</a>"
            write(os.path.join(tdir, "index.html"), page("Sub %d.%d" % (s, t), 2, links, own(tdir, "own.png")))
            count += 1
            for p in range(1, a.pages + 1):
                nav = "<a href=\"p%d.html\">next</a> <a href=\"./\">index</a>" % (p % a.pages + 1)
                write(os.path.join(tdir, "p%d.html" % p),
                      page("Page %d.%d.%d" % (s, t, p), 2, nav, own(tdir, "p%d.png" % p)))
                count += 1
    print(count)


if __name__ == "__main__":
    main()
