#!/usr/bin/env bash
# Builds Kestrune and runs its start-up on the sample disc: the diagnostic log, the banner and the
# two loads of properties.ini. Prints where the log went and what it holds.
set -euo pipefail
. "$(dirname "$0")/env.sh"
cd "$KESTRUNE_ROOT"
scripts/setup.sh
scripts/build.sh

disc="$KESTRUNE_BUILD/disc-win64"
mkdir -p "$disc"
cp "$KESTRUNE_BUILD/win64/src/app/Kestrune.exe" samples/properties.ini "$disc/"
echo "run: Kestrune.exe on $disc"
set +e
wine "$disc/Kestrune.exe" | tr -d '\r'
code=${PIPESTATUS[0]}
set -e
wineserver -w
log="$WINEPREFIX/drive_c/windows/temp/RORadovi.log"
echo "run: exit code $code; the log is $log (C:\\windows\\Temp\\RORadovi.log in the Wine prefix); its last entries:"
tail -n 40 "$log" | tr -d '\r'
