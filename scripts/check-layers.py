#!/usr/bin/env python3
"""Checks the two rules that keep the tree's layers apart; run by ctest as LayerRules.

1. Operating-system calls live in platform/: no other folder without Qt includes the system's
   headers (<filesystem>, <unistd.h>, <fcntl.h>, <dirent.h>, <sys/...>) or calls the system
   directly (open, unlink, rename, flock, strerror, errno, std::filesystem ...).
2. Includes point down the layers: a folder includes only itself and the folders below it,
   and a qt/ folder also the qt/ folders of those.

Prints each breach as file:line and exits 1 when there is any.
"""
import os
import re
import sys

# The folders each folder may include, besides itself (app/shell counts as app).
CORE = ["platform", "xml", "engine", "records", "filters", "download"]
ALLOWED = {
    "platform": [],
    "xml": ["platform"],
    "engine": ["platform", "xml"],
    "records": ["platform", "xml", "engine"],
    "filters": ["platform", "xml", "engine", "records"],
    "download": ["platform", "xml", "engine", "records"],
    "app": CORE,
    "cui": CORE + ["app"],
    "scheduler": CORE,
    "suite": CORE,
    "albumfetcher": CORE,
    "rerevu": CORE,
    "plugins": CORE,
}
# Single headers a folder may use from a folder it does not build on.
ALLOWED_HEADERS = {
    # The function types of the helper library's C exports, which the scheduler loads by name.
    ("scheduler", "rerevu/RerEvu.h"),
}
# Breaches whose removal is under way on another branch: "file -> included header".
PENDING = set()

SYSTEM_HEADER = re.compile(r'^\s*#\s*include\s*<(filesystem|unistd\.h|fcntl\.h|dirent\.h|sys/[^>]+)>')
# Names common enough to be our own (a member, a local function) count only as "::name(".
QUALIFIED_CALL = re.compile(r'::(open|close|read|write|stat|access|kill|pipe|fork|dup)\s*\(')
SYSTEM_CALL = re.compile(
    r'(?<![A-Za-z0-9_.>])(?:::)?(unlink|unlinkat|rename|renameat|flock|fcntl|mkdir|rmdir|opendir|readdir|'
    r'closedir|mkstemp|mkostemp|shm_open|shm_unlink|mmap|munmap|ftruncate|fsync|fdatasync|chmod|getpid|'
    r'strerror|realpath|fopen|pread|pwrite|lstat|fstat|fstatat|execvp|execv|dup2|symlink|readlink)\s*\(')
OTHER = re.compile(r'\bstd::filesystem\b|\berrno\b')
INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z]+)/(qt/|shell/)?')


def without_comment(line):
    # Strings of ours hold no "//" that matters here; a URL in one would only shorten the look.
    at = line.find("//")
    return line if at < 0 else line[:at]


def folders_of(rel):
    parts = rel.split("/")
    top = parts[0]
    qt = "qt" in parts[1:-1]
    return top, qt


def check(root):
    breaches = []
    for top in ALLOWED:
        for dirpath, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root)
                _, qt = folders_of(rel)
                allowed = set(ALLOWED[top]) | {top}
                with open(path, encoding="utf-8", errors="replace") as f:
                    lines = f.readlines()
                in_block = False
                for number, raw in enumerate(lines, 1):
                    line = raw
                    if in_block:
                        if "*/" not in line:
                            continue
                        line = line[line.index("*/") + 2:]
                        in_block = False
                    if "/*" in line and "*/" not in line[line.index("/*"):]:
                        line = line[: line.index("/*")]
                        in_block = True
                    line = without_comment(line)
                    where = f"{rel}:{number}"
                    if top != "platform" and not qt:
                        if SYSTEM_HEADER.search(line):
                            breaches.append(f"{where}: system header outside platform/: {line.strip()}")
                        for pattern in (QUALIFIED_CALL, SYSTEM_CALL, OTHER):
                            hit = pattern.search(line)
                            if hit:
                                breaches.append(f"{where}: system call outside platform/: {hit.group(0).strip()}")
                    included = INCLUDE.search(line)
                    if not included:
                        continue
                    target, sub = included.group(1), included.group(2)
                    if target not in ALLOWED:
                        continue  # tests/, or a header beside the file
                    header = line.split('"')[1]
                    if (top, header) in ALLOWED_HEADERS or f"{rel} -> {header}" in PENDING:
                        continue
                    if target not in allowed:
                        breaches.append(f"{where}: {top}/ includes {header}, a layer above it")
                    elif sub == "qt/" and not qt:
                        breaches.append(f"{where}: a folder without Qt includes {header}")
    return breaches


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    breaches = check(os.path.abspath(root))
    for b in breaches:
        print(b)
    if breaches:
        print(f"{len(breaches)} breach(es) of the layer rules (see docs/ARCHITECTURE.md)")
        return 1
    print("layer rules kept")
    return 0


if __name__ == "__main__":
    sys.exit(main())
