# What the vexmar-ebc.exe scenarios under Wine share: a work folder removed
# at the end, Windows paths, running a program with a time limit, and the
# ok/FAIL tally. Sourced with the folder's name: . cli_e2e_lib.sh NAME
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "/tmp/vexmar-$1.XXXXXX")
trap 'rm -rf "$work"' EXIT
win() { echo "Z:${1//\//\\}"; }
run() { VEXMAR_WINE_TIMEOUT=60 "$root/tools/wine-run" "$@" 2>>"$work/stderr" >/dev/null; }
failures=0
check() { "${@:2}" && echo "ok: $1" || { echo "FAIL: $1 ($(tail -5 "$work/stderr" 2>/dev/null))"; failures=$((failures + 1)); }; }
finish() { [ "$failures" = 0 ] && echo "$1: every check passed" || exit 1; }
