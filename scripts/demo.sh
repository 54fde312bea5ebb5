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
# the receipt printer and the drawer writing to a file, the customer display on a
# pseudo-terminal whose bytes are kept in a file.
if [ ! -f "$terminal/POS.ini" ]; then
  {
    printf '[Connection]\r\nServerName=127.0.0.1:%s\r\nLoginName=pos\r\nLoginPwd=*5)\r\n\r\n' "$port"
    printf '[Options]\r\nWindowTitle=惠民超市 前台收银\r\n'
    printf 'Printer=有\r\nPrintMode=整张快速打印\r\nPrintPort=LPT1\r\nPaperSize=75mm\r\nCharNum=41\r\n'
    printf 'MoneyBox=有\r\nMoneyBoxConn=接打印机\r\nOpenMoneyBox=27-112-0-50-250\r\n'
    printf 'ClientDisplay=有\r\nDispType=LED11\r\nDispPort=COM1\r\n\r\n'
    printf '[Ports]\r\nLPT1=%s\r\nCOM1=%s\r\n' "$terminal/printer-LPT1.txt" "$terminal/display-COM1"
  } | iconv -f UTF-8 -t GBK > "$terminal/POS.ini"
fi

# The pole display: a pseudo-terminal at display-COM1, its bytes appended to
# display-COM1.bytes (reopened whenever the terminal lets the port go).
( while :; do
    socat -u pty,raw,echo=0,link="$terminal/display-COM1" OPEN:"$terminal/display-COM1.bytes",creat,append 2>/dev/null || sleep 1
  done ) &
display_pid=$!
trap 'kill $display_pid 2>/dev/null; pkill -f "link=$terminal/display-COM1" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$terminal/display-COM1" ] && break; sleep 0.1; done

cat <<INFO
Demo back office on 127.0.0.1:$port (databases msdb and posdemo); terminal files in $terminal.
  Enrol this terminal with POS number 01 (or 02).
  Sign on: cashier 1001 / password 1001 (no rights), supervisor 9999 / password 9999 (every right).
  Shifts: 早班, 中班, 晚班.
  Try bar codes 6923450000182 (promotion), 6923450000465 (special price), 16923450000165 (package),
  search code KL, label 2410001006402 (price-embedded); member cards 8800000001..8800000008;
  coupons 7700001..7700004.
Receipts and drawer pulses go to $terminal/printer-LPT1.txt (GBK; each job rewrites the
file, as it would start a new print job on a device); the customer display's bytes are
appended to $terminal/display-COM1.bytes. Change the devices with 15/ in the register.
INFO

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM="vnc:size=1280x800"
  echo "No display found: the terminal is served over VNC; connect a VNC viewer to localhost:5900."
fi
POS_HOME="$terminal" "$root/build/src/pos"
