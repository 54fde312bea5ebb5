#!/usr/bin/env bash
# Sets everything up on Debian 12 and runs every benchmark against a private PostgreSQL
# cluster at each catalogue size (default 10,000, 100,000 and 1,000,000 goods, or the
# sizes given), collecting one table in bench-results/results.csv and its plot in
# bench-results/p95.png.
#
#     scripts/bench.sh                 # all three sizes: allow an hour on a small machine
#     scripts/bench.sh 10000 100000    # the sizes given
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${POS_TEST_PGHOST:-}" ]; then
  exec "$root/scripts/with-test-cluster.sh" "$0" "$@"
fi

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000 1000000)
out="$root/bench-results"
mkdir -p "$out"
rm -f "$out/results.csv"
export QT_QPA_PLATFORM=offscreen

programs=(bench_scan_and_save bench_register_keys bench_download bench_upload bench_startup)
{
  echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/ {print $2}') GB"
  echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee "$out/machine.txt"
for goods in "${sizes[@]}"; do
  for program in "${programs[@]}"; do
    echo "== $program, $goods goods"
    "$root/build/benchmarks/$program" --csv "$out/results.csv" "$goods"
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$out/machine.txt"
"$root/build/benchmarks/bench_plot" "$out/results.csv" "$out/p95.png"
echo "table: $out/results.csv, plot: $out/p95.png"
