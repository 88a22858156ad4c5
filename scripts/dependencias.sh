#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
# Usage: dependencias.sh [run|test]   ("test" adds the X server, window manager and tools the tests
# drive, the PostgreSQL server the tests start privately, and the validators and packaging tools
# of the install tests)
set -euo pipefail

pacotes=(cmake g++ make pkg-config qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins
         libsqlite3-dev libpq-dev libsodium-dev zlib1g-dev libxcb1-dev libxcb-ewmh-dev libxcb-icccm4-dev libgtest-dev libical-dev
         fonts-liberation2 fonts-dejavu-core xdg-utils)
if [[ "${1:-run}" == test ]]; then
  pacotes+=(xvfb openbox xauth x11-utils xdotool imagemagick wmctrl trayer libbenchmark-dev sqlite3 postgresql
            desktop-file-utils appstream groff-base dpkg-dev file poppler-utils dbus dbus-x11 dunst libnotify-bin)
fi

faltando=()
for p in "${pacotes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltando+=("$p")
done
[[ ${#faltando[@]} -eq 0 ]] && exit 0

echo "Instalando: ${faltando[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Faltam pacotes e é preciso ser root para instalá-los: ${faltando[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${faltando[@]}"
