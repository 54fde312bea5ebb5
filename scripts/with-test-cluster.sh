#!/usr/bin/env bash
# Sets everything up on Debian 12, then runs the given command with a private PostgreSQL
# cluster on a random loopback port, named to it by POS_TEST_PGHOST and POS_TEST_PGUSER.
# The cluster is stopped and removed when the command ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

cluster=$(mktemp -d /tmp/pos-test-pg.XXXXXX)
chmod 755 "$cluster"
port=$(( 41000 + RANDOM % 20000 ))
trap '"$root/scripts/pg-cluster.sh" stop "$cluster"; rm -rf "$cluster"' EXIT
"$root/scripts/pg-cluster.sh" start "$cluster" "$port"

export POS_TEST_PGHOST="127.0.0.1:$port" POS_TEST_PGUSER=postgres
"$@"
