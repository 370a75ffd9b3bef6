#!/usr/bin/env bash
# Starts or stops the loopback test server for one build tree: server.sh start|stop STATE_DIR
set -euo pipefail
action=$1 state=$2
mkdir -p "$state/serve"
case "$action" in
  start)
    if [ -f "$state/server.pid" ] && kill -0 "$(cat "$state/server.pid")" 2>/dev/null; then exit 0; fi
    rm -f "$state/server.port"
    nohup python3 "$(dirname "$0")/test_server.py" --root "$state/serve" --port-file "$state/server.port" \
      >"$state/server.log" 2>&1 &
    echo $! >"$state/server.pid"
    for _ in $(seq 1 50); do [ -s "$state/server.port" ] && exit 0; sleep 0.1; done
    echo "server.sh: the test server did not start; see $state/server.log" >&2
    exit 1 ;;
  stop)
    [ -f "$state/server.pid" ] && kill "$(cat "$state/server.pid")" 2>/dev/null || true
    rm -f "$state/server.pid" ;;
esac
