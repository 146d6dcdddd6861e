#!/usr/bin/env bash
# Installs everything Velunor needs to build, run and test on Debian 12 (run as root).
set -euo pipefail
packages=(
    # build
    build-essential cmake ninja-build git
    qt6-base-dev libqt6sql6 libgl-dev firebird-dev
    googletest libgtest-dev
    # the allocator the executables link: a load allocates a few short strings per word
    libmimalloc-dev
    # repository engines: SQLite (embedded), Firebird 3 (embedded), ODBC
    libqt6sql6-sqlite libqt6sql6-ibase libqt6sql6-odbc
    libsqlite3-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
    unixodbc unixodbc-dev odbc-postgresql libsqliteodbc
    postgresql
    # benchmark yardstick and the fuzz targets (built on their own with clang)
    universal-ctags ripgrep clang libclang-rt-14-dev
    # the formatting check of the test run
    clang-format
    # running windows without a screen in tests
    xvfb xauth
    # tools/screenshots.sh: window pictures under Xvfb
    x11-apps imagemagick xdotool
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
