#!/usr/bin/env python3
"""Runs a command and samples the memory of it and all its descendants.

    render_peak.py COMMAND...

Prints "wall_s peak_tree_KiB peak_renderer_KiB" on stdout once the command ends, and ends with
its exit code: wall time, the largest sum of resident memory over the command and every
process below it (the renderer and the browser engine's own processes included), and the
largest such sum for the renderer's part alone.
"""

import os
import subprocess
import sys
import time


def children():
    kids = {}
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            kids.setdefault(int(fields[1]), []).append(int(pid))
        except OSError:
            pass
    return kids


def rss_kib(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def name(pid):
    try:
        with open("/proc/%d/comm" % pid) as f:
            return f.read().strip()
    except OSError:
        return ""


def tree(root, kids):
    out, todo = [], [root]
    while todo:
        pid = todo.pop()
        out.append(pid)
        todo.extend(kids.get(pid, []))
    return out


def main():
    start = time.monotonic()
    proc = subprocess.Popen(sys.argv[1:])
    peak_tree = peak_renderer = 0
    while proc.poll() is None:
        kids = children()
        pids = tree(proc.pid, kids)
        peak_tree = max(peak_tree, sum(rss_kib(p) for p in pids))
        renderer = [p for p in pids if name(p) == "SitrovaRender"]
        below = [q for r in renderer for q in tree(r, kids)]
        peak_renderer = max(peak_renderer, sum(rss_kib(p) for p in below))
        time.sleep(0.1)
    print("%.2f %d %d" % (time.monotonic() - start, peak_tree, peak_renderer))
    sys.exit(proc.returncode)


if __name__ == "__main__":
    main()
