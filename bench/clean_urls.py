#!/usr/bin/env python3
"""Makes the "clean URL" edition of a static site: the same files, the pages' own links
without ".html".

    clean_urls.py SOURCE DEST   → prints "<pages> <links-rewritten>"

Copies SOURCE to DEST (symbolic links followed, so the copy stands alone) and, in every .html
file, rewrites each relative href= and src= that names a .html page: "x.html" becomes "x",
"dir/index.html" becomes "dir/", "index.html" becomes "./"; a fragment or query stays as it
was. Links to other sites, style sheets, scripts and pictures are left alone. The files keep
their names: the server answers "x" with x.html (nginx: try_files $uri $uri.html $uri/).
"""

import os
import re
import shutil
import sys

ATTR = re.compile(rb"""\b(href|src)(\s*=\s*)(?:"([^"]*)"|'([^']*)')""", re.I)
SCHEME = re.compile(rb"^[A-Za-z][A-Za-z0-9+.-]*:")


def clean(link):
    """The clean form of a relative link to a page, or None when it is no such link."""
    if not link or link.startswith((b"#", b"//")) or SCHEME.match(link):
        return None
    cut = len(link)
    for mark in (b"?", b"#"):
        at = link.find(mark)
        if at != -1:
            cut = min(cut, at)
    path, rest = link[:cut], link[cut:]
    if not path.endswith(b".html"):
        return None
    if path == b"index.html":
        path = b"./"
    elif path.endswith(b"/index.html"):
        path = path[:-len(b"index.html")]
    else:
        path = path[:-len(b".html")]
    return path + rest


def main():
    source, dest = sys.argv[1], sys.argv[2]
    shutil.copytree(source, dest, symlinks=False)
    pages = rewritten = 0

    def replace(m):
        nonlocal rewritten
        quote = b'"' if m.group(3) is not None else b"'"
        link = m.group(3) if m.group(3) is not None else m.group(4)
        new = clean(link)
        if new is None:
            return m.group(0)
        rewritten += 1
        return m.group(1) + m.group(2) + quote + new + quote

    for folder, _, files in os.walk(dest):
        for name in files:
            if not name.endswith(".html"):
                continue
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                text = f.read()
            pages += 1
            new = ATTR.sub(replace, text)
            if new != text:
                with open(path, "wb") as f:
                    f.write(new)
    print(pages, rewritten)


if __name__ == "__main__":
    main()
