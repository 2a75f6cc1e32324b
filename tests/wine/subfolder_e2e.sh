#!/usr/bin/env bash
# A project with folders made into a book by vexmar-ebc.exe --recursive
# under Wine, then read back: the book's /fetch serves its page's
# images/logo.gif, and /extract and vexmar-ebc extract write IMAGES\LOGO.GIF.
# usage: subfolder_e2e.sh CLI_FOLDER   (vexmar-ebc.exe with dmsfx.dat beside it)
set -uo pipefail
. "$(dirname "$0")/cli_e2e_lib.sh" subfolders

site=$work/site logo=$root/examples/garden/logo.gif
mkdir -p "$site/images/icons" "$site/.drafts"
echo '<img src="images/logo.gif">' >"$site/index.htm"
cp "$logo" "$site/images/"
cp "$root/examples/garden/leaf.png" "$site/images/icons/"
echo "<p>not yet</p>" >"$site/.drafts/draft.htm"  # a hidden folder
run "$1/vexmar-ebc.exe" new "$(win "$site")" -o "$(win "$work/s.ebc")" --recursive --title S \
  --author A --home index.htm --out-file S
check "new --recursive lists the files of sub-folders after the folder's own" \
  grep -qxF 'index.htm:images\logo.gif:images\icons\leaf.png' <(tr -d '\r' <"$work/s.ebc")
run "$1/vexmar-ebc.exe" build "$(win "$work/s.ebc")" --yes
book=$site/Output/S.exe
run "$book" /out "$(win "$work/fetched")" /fetch images/logo.gif
check "/fetch images/logo.gif serves IMAGES\\LOGO.GIF" \
  cmp -s <(tail -c "$(stat -c %s "$logo")" "$work/fetched") "$logo"
run "$book" /extract "$(win "$work/viewer")"
run "$1/vexmar-ebc.exe" extract "$(win "$book")" "$(win "$work/cli")"
for by in viewer cli; do
  check "$by extract writes IMAGES\\ICONS\\LEAF.PNG into folders" \
    cmp -s "$work/$by/IMAGES/ICONS/LEAF.PNG" "$site/images/icons/leaf.png"
done
finish subfolder_e2e
