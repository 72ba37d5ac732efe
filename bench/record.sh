#!/usr/bin/env bash
# SPDX-FileCopyrightText: The RS232 simulator authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Recording from libsigrok's demo device as a whole process, beside sigrok-cli recording the same:
#   bench/record.sh [build-dir] [runs]      (default build-release, a Release build; 3 runs each)
# 10 000 000 samples of the eight logic channels at the device's highest rate (1 GHz) into a sigrok
# session file: `rs232line record` and `sigrok-cli --driver demo ... -o`, the median wall time and the
# peak resident memory of each; the floor (sigrok-cli with the null output: the demo device alone); and
# whether the two files hold the same samples.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup time unzip
build=${1:-build-release}
runs=${2:-3}
if [ ! -x "$build/src/cli/rs232line" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRS232_BUILD_TESTS=OFF >/dev/null
    cmake --build "$build" --target rs232line >/dev/null
fi
tool=$PWD/$build/src/cli/rs232line
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

channels=D0,D1,D2,D3,D4,D5,D6,D7
samples=10000000

# Milliseconds (wall clock, from before the process starts to after it ends) and peak resident
# kilobytes of one run of a command.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $(cat "$work/time")" | awk '{ printf "%.1f %d\n", $1 / 1000, $2 }'
}
# The median time and the largest peak memory of $runs runs.
median() {
    local all=()
    for _ in $(seq "$runs"); do all+=("$(measure "$@")"); done
    printf '%s\n' "${all[@]}" | sort -n |
        awk -v n="$runs" '{ t[NR] = $1; if ($2 > m) m = $2 } END { printf "%.1f %d\n", t[int((n + 1) / 2)], m }'
}
# The logic data of a session file, its pieces in order, as one checksum.
samples_of() {
    unzip -p "$1" $(unzip -Z1 "$1" | grep '^logic-1-' | sort -t- -k3 -n) | md5sum | cut -d' ' -f1
}

echo "== $samples samples of $channels at 1 GHz from the demo device, $runs runs each"
read -r ours ours_kb < <(median "$tool" record --driver demo --channels "$channels" --samplerate 1G \
    --samples "$samples" -o "$work/ours.sr")
read -r theirs theirs_kb < <(median sigrok-cli --driver demo --channels "$channels" --config samplerate=1G \
    --samples "$samples" -o "$work/theirs.sr")
read -r floor floor_kb < <(median sigrok-cli --driver demo --channels "$channels" --config samplerate=1G \
    --samples "$samples" -O null)
printf 'rs232line record:        %9.1f ms, peak %d KB, file %d bytes\n' "$ours" "$ours_kb" "$(stat -c %s "$work/ours.sr")"
printf 'sigrok-cli -o (srzip):   %9.1f ms, peak %d KB, file %d bytes\n' "$theirs" "$theirs_kb" "$(stat -c %s "$work/theirs.sr")"
printf 'sigrok-cli -O null:      %9.1f ms, peak %d KB (the demo device alone, nothing written)\n' "$floor" "$floor_kb"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "rs232line is %.0f times as fast as sigrok-cli\n", b / a }'
if [ "$(samples_of "$work/ours.sr")" = "$(samples_of "$work/theirs.sr")" ]; then
    echo "the two files hold the same samples"
else
    echo "the two files hold different samples" >&2
    exit 1
fi
