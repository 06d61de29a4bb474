#!/usr/bin/env bash
# pelora-headless ends by itself, with status 1 and the failed step's line,
# when a scenario fails while the first run waits for the start button.
#   check-stop.sh CLIENT SERVER BUNDLE_DIR JOURNEY_DIR
set -uo pipefail
client=$1 server=$2 bundle=$3 journey=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/pelora-stop.XXXXXX")
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill -TERM "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$server" --port 0 >"$work/server.out" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's|^demo-server: listening on http://127\.0\.0\.1:\([0-9][0-9]*\)$|\1|p' "$work/server.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { cat "$work/server.out"; echo "FAIL: the demo server did not start"; exit 1; }
host=127.0.0.1:$port

start=$(date +%s)
timeout 60 "$client" --fetch --app-host="$host" --download-host="$host" --bundle-dir="$bundle" \
  "$journey/stop-at-start-button.scn" >"$work/run.log" 2>&1
rc=$?
elapsed=$(( $(date +%s) - start ))
if [ "$rc" = 124 ]; then cat "$work/run.log"; echo "FAIL: the client did not end (killed after 60 s)"; exit 1; fi
if [ "$rc" != 1 ]; then cat "$work/run.log"; echo "FAIL: exit status $rc, wanted 1"; exit 1; fi
grep -q '^error line 8: no alert within 1 ms$' "$work/run.log" || { cat "$work/run.log"; echo "FAIL: no error line"; exit 1; }
echo "stop ok: ended with status 1 after $elapsed s"
