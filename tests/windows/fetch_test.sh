#!/usr/bin/env bash
# fetch.exe under Wine against the Linux tests' local server (tests/tools/fetch_server.py), with a
# collection sample file pinned as the collection lists it: stored over plain HTTP; a changed byte
# and a self-signed certificate refused, with nothing left. Run by scripts/test-windows, in Wine's
# prefix (WINEPREFIX) and a scratch folder.
# Usage: fetch_test.sh FETCH_EXE SHARED_FOLDER
set -uo pipefail
fetch=$1
shared=$2
here=$(dirname "$0")
path=tnt.wad/1.9-to-anthology.vcdiff
read -r size sha256 < <(awk -F'\t' -v path="$path" '$1 == path { print $2, $3 }' "$shared/collection-files.tsv")
# The proxies the system may name are not for the local server.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
ports=$(mktemp)
python3 "$here/../tools/fetch_server.py" "$shared/collection-sample" > "$ports" &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$ports"' EXIT
for _ in $(seq 100); do [[ -s "$ports" ]] && break; sleep 0.2; done
read -r http https < "$ports"
failures=0
# SOURCE, the status expected, a word of what it says, and the file the folder then holds.
while read -r source status word held; do
  said=$(timeout -k 10 120 wine "$fetch" "$source" 'patches\tnt.wad\t.vcdiff' "$size" "$sha256" 2>&1 >/dev/null | tr -d '\r')
  got=$?
  files=$(find patches -type f 2>/dev/null | tr '\n' ' ')
  if [[ $got != "$status" || "${files% }" != "$held" || "$said" != *"${word#-}"* ]] || { ((status == 0)) && ! cmp -s "$shared/collection-sample/$path" patches/tnt.wad/t.vcdiff; }; then
    echo "FAILED: fetch.exe $source: status $got, holds '${files% }': $said"
    failures=$((failures + 1))
  else
    echo "ok: fetch.exe $source: status $got${said:+: $said}"
  fi
  rm -rf patches
done <<EOF_CASES
http://127.0.0.1:$http/good/$path 0 - patches/tnt.wad/t.vcdiff
http://127.0.0.1:$http/changed/$path 1 SHA-256
https://127.0.0.1:$https/good/$path 2 certificate
EOF_CASES
((failures == 0))
