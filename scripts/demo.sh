#!/usr/bin/env bash
# Sets everything up on Debian 12, fills a demo back office and starts the terminal on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

demo="$root/.demo"
cluster="$demo/pg"
terminal="$demo/terminal"
port=54320
mkdir -p "$demo" "$terminal"
chmod 755 "$demo"

# The back office: a private cluster on loopback with a password login for the terminal.
if ! "$root/scripts/pg-cluster.sh" status "$cluster" 2>/dev/null; then
  PGCLUSTER_AUTH=scram-sha-256 PGCLUSTER_PASSWORD=postgres "$root/scripts/pg-cluster.sh" start "$cluster" "$port"
fi
psql() { PGPASSWORD=postgres command psql -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres "$@"; }
if ! psql -d postgres -tAc "select 1 from pg_database where datname='posdemo'" | grep -q 1; then
  psql -d postgres -c "create role pos login password 'pos'" 2>/dev/null || true
  psql -d postgres -c "create database msdb owner pos" -c "create database posdemo owner pos"
  psql -d msdb -f "$root/sql/server/registry.sql"
  psql -d msdb -v accountset=posdemo -f "$root/sql/demo/registry_data.sql"
  psql -d posdemo -f "$root/sql/server/accountset.sql"
  psql -d posdemo -f "$root/sql/demo/accountset_data.sql"
  for db in msdb posdemo; do
    psql -d "$db" -c "grant all on all tables in schema public to pos" -c "grant all on all sequences in schema public to pos" -c "grant all on schema public to pos"
  done
fi

# The terminal directory: server login filled in (password "pos", stored scrambled),
# the receipt printer writing to a file.
if [ ! -f "$terminal/POS.ini" ]; then
  {
    printf '[Connection]\r\nServerName=127.0.0.1:%s\r\nLoginName=pos\r\nLoginPwd=*5)\r\n\r\n' "$port"
    printf '[Options]\r\nWindowTitle=惠民超市 前台收银\r\n\r\n'
    printf '[Ports]\r\nLPT1=%s\r\n' "$terminal/printer-LPT1.txt"
  } | iconv -f UTF-8 -t GBK > "$terminal/POS.ini"
fi

cat <<INFO
Demo back office on 127.0.0.1:$port (databases msdb and posdemo); terminal files in $terminal.
  Enrol this terminal with POS number 01 (or 02).
  Sign on: cashier 1001 / password 1001 (no rights), supervisor 9999 / password 9999 (every right).
  Shifts: 早班, 中班, 晚班.
  Try bar codes 6923450000182 (promotion), 6923450000465 (special price), 16923450000165 (package),
  search code KL, label 2410001006402 (price-embedded); member cards 8800000001..8800000008;
  coupons 7700001..7700004.
INFO

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM="vnc:size=1280x800"
  echo "No display found: the terminal is served over VNC; connect a VNC viewer to localhost:5900."
fi
POS_HOME="$terminal" exec "$root/build/src/pos"
