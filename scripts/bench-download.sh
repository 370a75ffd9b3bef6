#!/usr/bin/env bash
# Download benchmark (not a test): serves a package on loopback and fetches it once with curl and
# once through the 64-bit launcher under wine64 (accept the update; the package is then rejected
# by verification and the disc installer runs). Prints seconds and MiB/s of each, their ratio, and
# the launcher's working set while idle and at its largest during the transfer.
#   scripts/bench-download.sh [MiB [RATE]]   (default 512 MiB, served as fast as possible; RATE in
#                                            MiB/s has the server send RATE MiB, then pause a second)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mib=${1:-512}
rate=${2:-}
bytes=$((mib * 1048576))
source "$root/scripts/env.sh"
[ -f "$KESTRUNE_BUILD/win64/tests/download_bench.exe" ] || "$root/scripts/build.sh"

state=$KESTRUNE_BUILD/win64/tests/server-state
work=$(mktemp -d)
cleanup() {
  "$root/tests/server/server.sh" stop "$state"
  rm -rf "$work" "$state/serve/bench.bin"
}
trap cleanup EXIT
"$root/tests/server/server.sh" start "$state"
head -c "$bytes" /dev/urandom >"$state/serve/bench.bin"
url="http://127.0.0.1:$(cat "$state/server.port")/files/bench.bin"
[ -z "$rate" ] || url="$url?rate=$((rate * 1048576))"

curl_seconds=$(curl -sS -o "$work/curl.bin" -w '%{time_total}' "$url")
[ "$(stat -c %s "$work/curl.bin")" = "$bytes" ] || { echo "bench: curl fetched a short file" >&2; exit 1; }
rm -f "$work/curl.bin"

launcher=$(xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/wine-run" "$KESTRUNE_BUILD/win64/tests/download_bench.exe" "$bytes" "$url" | grep '^launcher_')
eval "$launcher"

python3 - "$mib" "$curl_seconds" "$launcher_seconds" "$launcher_idle_mib" "$launcher_offered_mib" \
  "$launcher_peak_mib" $rate <<'PY'
import sys
mib, curl_s, launcher_s, idle, offered, peak = float(sys.argv[1]), *map(float, sys.argv[2:7])
curl_rate, launcher_rate = mib / curl_s, mib / launcher_s
print(f"package            {mib:.0f} MiB" + (f", served at {sys.argv[7]} MiB/s" if len(sys.argv) > 7 else ""))
print(f"curl               {curl_s:8.3f} s  {curl_rate:8.1f} MiB/s")
print(f"launcher           {launcher_s:8.3f} s  {launcher_rate:8.1f} MiB/s")
print(f"throughput ratio   {launcher_rate / curl_rate:8.3f}  (target >= 0.9)")
print(f"launcher memory    idle {idle:.1f} MiB, peak during transfer {peak:.1f} MiB, "
      f"+{peak - idle:.1f} MiB  (target <= 8)")
print(f"                   of which the update check before the download (manifest, question) "
      f"+{offered - idle:.1f} MiB, the download +{peak - offered:.1f} MiB")
PY
