#!/usr/bin/env bash
# Sets everything up on Debian 12 and runs all tests against a private PostgreSQL cluster.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

cluster=$(mktemp -d /tmp/pos-test-pg.XXXXXX)
chmod 755 "$cluster"
port=$(( 41000 + RANDOM % 20000 ))
trap '"$root/scripts/pg-cluster.sh" stop "$cluster"; rm -rf "$cluster"' EXIT
"$root/scripts/pg-cluster.sh" start "$cluster" "$port"

export POS_TEST_PGHOST="127.0.0.1:$port" POS_TEST_PGUSER=postgres QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j2 --timeout 600 "$@"
