#!/usr/bin/env bash
# Builds Kestrune, lays out the sample disc (build/disc-win64 runs here, build/disc-win32 ships)
# and shows the launcher on it: on your desktop when there is one, otherwise inside Xvfb, where a
# screenshot of the window is saved to build/screenshots/launcher.png.
set -euo pipefail
. "$(dirname "$0")/env.sh"
cd "$KESTRUNE_ROOT"
scripts/setup.sh
scripts/build.sh

disc="$KESTRUNE_BUILD/disc-win64"
log="$WINEPREFIX/drive_c/windows/temp/RORadovi.log"
if [ -n "${DISPLAY:-}" ]; then
  echo "run: Kestrune.exe on $disc (close the window to end)"
  set +e; wine "$disc/Kestrune.exe"; code=$?; set -e
else
  mkdir -p "$KESTRUNE_BUILD/screenshots"
  shot="$KESTRUNE_BUILD/screenshots/launcher.png"
  echo "run: no display; running Kestrune.exe on $disc inside Xvfb"
  set +e
  xvfb-run -a -s "-screen 0 1280x1024x24" "$KESTRUNE_ROOT/scripts/screenshot.sh" \
    "$disc/Kestrune.exe" "Kestrune LX-200 Series" "$shot"
  code=$?
  set -e
  [ -f "$shot" ] && echo "run: screenshot of the launcher window saved to $shot"
fi
wineserver -w
echo "run: exit code $code; the log is $log (C:\\windows\\Temp\\RORadovi.log in the Wine prefix); its last entries:"
tail -n 25 "$log" | tr -d '\r'
