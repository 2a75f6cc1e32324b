#!/usr/bin/env bash
# One project built twice, a day apart on a faked clock: with the same
# SOURCE_DATE_EPOCH the two books are the same bytes; without it each
# carries the day it was built on, which shows the fake clock reached the
# program.
# usage: two_days_apart_test.sh VEXMAR-EBC   (with dmsfx.dat beside it)
set -uo pipefail
cli=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v faketime >/dev/null || { echo "skipped: faketime is not installed"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vexmar-two-days.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The faked clock is preloaded, ahead of the sanitizers' runtime in their build.
export TZ=UTC ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
cp -r "$root/examples/garden" "$work/garden"
mkdir "$work/out"
"$cli" new "$work/garden" -o "$work/garden.ebc" --title Garden --author A --home index.htm \
  --out-folder "$work/out" --out-file Garden >/dev/null || exit 1

# build_on DAY NAME: builds at noon of DAY and keeps the book as NAME.exe.
build_on() {
  faketime "$1 12:00:00" "$cli" build "$work/garden.ebc" --yes >"$work/$2.log" 2>&1 ||
    { cat "$work/$2.log"; exit 1; }
  mv "$work/out/Garden.exe" "$work/$2.exe"
}
date_of() { "$cli" inspect "$work/$1.exe" | sed -n 's/^build date: *//p'; }
failures=0
check() { "${@:2}" && echo "ok: $1" || { echo "FAIL: $1"; failures=$((failures + 1)); }; }
dated() { [ "$(date_of "$1")" = "$2" ]; }

SOURCE_DATE_EPOCH=1773446400 build_on 2026-03-20 first  # the epoch is 2026-03-14
SOURCE_DATE_EPOCH=1773446400 build_on 2026-03-21 second
check "with SOURCE_DATE_EPOCH, two builds a day apart give the same bytes" \
  cmp "$work/first.exe" "$work/second.exe"
check "the book is dated by SOURCE_DATE_EPOCH" dated second 3/14/2026
build_on 2026-03-20 day1
build_on 2026-03-21 day2
check "without it, the first book carries the faked day" dated day1 3/20/2026
check "and the second book the day after" dated day2 3/21/2026
[ "$failures" = 0 ]
