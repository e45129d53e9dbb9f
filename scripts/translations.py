#!/usr/bin/env python3
"""The English texts of the suite.

  translations.py update   refreshes translations/*_en.ts from the window sources (lupdate)
  translations.py check    fails when a window text or a console text has no English

Window texts are marked with UiText::tr / QT_TRANSLATE_NOOP("UiText", ...) and kept in
translations/<part>_en.ts; texts outside the windows go through platform::Tr / TrArgs and
their English is in platform/UiTextEnglish.cpp.
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LUPDATE = shutil.which("lupdate") or "/usr/lib/qt6/bin/lupdate"

# Each .ts file and the folders whose window code it covers (files directly in them).
PARTS = {
    "main": ["app/qt", "engine/qt", "platform/qt"],
    "dialogs": ["app/qt/dialogs"],
    "records": ["records/qt", "download/qt", "rerevu/qt"],
    "tools": ["scheduler/qt", "suite/qt", "albumfetcher/qt"],
}
# Folders whose texts go through platform::Tr (everything without windows).
PLAIN = ["platform", "xml", "engine", "records", "filters", "download", "app", "app/shell", "cui",
         "scheduler", "suite", "albumfetcher", "rerevu", "plugins/notfound"]


def sources(folders):
    files = []
    for folder in folders:
        for ext in ("*.cpp", "*.h"):
            files += sorted(glob.glob(os.path.join(ROOT, folder, ext)))
    return files


def run_lupdate(part, ts_path):
    cmd = [LUPDATE, "-silent", "-I", ROOT, "-locations", "none", "-no-obsolete", "-source-language", "ja",
           "-target-language", "en"] + sources(PARTS[part]) + ["-ts", ts_path]
    subprocess.run(cmd, check=True)


def unfinished(ts_text):
    messages = re.findall(r"<message>(.*?)</message>", ts_text, re.S)
    missing = []
    for m in messages:
        if 'type="unfinished"' in m or re.search(r"<translation>\s*</translation>", m):
            src = re.search(r"<source>(.*?)</source>", m, re.S)
            missing.append(src.group(1) if src else m)
    return missing


LITERAL = r'"((?:[^"\\]|\\.)*)"'
CALL = re.compile(r'\b(?:platform::)?Tr(?:Args)?\(\s*((?:' + LITERAL + r'\s*)+)')
# Window code reaches the table only through the qualified name (usage texts printed before
# any window exists).
QUALIFIED_CALL = re.compile(r'\bplatform::Tr(?:Args)?\(\s*((?:' + LITERAL + r'\s*)+)')


def unescape(text):
    return bytes(text, "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")


def table_keys():
    with open(os.path.join(ROOT, "platform/UiTextEnglish.cpp"), encoding="utf-8") as f:
        text = f.read()
    keys = set()
    for m in re.finditer(r'\{\s*((?:' + LITERAL + r'\s*)+),\s*(?:' + LITERAL + r'\s*)+\}', text):
        keys.add("".join(unescape(p) for p in re.findall(LITERAL, m.group(1))))
    return keys


def plain_texts():
    found = []
    window_code = sources([folder for folders in PARTS.values() for folder in folders])
    for path, call in [(p, CALL) for p in sources(PLAIN)] + [(p, QUALIFIED_CALL) for p in window_code]:
        if path.endswith("UiTextEnglish.cpp") or path.endswith("UiText.h") or path.endswith("UiText.cpp"):
            continue
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for m in call.finditer(text):
            literal = "".join(unescape(p) for p in re.findall(LITERAL, m.group(1)))
            found.append((os.path.relpath(path, ROOT), literal))
    return found


def update():
    for part in PARTS:
        run_lupdate(part, os.path.join(ROOT, "translations", part + "_en.ts"))


def check():
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        for part in PARTS:
            kept = os.path.join(ROOT, "translations", part + "_en.ts")
            fresh = os.path.join(tmp, part + "_en.ts")
            shutil.copy(kept, fresh)
            run_lupdate(part, fresh)
            with open(kept, encoding="utf-8") as f:
                before = f.read()
            with open(fresh, encoding="utf-8") as f:
                after = f.read()
            for source in unfinished(after):
                problems.append(f"{part}_en.ts: no English for window text \"{source}\"")
            if before != after and not unfinished(after):
                problems.append(f"{part}_en.ts is not up to date with the sources (run scripts/translations.py update)")
    keys = table_keys()
    for path, literal in plain_texts():
        if literal not in keys:
            problems.append(f"{path}: no English for \"{literal}\" in platform/UiTextEnglish.cpp")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2 or sys.argv[1] not in ("update", "check"):
        print(__doc__)
        sys.exit(2)
    if not os.path.exists(LUPDATE):
        print("translations: lupdate not found (Debian package qt6-l10n-tools)")
        sys.exit(77)
    sys.exit(update() if sys.argv[1] == "update" else check())
