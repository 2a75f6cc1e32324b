"""A book's version information as pefile reads it: the count of version
entries, fixed version and date, language and translation, then KEY=VALUE
lines. Exit code 77: pefile is missing (run.sh installs python3-pefile)."""
import sys

try:
    import pefile
except ImportError:
    sys.exit(77)

pe = pefile.PE(sys.argv[1])
count = sum(len(name.directory.entries) for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
            if kind.id == pefile.RESOURCE_TYPE["RT_VERSION"] for name in kind.directory.entries)
fixed = pe.VS_FIXEDFILEINFO[0]
strings = [info.StringTable[0] for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"][0]
translation = [info.Var[0].entry for info in pe.FileInfo[0] if info.Key == b"VarFileInfo"][0]
print(count, "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                              fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF),
      (fixed.FileDateMS << 32) | fixed.FileDateLS, strings.LangID.decode(),
      translation[b"Translation"])
for key, value in strings.entries.items():
    print("%s=%s" % (key.decode("utf-8"), value.decode("utf-8")))
