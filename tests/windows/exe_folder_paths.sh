#!/usr/bin/env bash
# The executable folder of a program started from a drive root and from a path far beyond 260
# characters. Drive letters are links in the Wine prefix, so this test makes them from outside.
set -euo pipefail
probe=$1
. "$(dirname "$0")/../../scripts/env.sh"
work=$(mktemp -d)
drive="$WINEPREFIX/dosdevices/k:"
trap 'rm -rf "$work"; rm -f "$drive"' EXIT
ln -sfn "$work" "$drive"

fail=0
expect() {  # command output, expected
  if [ "$1" != "$2" ]; then echo "FAIL: got '$1', expected '$2'"; fail=1; else echo "ok: $2"; fi
}

cp "$probe" "$work/exe_folder_probe.exe"
expect "$(wine 'k:\exe_folder_probe.exe' | tr -d '\r')" 'K:\|K:\properties.ini'

deep="$work" win='K:'
while [ ${#win} -lt 400 ]; do
  deep="$deep/folder-with-a-long-name-to-pass-260-characters"
  win="$win\\folder-with-a-long-name-to-pass-260-characters"
done
mkdir -p "$deep"
cp "$probe" "$deep/exe_folder_probe.exe"
expect "$(wine "$win\\exe_folder_probe.exe" | tr -d '\r')" "$win\\|$win\\properties.ini"
exit $fail
