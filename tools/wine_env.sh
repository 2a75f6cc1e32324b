# Sourced: the Wine environment for one of our Windows builds.
#
#   wine_env ARCH       ARCH is win32 or win64
#   pe_arch FILE        prints win32 or win64 for a Windows program; 1 if FILE is none
#
# wine_env exports WINEPREFIX (a prefix per arch under out/, or
# $VEXMAR_WINEPREFIX), WINEARCH, WINEDEBUG and WINEDLLOVERRIDES, and sets WINE
# to the loader to call. Debian's /usr/bin/wine tries the 32-bit loader first,
# which a machine that cannot execute 32-bit code refuses, so 64-bit programs
# are started by the 64-bit loader itself.
wine_env() {
  local tree
  tree=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ "$1" = win64 ]; then
    export WINEPREFIX="${VEXMAR_WINEPREFIX:-$tree/out/wineprefix64}" WINEARCH=win64
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
  else
    export WINEPREFIX="${VEXMAR_WINEPREFIX:-$tree/out/wineprefix}" WINEARCH=win32
    WINE=wine
  fi
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko installer dialog waits for an answer nobody gives.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
}

# The machine field of the PE header: 0x8664 is x86-64, anything else we
# build is i686.
pe_arch() {
  local header machine
  [ -f "$1" ] || return 1
  [ "$(head -c 2 "$1")" = MZ ] || return 1
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  [ -n "$header" ] || return 1
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
  if [ "$machine" = 8664 ]; then echo win64; else echo win32; fi
}
