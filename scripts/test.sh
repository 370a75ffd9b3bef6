#!/usr/bin/env bash
# Every test: installs what is missing, builds all four trees (native with sanitizers, x86_64
# Windows, i686 Windows, libFuzzer) and runs the native tests, the Windows tests under wine64
# (inside Xvfb, for the windows they open) and a bounded fuzz run. Fails when any of them fails.
set -euo pipefail
. "$(dirname "$0")/env.sh"
cd "$KESTRUNE_ROOT"
start=$(date +%s)

scripts/setup.sh
scripts/build.sh

# The shipped product must exist for the i686 target as well: it is linked, never run here.
for exe in Kestrune.exe; do
  f="$KESTRUNE_BUILD/win32/src/app/$exe"
  file "$f" | grep -q 'PE32 executable' || { echo "test: $f is not a PE32 executable" >&2; exit 1; }
done

status=0
run() {  # tree, ctest arguments...
  local tree=$1; shift
  echo "test: $tree"
  (cd "$KESTRUNE_BUILD/$tree" && ctest --output-on-failure --timeout 600 "$@") || status=1
}
run native
run fuzz
echo "test: win64 (wine64 in Xvfb)"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash -c 'cd "$1" && ctest --output-on-failure --timeout 600' _ "$KESTRUNE_BUILD/win64" || status=1
wineserver -k 2>/dev/null || true

echo "test: finished in $(( $(date +%s) - start )) s, $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
