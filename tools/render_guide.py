#!/usr/bin/python3
"""Renders the authors' guide (Markdown) into one HTML page for the package,
so an author on Windows reads it with its pictures by a double-click.

    render_guide.py GUIDE.md TARGET.html VERSION

The page is written beside its target and renamed into place, so a failed
run never leaves half a guide in the package tree.
"""
import html
import os
import sys

try:
    import markdown
except ImportError:
    sys.exit("render_guide.py: the markdown module is missing (Debian: python3-markdown)")

STYLE = """
body { font-family: Segoe UI, Tahoma, Verdana, sans-serif; font-size: 15px; line-height: 1.5;
       color: #222; max-width: 52em; margin: 2em auto; padding: 0 1.5em; }
h1 { font-size: 1.8em; border-bottom: 2px solid #3a6ea5; padding-bottom: .2em; }
h2 { font-size: 1.35em; color: #3a6ea5; margin-top: 2em; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #c8d3e0; padding: .3em .7em; text-align: left; vertical-align: top; }
th { background: #eef3f9; }
code, pre { font-family: Consolas, Courier New, monospace; background: #f4f6f8; }
code { padding: 0 .2em; }
pre { padding: .7em 1em; overflow-x: auto; }
img { display: block; margin: 1em 0; max-width: 100%; border: 1px solid #c8d3e0; }
.version { color: #777; font-size: .9em; }
"""


def main() -> int:
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    source, target, version = sys.argv[1:]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    # The toc extension gives each heading the id its in-page links use.
    body = markdown.markdown(text, extensions=["tables", "toc"], output_format="html")
    title = text.splitlines()[0].lstrip("# ").strip()
    page = (
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        f"<title>{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
        f"{body}\n<p class=\"version\">Vexmar E-book Compiler {html.escape(version)}</p>\n"
        "</body>\n</html>\n"
    )
    partial = target + ".new"
    with open(partial, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(page)
    os.replace(partial, target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
