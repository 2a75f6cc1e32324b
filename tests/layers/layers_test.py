#!/usr/bin/env python3
"""Every #include of src/ against the layers' order.

Layers point one way: platform <- workspace <- build, settings, help <-
program <- app, cli. The compiler-viewer contract (book) stands beside them,
included by both sides. Portable code never includes windows.h: only files
whose path names win32, and the Windows program in app/, do.

    layers_test.py SRC_FOLDER     exit 1 and one line per wrong include
"""
import pathlib
import re
import sys

BELOW = {
    "platform": set(),
    "book": {"platform"},
    "workspace": {"platform"},
    "build": {"workspace", "platform", "book"},
    "settings": {"workspace", "platform"},
    "help": {"workspace", "platform"},
    "program": {"build", "settings", "help", "workspace", "platform"},
    "app": {"program", "build", "settings", "help", "workspace", "platform"},
    "cli": {"program", "build", "settings", "help", "workspace", "platform", "book"},
    "viewer": {"platform", "book"},
}
WINDOWS_HEADERS = {"windows.h", "objbase.h", "ole2.h", "shlobj.h", "commctrl.h", "shellapi.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def wrong_includes(src):
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        relative = path.relative_to(src)
        layer = relative.parts[0]
        windows_file = "win32" in str(relative) or layer == "app"
        for bracket, target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if bracket == "<":
                if target.lower() in WINDOWS_HEADERS and not windows_file:
                    yield f"{relative}: portable code includes <{target}>"
                continue
            first = target.split("/")[0]
            if "/" not in target or first not in BELOW:
                continue  # a header of its own folder or a generated one
            if first != layer and first not in BELOW.get(layer, set()):
                yield f"{relative}: {layer} may not include {target}"


def main():
    src = pathlib.Path(sys.argv[1])
    unknown = [p.name for p in src.iterdir() if p.is_dir() and p.name not in BELOW]
    found = [f"{name}: a folder of src/ that has no place among the layers" for name in unknown]
    found += list(wrong_includes(src))
    for line in found:
        print(line)
    print(f"{len(found)} wrong include(s)" if found else "every include follows the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
