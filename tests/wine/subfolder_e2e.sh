#!/usr/bin/env bash
# A web project with folders made into a book by vexmar-ebc.exe --recursive
# --include web under Wine, then read back: /list names its style sheet, script
# and picture, /fetch serves each with its media type and images/logo.gif, and
# /extract and vexmar-ebc extract write IMAGES\LOGO.GIF.
# usage: subfolder_e2e.sh CLI_FOLDER   (vexmar-ebc.exe with dmsfx.dat beside it)
set -uo pipefail
. "$(dirname "$0")/cli_e2e_lib.sh" subfolders

site=$work/site logo=$root/examples/garden/logo.gif
mkdir -p "$site/images/icons" "$site/.drafts" "$site/css" "$site/js"
echo '<link rel="stylesheet" href="css/site.css"><img src="images/logo.gif">' >"$site/index.htm"
cp "$logo" "$site/images/"
cp "$root/examples/garden/leaf.png" "$site/images/icons/"
cp "$root/examples/garden/css/site.css" "$site/css/"
cp "$root/examples/garden/js/menu.js" "$site/js/"
echo '<svg xmlns="http://www.w3.org/2000/svg"><circle r="4"/></svg>' >"$site/images/Logo.SVG"
echo "<p>not yet</p>" >"$site/.drafts/draft.htm"  # a hidden folder
run "$1/vexmar-ebc.exe" new "$(win "$site")" -o "$(win "$work/s.ebc")" --recursive \
  --include web --title S --author A --home index.htm --out-file S
listed='index.htm:images\logo.gif:images\icons\leaf.png:css\site.css:images\Logo.SVG:js\menu.js'
check "new --recursive --include web lists sub-folders after the folder, included kinds last" \
  grep -qxF "$listed" <(tr -d '\r' <"$work/s.ebc")
run "$1/vexmar-ebc.exe" build "$(win "$work/s.ebc")" --yes
book=$site/Output/S.exe
run "$book" /out "$(win "$work/fetched")" /fetch images/logo.gif
check "/fetch images/logo.gif serves IMAGES\\LOGO.GIF" \
  cmp -s <(tail -c "$(stat -c %s "$logo")" "$work/fetched") "$logo"
run "$book" /out "$(win "$work/list")" /list
for file in css/site.css:text/css js/menu.js:text/javascript images/Logo.SVG:image/svg+xml; do
  path=${file%%:*} type=${file#*:} stored=$(echo "$path" | tr 'a-z/' 'A-Z\\')
  check "/list names $stored" grep -qxF "$stored"$'\t'"$(stat -c %s "$site/$path")" \
    <(tr -d '\r' <"$work/list")
  run "$book" /out "$(win "$work/fetched")" /fetch "$path"
  check "/fetch $path gives Content-Type: $type and the file's bytes" eval \
    'grep -qaxF "Content-Type: $type" <(tr -d "\r" <"$work/fetched") &&
     cmp -s <(tail -c "$(stat -c %s "$site/$path")" "$work/fetched") "$site/$path"'
done
run "$book" /extract "$(win "$work/viewer")"
run "$1/vexmar-ebc.exe" extract "$(win "$book")" "$(win "$work/cli")"
for by in viewer cli; do
  check "$by extract writes IMAGES\\ICONS\\LEAF.PNG into folders" \
    cmp -s "$work/$by/IMAGES/ICONS/LEAF.PNG" "$site/images/icons/leaf.png"
done
finish subfolder_e2e
