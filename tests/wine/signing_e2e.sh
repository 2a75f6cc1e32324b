#!/usr/bin/env bash
# Authenticode under Wine: a book of a signed stub has no (now broken)
# certificate table; the book signed by osslsigncode with a certificate made
# here verifies (the certificate is passed as its own trusted root), a
# changed byte breaks that, and the signed book still lists, verifies and
# serves.
# usage: signing_e2e.sh CLI_FOLDER   (vexmar-ebc.exe with dmsfx.dat beside it)
set -uo pipefail
command -v osslsigncode >/dev/null && command -v openssl >/dev/null || exit 77
. "$(dirname "$0")/cli_e2e_lib.sh" signing
sign() { osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$1" -out "$2" >>"$work/stderr" 2>&1; }
verified() { osslsigncode verify -in "$1" -CAfile "$work/cert.pem" -ignore-cdp >>"$work/stderr" 2>&1; }
unsigned() { /usr/bin/python3 -c 'import pefile, sys
sys.exit(pefile.PE(sys.argv[1]).OPTIONAL_HEADER.DATA_DIRECTORY[4].Size != 0)' "$1"; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" \
  -days 2 -subj "/CN=Vexmar signing test" 2>>"$work/stderr"
cp -r "$root/examples/garden" "$work/garden"
sign "$1/dmsfx.dat" "$work/signed-stub.dat"
check "the signed stub verifies" verified "$work/signed-stub.dat"
run "$1/vexmar-ebc.exe" new "$(win "$work/garden")" -o "$(win "$work/g.ebc")" --title Garden \
  --author A --home index.htm --out-folder "$(win "$work")" --out-file Garden
run "$1/vexmar-ebc.exe" build "$(win "$work/g.ebc")" --yes --stub "$(win "$work/signed-stub.dat")" \
  --icon "$(win "$root/src/viewer/viewer.ico")"
check "a book of a signed stub carries no certificate table" unsigned "$work/Garden.exe"
sign "$work/Garden.exe" "$work/Signed.exe"
check "the signed book verifies" verified "$work/Signed.exe"
cp "$work/Signed.exe" "$work/Changed.exe"
printf X | dd of="$work/Changed.exe" bs=1 seek=100000 conv=notrunc 2>/dev/null
check "a changed byte breaks the signature" eval '! verified "$work/Changed.exe"'
run "$work/Signed.exe" /out "$(win "$work/list")" /list
check "the signed book lists its files" grep -q "^INDEX.HTM	" <(tr -d '\r' <"$work/list")
run "$work/Signed.exe" /out "$(win "$work/verify")" /verify
check "the signed book proves itself whole" grep -q "^ok [0-9]* entries$" <(tr -d '\r' <"$work/verify")
run "$work/Signed.exe" /out "$(win "$work/page")" /fetch index.htm
check "the signed book serves its home page" cmp -s <(tail -c "$(stat -c %s "$work/garden/index.htm")" "$work/page") "$work/garden/index.htm"
finish signing_e2e
