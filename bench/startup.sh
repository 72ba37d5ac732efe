#!/usr/bin/env bash
# SPDX-FileCopyrightText: The RS232 simulator authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up time and memory of the program, offscreen, over 10 runs:
#   bench/startup.sh [build-dir] [--without-documents]     (default build-release; a Release build with
#                                                          benchmarks on)
# Prints each run's time from process start to the main window shown, the median, and the peak
# resident memory of a run. The program starts in the repository, where it loads its three start-up
# documents from inf/; with --without-documents it starts beside an inf/ whose three documents are empty,
# which leaves out the cost of reading and showing their content.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup time
build=${1:-build-release}
documents=${2:-}
if [ ! -x "$build/bench/bench_startup" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRS232_BUILD_TESTS=OFF -DRS232_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" --target bench_startup >/dev/null
fi

# An offscreen screen of 1440 x 900, so the start-up screen check passes without a message box.
config=$(mktemp --suffix=.json)
trap 'rm -f "$config"' EXIT
cat > "$config" <<'JSON'
{ "screens": [ { "name": "bench", "x": 0, "y": 0, "width": 1440, "height": 900,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$config"

build=$(realpath "$build")
if [ "$documents" = "--without-documents" ]; then
    empty=$(mktemp -d)
    trap 'rm -f "$config"; rm -rf "$empty"' EXIT
    mkdir "$empty/inf"
    for name in rs232_adatcsomag rs232_topologia rs232_szimulacio; do
        printf '{\\rtf1}' > "$empty/inf/$name.rtf"
    done
    cd "$empty"
fi

times=()
for i in $(seq 1 10); do
    start=$(date +%s%N)
    shown=$("$build/bench/bench_startup" 2>/dev/null)
    ms=$(( (shown - start) / 1000000 ))
    times+=("$ms")
    echo "run $i: ${ms} ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print (a[int((NR+1)/2)] + a[int(NR/2)+1]) / 2}')
echo "median start-up: ${median} ms"
peak=$(/usr/bin/time -f '%M' "$build/bench/bench_startup" 2>&1 >/dev/null | tail -1)
echo "peak resident memory: $(( peak / 1024 )) MB"
