#!/usr/bin/env bash
# Sets everything up on Debian 12 and runs all tests against a private PostgreSQL cluster.
# Arguments go to ctest (for instance -R GoodsLookup).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen
exec "$root/scripts/with-test-cluster.sh" ctest --test-dir "$root/build" --output-on-failure -j2 --timeout 600 "$@"
