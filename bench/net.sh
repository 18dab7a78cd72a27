#!/usr/bin/env bash
# A 200 MB body over 127.0.0.1: the connector against a plain WinINet loop (both from a
# server in the benchmark program), and native curl from a Python server as the machine's
# own reference.
set -euo pipefail
[ "${1:-}" = prepare ] && exit 0
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
head -c $((200 * 1024 * 1024)) /dev/zero | tr '\0' 'x' >"$work/big.bin"
head -c 1000 /dev/zero | tr '\0' 's' >"$work/small.bin"
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work" >/dev/null 2>&1 &
server=$!
for i in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/small.bin" && break; sleep 0.1; done
t0=$(date +%s.%N)
curl -s -o "$work/curl.bin" "http://127.0.0.1:$port/big.bin"
t1=$(date +%s.%N)
curl_rate=$(python3 -c "print(200 / ($t1 - $t0))")
rm -f "$work/curl.bin"
out=$(wine "$BUILD/bin/net_bench.exe" | tr -d '\r')
echo "$out" | grep -v '^RESULT'
set -- $(echo "$out" | grep '^RESULT')
printf 'native curl -o: %.0f MB/s (the machine'"'"'s own reference; connector / curl %.2f)\n' "$curl_rate" \
  "$(python3 -c "print($3 / $curl_rate)")"
echo "throughput ratio connector / plain WinINet loop: $7"
