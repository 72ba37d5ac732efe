#!/usr/bin/env bash
# SPDX-FileCopyrightText: The RS232 simulator authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Opening and decoding logic-analyser captures as a whole process, beside sigrok-cli's UART decoder:
#   bench/capture.sh [build-dir] [--no-large]      (default build-release; a Release build)
# 1. A sigrok session of 1 000 000 samples holding 5 000 frames (115 200 bit/s, 8N1, sampled at
#    2.3 MHz): `rs232line decode --rate auto` and `sigrok-cli -P uart`, each 11 times; the median time,
#    the ratio and the peak resident memory of each, the start-up alone (`rs232line --version`) and
#    the floor of any reader through libsigrok (bench/sigrok_floor.c: the session played, nothing done).
# 2. A session of 10 000 000 samples of a real line repeated (a sensor's report, 50 000 bytes of text at
#    115 200 bit/s, 8N1, sampled at 2.3 MHz): `rs232line decode --rate auto`, `rs232line decode --rate auto
#    --format auto` and `sigrok-cli -P uart`, whole processes, side by side (5 runs each, alternating), and
#    the ratio of the medians.
# 3. A session of 100 000 000 samples (64 000 frames at 9600 bit/s with 5 idle bits between them,
#    sampled at 1 MHz), made here in a scratch folder: the time and peak memory of `rs232line info` and
#    `rs232line decode` on it. --no-large leaves it out.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup time
build=${1:-build-release}
large=yes
[ "${2:-}" = "--no-large" ] && large=no
if [ ! -x "$build/src/cli/rs232line" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRS232_BUILD_TESTS=OFF >/dev/null
    cmake --build "$build" --target rs232line >/dev/null
fi
tool=$PWD/$build/src/cli/rs232line
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Milliseconds (wall clock, from before the process starts to after it ends) and peak resident
# kilobytes of one run of a command, its output kept in $work/out.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time" "$@" >"$work/out" 2>/dev/null
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $(cat "$work/time")" | awk '{ printf "%.1f %d\n", $1 / 1000, $2 }'
}
# The median time and the largest peak memory of 11 runs.
eleven() {
    local runs=()
    for _ in $(seq 11); do runs+=("$(measure "$@")"); done
    printf '%s\n' "${runs[@]}" | sort -n | awk '{ t[NR] = $1; if ($2 > m) m = $2 } END { printf "%.1f %d\n", t[6], m }'
}

echo "== 1 000 000 samples, 5 000 frames"
head -c 5000 /dev/urandom >"$work/bytes"
"$tool" encode --rate 115200 --format 8N1 --file "$work/bytes" -o "$work/small.vcd"
sigrok-cli -I vcd:downsample=434 -i "$work/small.vcd" -o "$work/small.sr"
sigrok-cli -i "$work/small.sr" --show | grep -E "Samplerate|sample count"
read -r ours ours_kb < <(eleven "$tool" decode --rate auto --format 8N1 "$work/small.sr")
read -r theirs theirs_kb < <(eleven sigrok-cli -i "$work/small.sr" -P uart:rx=txd:baudrate=115200 -A uart=rx-data)
read -r start start_kb < <(eleven "$tool" --version)
# The floor: libsigrok playing the session into a callback that does nothing.
cc -O2 -o "$work/sigrok_floor" bench/sigrok_floor.c $(pkg-config --cflags --libs libsigrok)
read -r floor floor_kb < <(eleven "$work/sigrok_floor" "$work/small.sr")
"$tool" decode --rate auto --format 8N1 "$work/small.sr" | sed -n '1p;$p'
printf 'rs232line decode --rate auto: %6.1f ms, peak %d KB\n' "$ours" "$ours_kb"
printf 'sigrok-cli -P uart:           %6.1f ms, peak %d KB\n' "$theirs" "$theirs_kb"
printf 'rs232line --version:          %6.1f ms, peak %d KB (starting a process linked with libsigrok)\n' "$start" "$start_kb"
printf 'libsigrok alone (sigrok_floor): %4.1f ms, peak %d KB (reading the session, nothing done with it)\n' "$floor" "$floor_kb"
awk -v a="$ours" -v b="$theirs" -v s="$start" 'BEGIN {
    printf "rs232line is %.1f times as fast as sigrok-cli; without its start-up, %.1f times\n", b / a, (b - s) / (a - s) }'

echo "== 10 000 000 samples, a real line repeated"
python3 -c "
t = 'Temperature 21.5 C, humidity 40 %, pressure 1013 hPa\\r\\n'
open('$work/bytes', 'wb').write((t * 2000)[:50000].encode())"
"$tool" encode --rate 115200 --format 8N1 --file "$work/bytes" -o "$work/ten.vcd"
sigrok-cli -I vcd:downsample=434 -i "$work/ten.vcd" -o "$work/ten.sr"
rm "$work/ten.vcd"
sigrok-cli -i "$work/ten.sr" --show | grep -E "Samplerate|sample count"
: >"$work/ours"; : >"$work/auto"; : >"$work/theirs"
for _ in 1 2 3 4 5; do
    measure "$tool" decode --rate auto "$work/ten.sr" >>"$work/ours"
    measure "$tool" decode --rate auto --format auto "$work/ten.sr" >>"$work/auto"
    measure sigrok-cli -i "$work/ten.sr" -P uart:rx=txd:baudrate=115200 -A uart=rx-data >>"$work/theirs"
done
"$tool" decode --rate auto --format auto "$work/ten.sr" | sed -n '1,2p;$p'
median() { sort -n "$1" | awk '{ t[NR] = $1; if ($2 > m) m = $2 } END { printf "%.1f %d\n", t[3], m }'; }
read -r ours ours_kb < <(median "$work/ours")
read -r auto auto_kb < <(median "$work/auto")
read -r theirs theirs_kb < <(median "$work/theirs")
printf 'rs232line decode --rate auto:               %7.1f ms, peak %d KB\n' "$ours" "$ours_kb"
printf 'rs232line decode --rate auto --format auto: %7.1f ms, peak %d KB\n' "$auto" "$auto_kb"
printf 'sigrok-cli -P uart:                         %7.1f ms, peak %d KB\n' "$theirs" "$theirs_kb"
awk -v a="$ours" -v f="$auto" -v b="$theirs" 'BEGIN {
    printf "rs232line is %.1f times as fast as sigrok-cli (%.1f times telling the framing too)\n", b / a, b / f }'

[ "$large" = yes ] || exit 0
echo "== 100 000 000 samples"
head -c 64000 /dev/urandom >"$work/bytes"
"$tool" encode --rate 9600 --format 8N1 --idle 5 --file "$work/bytes" -o "$work/large.vcd"
sigrok-cli -I vcd:downsample=1000 -i "$work/large.vcd" -o "$work/large.sr"
rm "$work/large.vcd"
sigrok-cli -i "$work/large.sr" --show | grep -E "Samplerate|sample count"
ls -l "$work/large.sr" | awk '{ printf "session file: %d bytes\n", $5 }'
read -r t kb < <(measure "$tool" info "$work/large.sr")
cat "$work/out" | sed -n '3,4p;$p'
printf 'rs232line info: %s ms, peak %d KB\n' "$t" "$kb"
read -r t kb < <(measure "$tool" decode --rate auto --format 8N1 "$work/large.sr")
sed -n '1p;$p' "$work/out"
printf 'rs232line decode --rate auto: %s ms, peak %d KB\n' "$t" "$kb"
