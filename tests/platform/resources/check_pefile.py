"""Parses PE files with pefile and fails on any warning.

Used by the resource engine's tests as an independent reader of what the
engine writes: every file must parse without a warning, list resources, and
carry a correct checksum when it has one. Exit code 77 means pefile is not
installed (run.sh installs python3-pefile).
"""
import sys

try:
    import pefile
except ImportError:
    sys.exit(77)


def check(path):
    problems = []
    pe = pefile.PE(path)
    problems += pe.get_warnings()
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        problems.append("no resource directory parsed")
    else:
        count = 0
        for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
            for name in kind.directory.entries:
                for language in name.directory.entries:
                    data = language.data.struct
                    pe.get_data(data.OffsetToData, data.Size)
                    count += 1
        if count == 0:
            problems.append("no resource entries")
    if pe.OPTIONAL_HEADER.CheckSum != 0 and not pe.verify_checksum():
        problems.append("checksum does not verify")
    return problems


def main():
    failed = False
    for path in sys.argv[1:]:
        for problem in check(path):
            print("%s: %s" % (path, problem))
            failed = True
    sys.exit(1 if failed else 0)


main()
