"""A book's "VEXMAR" entries as pefile reads them: NAME<TAB>TITLE per page of
CONTENTS, in its order; SEARCH's bytes go to the file named second. Exit
code 77: pefile is missing (run.sh installs python3-pefile)."""
import struct
import sys

try:
    import pefile
except ImportError:
    sys.exit(77)

pe = pefile.PE(sys.argv[1])
found = {str(name.name): pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
         for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries if str(kind.name) == "VEXMAR"
         for name in kind.directory.entries for lang in name.directory.entries if lang.id == 1033}
contents = found["CONTENTS"]
magic, version, count = struct.unpack_from("<4sII", contents)
assert (magic, version) == (b"VXCT", 1), (magic, version)
at = 12
for _ in range(count):
    texts = []
    for _ in range(2):
        (length,) = struct.unpack_from("<I", contents, at)
        texts.append(contents[at + 4:at + 4 + length].decode("utf-8"))
        at += 4 + length
    print("\t".join(texts))
assert at == len(contents)
with open(sys.argv[2], "wb") as out:
    out.write(found["SEARCH"])
