#!/usr/bin/env bash
# One entry point for building, testing and trying the Vexmar E-book Compiler.
# Every subcommand first installs what is missing (Debian 12, as root) and
# builds, so a fresh machine needs nothing but this script.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
export VEXMAR_ROOT=$ROOT

usage() {
  cat <<TXT
usage: ./run.sh COMMAND
  demo    build, compile the sample project into an e-book and inspect it
  test    build every preset and run every suite, native and under Wine
  gui     start VexmarEbc.exe under Wine (Xvfb and a screenshot when no \$DISPLAY)
  bench   run the benchmarks
  dist    make the Windows package out/dist/VexmarEbc-<version>-win32.zip and try it
          (where 32-bit code cannot run: its headers, then the same package built for x64)
  screenshots
          retake the author's guide's pictures (docs/images/) from the real program
  fuzz [SECONDS]
          run every libFuzzer target for SECONDS each (default 60)
Where this machine cannot execute 32-bit code, the Windows programs are
built for x64 (preset win64) and run under 64-bit Wine instead;
VEXMAR_WINDOWS_ARCH=win32|win64 overrides the choice.
TXT
}

log() { printf '== %s\n' "$*"; }

# --- installing ----------------------------------------------------------------
PACKAGES=(cmake ninja-build g++ make libgtest-dev libgmock-dev python3 python3-pefile python3-markdown
  mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick clang libclang-rt-14-dev
  osslsigncode openssl locales unicode-data faketime)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

ensure_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  log "installing: $(echo $missing)"
  if [ "$(id -u)" != 0 ]; then
    echo "run.sh: these packages are missing and installing them needs root: $missing" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing >"$ROOT/out/apt.log" 2>&1 || {
    tail -30 "$ROOT/out/apt.log" >&2
    exit 1
  }
}

# Wine takes the ANSI code page from the locale's name, but turns file names
# into Unix ones only in a locale the C library has: the Windows suites build
# books under the Japanese (932) and the Western (1252) code page.
LOCALES=(ja_JP en_US)
ensure_locales() {
  local l
  for l in "${LOCALES[@]}"; do
    locale -a | grep -qix "$l.utf8" && continue
    if [ "$(id -u)" != 0 ]; then
      echo "run.sh: the locale $l.UTF-8 is missing and making it needs root; its suite is skipped" >&2
      continue
    fi
    log "making the locale $l.UTF-8"
    localedef -i "$l" -f UTF-8 "$l.UTF-8"
  done
}

# --- building --------------------------------------------------------------------
# A tree is configured again whenever what shapes it changed: the presets,
# a toolchain file, or the extra settings run.sh gives it (the viewer the
# native vexmar-ebc makes books from). A changed toolchain needs a fresh cache.
configure_signature() {
  cat CMakePresets.json cmake/toolchain-*.cmake | cksum
  echo "$*"
}

configure_and_build() {
  local preset=$1
  shift
  local stamp="out/$preset/.vexmar-configured" signature
  signature=$(configure_signature "$@")
  if [ ! -f "out/$preset/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$signature" ]; then
    local fresh=()
    [ -f "out/$preset/CMakeCache.txt" ] && fresh=(--fresh)
    cmake --preset "$preset" "${fresh[@]}" "$@" >"out/configure-$preset.log" 2>&1 || {
      cat "out/configure-$preset.log" >&2
      echo "run.sh: configuring $preset failed" >&2
      exit 1
    }
    printf '%s\n' "$signature" >"$stamp"
  fi
  log "building $preset"
  # Ninja's progress lines say nothing on success; on failure the log's
  # compiler messages are what matters.
  if ! cmake --build --preset "$preset" -- -k 0 >"out/build-$preset.log" 2>&1; then
    grep -v '^\[[0-9]*/[0-9]*\]' "out/build-$preset.log" | tail -80 >&2
    echo "run.sh: building $preset failed (out/build-$preset.log)" >&2
    exit 1
  fi
}

# The Windows build goes first: the native vexmar-ebc makes its books from
# the viewer that build cross-builds.
build_windows() { configure_and_build "$WIN"; }
build_native() {
  configure_and_build "$1" -DVEXMAR_VIEWER_STUB="$ROOT/out/$WIN/bin/dmsfx.dat"
}

# --- Wine and a display ------------------------------------------------------------
. "$ROOT/tools/windows_arch.sh"
WIN=
choose_windows() {
  choose_windows_arch || exit 2
  WIN=$VEXMAR_WINDOWS_ARCH
  log "Windows suites: $(windows_arch_summary)"
}

ensure_wine_prefix() { tools/wine-prefix "$WIN"; }

. "$ROOT/tools/private_display.sh"
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  start_private_display 90 120 || {
    echo "run.sh: no Xvfb could be started" >&2
    return 1
  }
}
stop_display() {
  if [ -n "$PRIVATE_XVFB_PID" ]; then kill "$PRIVATE_XVFB_PID" 2>/dev/null || true; fi
}
trap stop_display EXIT

# What the 32-bit run checks and a 64-bit one cannot, said once per run.
say_what_win64_leaves_out() {
  [ "$WIN" = win64 ] || return 0
  log "not checked under 64-bit Wine: the shipped 32-bit programs themselves run (their headers and version are checked by dist)"
}

# --- commands ----------------------------------------------------------------------
cmd_test() {
  build_windows
  build_native linux
  build_native linux-asan
  ensure_wine_prefix
  ensure_display
  local failed=0
  log "native suites"
  ctest --preset linux || failed=1
  log "native suites under AddressSanitizer and UndefinedBehaviorSanitizer"
  ctest --preset linux-asan || failed=1
  log "Windows suites under Wine ($WIN)"
  ctest --preset "$WIN" || failed=1
  say_what_win64_leaves_out
  if [ "$failed" != 0 ]; then
    echo "run.sh: some suites failed" >&2
    exit 1
  fi
  log "every suite passed"
}

cmd_demo() {
  build_windows
  build_native linux
  tools/demo
}

cmd_gui() {
  build_windows
  ensure_wine_prefix
  tools/gui
}

cmd_bench() {
  build_windows
  build_native linux
  ensure_wine_prefix
  tools/bench
}

# The package is built in a tree of its own (out/win32-dist) from what ships
# only, then unpacked into an empty folder and started from there. The
# shipped zip is always the 32-bit one; where 32-bit programs cannot run, its
# contents and headers are checked, and the same layout built for x64 is the
# one started.
pack() {
  local preset=$1
  configure_and_build "$preset"
  rm -rf "out/dist/$preset"
  log "packing $preset"
  cpack --config "out/$preset/CPackConfig.cmake" -B "out/dist/$preset" >"out/cpack-$preset.log" 2>&1 || {
    cat "out/cpack-$preset.log" >&2
    echo "run.sh: packing failed (out/cpack-$preset.log)" >&2
    exit 1
  }
  rm -rf "out/dist/$preset/_CPack_Packages"
}

cmd_dist() {
  rm -rf out/dist
  pack win32-dist
  local zip
  zip=$(ls out/dist/win32-dist/VexmarEbc-*-win32.zip)
  mv "$zip" out/dist/
  rmdir out/dist/win32-dist
  zip=out/dist/$(basename "$zip")
  log "made $zip"
  # The check drives the unpacked program with the test build's window probe.
  build_windows
  ensure_wine_prefix
  if [ "$WIN" = win32 ]; then
    tools/check-dist "$zip"
    return
  fi
  log "the shipped 32-bit programs are not run with the win64 build: checking the zip's contents and headers, then starting the same package built for x64"
  tools/check-dist-headers "$zip"
  pack win64-dist
  tools/check-dist "$(ls out/dist/win64-dist/VexmarEbc-*-win64.zip)"
}

cmd_screenshots() {
  build_windows
  ensure_wine_prefix
  tools/screenshots
}

cmd_fuzz() {
  tools/fuzz "$@"
}

main() {
  local cmd=${1:-}
  case "$cmd" in
    demo | test | gui | bench | dist | screenshots | fuzz) ;;
    -h | --help | help | "") usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
  mkdir -p out
  [ "$cmd" = fuzz ] || choose_windows
  ensure_packages
  [ "$cmd" = test ] && ensure_locales
  "cmd_$cmd" "${@:2}"
}

main "$@"
