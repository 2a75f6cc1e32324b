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
  screenshots
          retake the author's guide's pictures (docs/images/) from the real program
  fuzz [SECONDS]
          run every libFuzzer target for SECONDS each (default 60)
TXT
}

log() { printf '== %s\n' "$*"; }

# --- installing ----------------------------------------------------------------
PACKAGES=(cmake ninja-build g++ make libgtest-dev libgmock-dev python3 python3-pefile python3-markdown
  mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool imagemagick clang libclang-rt-14-dev)

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

# --- building --------------------------------------------------------------------
configure_and_build() {
  local preset=$1
  if [ ! -f "out/$preset/build.ninja" ]; then
    cmake --preset "$preset" >"out/configure-$preset.log" 2>&1 || {
      cat "out/configure-$preset.log" >&2
      echo "run.sh: configuring $preset failed" >&2
      exit 1
    }
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

# --- Wine and a display ------------------------------------------------------------
ensure_wine_prefix() { tools/wine-prefix; }

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

# --- commands ----------------------------------------------------------------------
# The Windows build goes first: the native vexmar-ebc makes its books from
# the viewer the win32 preset cross-builds.
cmd_test() {
  configure_and_build win32
  configure_and_build linux
  configure_and_build linux-asan
  ensure_wine_prefix
  ensure_display
  local failed=0
  log "native suites"
  ctest --preset linux || failed=1
  log "native suites under AddressSanitizer and UndefinedBehaviorSanitizer"
  ctest --preset linux-asan || failed=1
  log "Windows suites under Wine"
  ctest --preset win32 || failed=1
  if [ "$failed" != 0 ]; then
    echo "run.sh: some suites failed" >&2
    exit 1
  fi
  log "every suite passed"
}

cmd_demo() {
  configure_and_build win32
  configure_and_build linux
  tools/demo
}

cmd_gui() {
  configure_and_build win32
  ensure_wine_prefix
  tools/gui
}

cmd_bench() {
  configure_and_build win32
  configure_and_build linux
  ensure_wine_prefix
  tools/bench
}

# The package is built in a tree of its own (out/win32-dist) from what ships
# only, then unpacked into an empty folder and started from there.
cmd_dist() {
  configure_and_build win32-dist
  rm -rf out/dist
  log "packing"
  cpack --config out/win32-dist/CPackConfig.cmake -B out/dist >out/cpack.log 2>&1 || {
    cat out/cpack.log >&2
    echo "run.sh: packing failed (out/cpack.log)" >&2
    exit 1
  }
  rm -rf out/dist/_CPack_Packages
  local zip
  zip=$(ls out/dist/VexmarEbc-*-win32.zip)
  log "made $zip"
  # The check drives the unpacked program with the test build's window probe.
  configure_and_build win32
  ensure_wine_prefix
  tools/check-dist "$zip"
}

cmd_screenshots() {
  configure_and_build win32
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
  ensure_packages
  "cmd_$cmd" "${@:2}"
}

main "$@"
