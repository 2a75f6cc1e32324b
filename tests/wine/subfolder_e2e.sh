#!/usr/bin/env bash
# A web project with a pictures folder, made into a book by vexmar-ebc.exe
# under Wine with --recursive (the Win32 folder listing), then read back by
# the book itself: the picture its page shows as images/logo.gif is served
# by /fetch, and /extract writes it into the folder IMAGES.
#
# usage: subfolder_e2e.sh CLI_FOLDER   (vexmar-ebc.exe with dmsfx.dat beside it)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli_folder=$1
work=$(mktemp -d /tmp/vexmar-subfolders.XXXXXX)
trap 'rm -rf "$work"' EXIT
windows_path() { echo "Z:${1//\//\\}"; }
run() { VEXMAR_WINE_TIMEOUT=60 "$root/tools/wine-run" "$@" 2>>"$work/stderr" | tr -d '\r'; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

site="$work/site"
mkdir -p "$site/images/icons" "$site/.drafts"
printf '<html><body><img src="images/logo.gif" alt=""></body></html>' >"$site/index.htm"
cp "$root/examples/garden/logo.gif" "$site/images/logo.gif"
cp "$root/examples/garden/leaf.png" "$site/images/icons/leaf.png"
echo "<p>not yet</p>" >"$site/.drafts/draft.htm"  # a hidden folder, under Wine too

run "$cli_folder/vexmar-ebc.exe" new "$(windows_path "$site")" -o "$(windows_path "$work/site.ebc")" \
  --recursive --title Site --author A --home index.htm --out-file Site >/dev/null
list=$(sed -n 6p "$work/site.ebc" 2>/dev/null | tr -d '\r')
[ "$list" = 'index.htm:images\logo.gif:images\icons\leaf.png' ] &&
  pass "new --recursive lists the sub-folders' files after the top folder's: $list" ||
  fail "new --recursive listed \"$list\" ($(cat "$work/stderr"))"

run "$cli_folder/vexmar-ebc.exe" build "$(windows_path "$work/site.ebc")" --yes >/dev/null
book="$site/Output/Site.exe"
[ -f "$book" ] && pass "the book is made" || fail "no book was made ($(cat "$work/stderr"))"

run "$book" /out "$(windows_path "$work/fetched")" /fetch images/logo.gif
size=$(stat -c %s "$site/images/logo.gif")
grep -q '^Content-Type: image/gif' "$work/fetched" 2>/dev/null &&
  tail -c "$size" "$work/fetched" | cmp -s - "$site/images/logo.gif" &&
  pass "/fetch images/logo.gif serves the picture of the sub-folder" ||
  fail "/fetch images/logo.gif gave: $(head -c 200 "$work/fetched" 2>/dev/null)"

run "$book" /out "$(windows_path "$work/extract.txt")" /extract "$(windows_path "$work/extracted")"
cmp -s "$work/extracted/IMAGES/LOGO.GIF" "$site/images/logo.gif" &&
  cmp -s "$work/extracted/IMAGES/ICONS/LEAF.PNG" "$site/images/icons/leaf.png" &&
  pass "/extract writes the files of sub-folders into folders" ||
  fail "/extract wrote: $(cd "$work/extracted" 2>/dev/null && find . | tr '\n' ' ')"

[ "$failures" = 0 ] && { echo "subfolder_e2e: every check passed"; exit 0; }
echo "subfolder_e2e: $failures check(s) failed"
exit 1
