#!/usr/bin/env bash
# The player's journey through the whole program: pelora-headless against a
# pelora_demo_server process on a free port, first run then second run, with
# the results checked from the outside (journal, server request log, app home).
#   check-journey.sh CLIENT SERVER BUNDLE_DIR JOURNEY_DIR
set -uo pipefail
client=$1 server=$2 bundle=$3 journey=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/pelora-journey.XXXXXX")
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill -TERM "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
show() { echo "--- $1"; cat "$1"; }

# The loading picture and the later archives come a little late, so the
# loading mark and each gauge step get ticks of the loading screen of their own.
"$server" --port 0 --log "$work/server.log" \
  --delay /img/php/app_dl_img_all.php=800 \
  --delay /resource/download/zip/pelora_base_02.zip=250 \
  --delay /resource/download/zip/pelora_base_03.zip=250 >"$work/server.out" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's|^demo-server: listening on http://127\.0\.0\.1:\([0-9][0-9]*\)$|\1|p' "$work/server.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { show "$work/server.out"; echo "FAIL: the demo server did not start"; exit 1; }
host=127.0.0.1:$port
mkdir -p "$work/home" "$work/shots"

run() {
  (cd "$work/shots" && "$client" --fetch --app-host="$host" --download-host="$host" --bundle-dir="$bundle" \
     --home="$work/home" "$1") >"$2" 2>&1
}

if ! run "$journey/first-run.scn" "$work/first.log"; then
  show "$work/first.log"; show "$work/server.log"; echo "FAIL: the first run stopped"; exit 1
fi
first_requests=$(wc -l <"$work/server.log")

# The three archives were fetched once each and every entry of theirs recorded.
for name in pelora_base_01 pelora_base_02 pelora_base_03; do
  n=$(grep -c "\"path\":\"/resource/download/zip/$name.zip\"" "$work/server.log")
  [ "$n" = 1 ] || fail "$name.zip requested $n times"
done
records="$work/home/Library/Caches/localDownloadData.txt"
for id in b01 b02 b03a b03b; do
  grep -q "^$id	" "$records" 2>/dev/null || fail "no install record for $id"
done

# The download page's gauge went 33, 66, 100, in that order.
gauges=$(sed -n 's/^screen 4 \([0-9]*\)$/\1/p' "$work/first.log" | grep -v '^0$' | tr '\n' ' ')
[ "$gauges" = "33 66 100 " ] || fail "gauge steps \"$gauges\", wanted \"33 66 100 \""
grep -q '^screen 3 ' "$work/first.log" || fail "the loading mark never showed"

# The home page came from the server, asked for with the client's user agent.
home_line=$(grep '"path":"/"' "$work/server.log" | head -n 1)
[ -n "$home_line" ] || fail "the home page was never requested"
case "$home_line" in
  *'"user_agent":"'*'/TARVEL_UA/iPhone/PELORA_ver01:'*) ;;
  *) fail "home page requested without the client's user agent: $home_line" ;;
esac
grep -q "^load GET http://$host/$" "$work/first.log" || fail "the web view never loaded http://$host/"
for shot in 01-logo 02-caution 03-title 04-loading 05-download 06-start-button 07-home; do
  [ -s "$work/shots/$shot.png" ] || fail "no screenshot $shot.png"
done

# A second run finds everything installed: nothing is downloaded, the title
# tap leads straight to the home page.
if ! run "$journey/second-run.scn" "$work/second.log"; then
  show "$work/second.log"; echo "FAIL: the second run stopped"; exit 1
fi
tail -n +"$((first_requests + 1))" "$work/server.log" >"$work/second-requests.log"
grep -q '/resource/download/zip/' "$work/second-requests.log" && fail "the second run downloaded archives again"
grep -q '"path":"/app_dl_list.php"' "$work/second-requests.log" || fail "the second run never checked the list"
grep -q '"path":"/"' "$work/second-requests.log" || fail "the second run never asked for the home page"
grep -q '^screen 4 ' "$work/second.log" && fail "the second run showed the download page"

if [ "$failures" -ne 0 ]; then
  show "$work/first.log"; show "$work/second.log"; show "$work/server.log"
  exit 1
fi
echo "journey ok: archives 3, gauge ${gauges% }, second run downloaded nothing"
