#!/usr/bin/env bash
# Sets everything up on Debian 12 and runs the scan and save benchmark against a private
# PostgreSQL cluster. Arguments go to the benchmark (the number of goods, default a million).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/with-test-cluster.sh" "$root/build/benchmarks/bench_scan_and_save" "$@"
