"""Prints a book's version information as pefile, an independent reader,
sees it: how many version entries the file has, the fixed file version and
date, then every string of the string tables as KEY=VALUE (UTF-8).
Exit code 77 means pefile is not installed (run.sh installs python3-pefile).
"""
import sys

try:
    import pefile
except ImportError:
    sys.exit(77)

pe = pefile.PE(sys.argv[1])
versions = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries
            if e.id == pefile.RESOURCE_TYPE["RT_VERSION"]]
count = sum(len(lang.directory.entries)
            for v in versions for lang in v.directory.entries)
print("entries=%d" % count)
fixed = pe.VS_FIXEDFILEINFO[0]
print("version=%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
print("filedate=%d" % ((fixed.FileDateMS << 32) | fixed.FileDateLS))
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            print("table=%s" % table.LangID.decode())
            for key, value in table.entries.items():
                print("%s=%s" % (key.decode("utf-8"), value.decode("utf-8")))
    elif info.Key == b"VarFileInfo":
        for var in info.Var:
            print("translation=%s" % var.entry)
