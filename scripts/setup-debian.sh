#!/usr/bin/env bash
# Installs everything the build, the client and the tests need, from Debian's
# packages. Run as root on Debian 12; does nothing when all is there already.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config clang-format git
    qt6-base-dev qt6-charts-dev qt6-svg-dev qt6-speech-dev libqt6opengl6-dev qtkeychain-qt6-dev
    libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    libsqlite3-dev sqlite3 libpq-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libxlsxwriter-dev
    postgresql postgresql-contrib
    xvfb xauth imagemagick poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing packages: ${missing[*]}; run this script as root." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
