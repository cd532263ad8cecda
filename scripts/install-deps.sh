#!/usr/bin/env bash
# Installs the Debian 12 packages rp_tarifario needs to build, run and test.
# Idempotent: asks apt only for what is missing.
set -euo pipefail
pkgs=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev qt6-charts-dev
    libsqlite3-dev sqlite3 libinih-dev libxlsxwriter-dev libharfbuzz-dev zlib1g-dev
    unixodbc unixodbc-dev odbcinst libsqliteodbc odbc-postgresql postgresql tdsodbc
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    poppler-utils qpdf python3-openpyxl fonts-dejavu-core xvfb xdotool x11-apps
    desktop-file-utils libglib2.0-bin file dpkg-dev time linux-perf
)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
