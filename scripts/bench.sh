#!/usr/bin/env bash
# Sets everything up on Debian 12 and runs the scan and save benchmark against a private
# PostgreSQL cluster. Arguments go to the benchmark (the number of goods, default a million).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

cluster=$(mktemp -d /tmp/pos-bench-pg.XXXXXX)
chmod 755 "$cluster"
port=$(( 41000 + RANDOM % 20000 ))
trap '"$root/scripts/pg-cluster.sh" stop "$cluster"; rm -rf "$cluster"' EXIT
"$root/scripts/pg-cluster.sh" start "$cluster" "$port"

cmake --build "$root/build" --target bench_scan_and_save
export POS_TEST_PGHOST="127.0.0.1:$port" POS_TEST_PGUSER=postgres
"$root/build/benchmarks/bench_scan_and_save" "$@"
