#!/usr/bin/env bash
# SPDX-FileCopyrightText: The RS232 simulator authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package in a Release build of its own and runs lintian on it; fails on any error or
# warning (informational and pedantic notes are printed but pass):
#   lintian_package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build=$2

cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRS232_BUILD_TESTS=OFF \
    -DRS232_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >"$build/build.log" 2>&1 || {
    cat "$build/build.log"
    exit 1
}
cd "$build"
rm -f ./*.deb
cpack -G DEB >/dev/null
deb=$(ls "$PWD"/*.deb)
echo "lintian $deb"
lintian --fail-on error,warning --display-info "$deb"
