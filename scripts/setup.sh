#!/usr/bin/env bash
# Installs what the terminal needs on Debian 12 and builds it into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(build-essential cmake ninja-build pkg-config ccache
          qt6-base-dev libqt6printsupport6 qt6-qpa-plugins
          libsqlcipher-dev libssl-dev libfmt-dev libpq-dev libgtest-dev libgmock-dev
          postgresql-15 postgresql-contrib poppler-utils fonts-wqy-microhei socat)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build"
