#!/usr/bin/python3
"""Reads an e-book with pefile, an independent PE reader, and checks it
against its project folder: one settings entry ("CUSTOM", 101, 1033) and one
entry of type 2110 per file, named by the upper-cased file name (a file of a
sub-folder with "\" between the parts: IMAGES\SPROUT.GIF), holding the
file's bytes exactly.

usage: check_book.py BOOK.exe PROJECT_FOLDER [FILE ...]
With no FILE, every entry must match a file of PROJECT_FOLDER or of its
sub-folders (hidden ones aside), and every such file must have its entry.
"""
import os
import sys

import pefile


def entries(pe):
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        type_id = str(type_entry.name) if type_entry.name is not None else type_entry.id
        for name_entry in type_entry.directory.entries:
            name = str(name_entry.name) if name_entry.name is not None else name_entry.id
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                yield type_id, name, lang_entry.id, pe.get_data(data.OffsetToData, data.Size)


def project_files(folder):
    for here, folders, names in os.walk(folder):
        folders[:] = [f for f in folders if not f.startswith(".")]
        for name in names:
            yield os.path.relpath(os.path.join(here, name), folder)


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 1
    book, folder, wanted = argv[1], argv[2], argv[3:]
    pe = pefile.PE(book)
    warnings = pe.get_warnings()
    problems = [f"pefile: {w}" for w in warnings]
    records = [e for e in entries(pe) if e[0] == "CUSTOM"]
    files = {name: (lang, data) for type_id, name, lang, data in entries(pe) if type_id == 2110}
    if len(records) != 1 or records[0][1] != 101 or records[0][2] != 1033:
        problems.append(f"expected one CUSTOM/101/1033 entry, found {[(r[1], r[2]) for r in records]}")
    else:
        print("settings record:", records[0][3].decode("cp1252"))
    sources = wanted or sorted(project_files(folder))
    expected = {name.replace("/", "\\").upper(): name for name in sources
                if os.path.isfile(os.path.join(folder, name))}
    for stored, source in sorted(expected.items()):
        if stored not in files:
            problems.append(f"no entry for {source}")
            continue
        lang, data = files[stored]
        with open(os.path.join(folder, source), "rb") as f:
            original = f.read()
        if lang != 1033 or data != original:
            problems.append(f"entry {stored} differs from {source}")
        print(f"  {stored:<24} {len(data):>8} bytes  ok")
    for stored in sorted(set(files) - set(expected)):
        problems.append(f"entry {stored} has no file in {folder}")
    for problem in problems:
        print("check_book:", problem, file=sys.stderr)
    return 2 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
