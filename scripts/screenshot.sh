#!/usr/bin/env bash
# Inside an X display: starts a Windows program, waits for its window by title, saves a screenshot
# of the screen, then presses Escape in the window. Exits with the program's exit code.
set -uo pipefail
. "$(dirname "$0")/env.sh"
exe=$1 title=$2 shot=$3
wine "$exe" &
pid=$!
window=
for _ in $(seq 1 60); do
  window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "screenshot: no window titled '$title' appeared" >&2
  kill "$pid" 2>/dev/null
  exit 1
fi
sleep 1.5   # let it paint
import -window root "$shot"
xdotool windowactivate --sync "$window" key Escape 2>/dev/null || xdotool key Escape
wait "$pid"
