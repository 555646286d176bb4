#!/usr/bin/env bash
# Download benchmark: serves 64 MiB and 256 MiB files from a bench-only folder
# with the demo server on a free loopback port, then runs download_bench
# (DownloadTask against curl in the same run).
#   bench/download_bench.sh NATIVE_BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: download_bench.sh NATIVE_BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
bench=$build/bench/download_bench
server=${DEMO_SERVER:-$build/tools/demo-server}
[ -x "$server" ] || server=$here/../out/demo-server
[ -x "$bench" ] || { echo "download_bench not built in $build" >&2; exit 1; }
[ -x "$server" ] || { echo "demo-server not found (build target demo-server)" >&2; exit 1; }

root=$build/bench-site
out=$build/bench-out
mkdir -p "$root" "$out"
files=()
for mib in 64 256; do
  f=file-${mib}MiB.bin
  if [ "$(stat -c %s "$root/$f" 2>/dev/null || echo 0)" != $((mib * 1024 * 1024)) ]; then
    head -c $((mib * 1024 * 1024)) /dev/urandom > "$root/$f"
  fi
  files+=("$f")
done

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$server" --root "$root" --host 127.0.0.1 --port "$port" >/dev/null 2>&1 &
server_pid=$!
trap 'kill $server_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  curl -s -o /dev/null "http://127.0.0.1:$port/${files[0]}" -r 0-0 && break
  sleep 0.1
done

"$bench" "http://127.0.0.1:$port" "$out" "${files[@]}"
