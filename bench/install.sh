#!/usr/bin/env bash
# The install sequence over a payload of 99 files of 1 MB each, against Wine's own
# xcopy of the same files, both timed as whole Wine processes in the same run
# (median of 5); and the size of the shipped 32-bit SetUp.exe.
set -euo pipefail
source "$(dirname "$0")/../scripts/build-env.sh"
trabex_build Release InstallBench >/dev/null
trabex_configure "$root/build/i686-dist" i686 MinSizeRel -DBUILD_TESTING=OFF
cmake --build "$root/build/i686-dist" -j2 --target SetUp >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_up "$build"
trap 'wine_env_down; rm -rf "$work"' EXIT
run="$build/wine-run.sh"

work=$(mktemp -d /tmp/trabex-bench.XXXXXX)
mkdir -p "$work/dist/Data"
for i in $(seq -w 1 99); do head -c 1048576 /dev/urandom > "$work/dist/Data/module$i.dat"; done
win() { echo "Z:${1//\//\\}"; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
ref=$(for n in 1 2 3 4 5; do rm -rf "$work/x$n"; time_ms "$run" xcopy "$(win "$work/dist/Data")\\*" "$(win "$work/x$n")\\" /Y /Q /I; done | median)
ours=$(for n in 1 2 3 4 5; do rm -rf "$work/o$n"; time_ms "$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "$(win "$work/o$n")"; done | median)
copied=$(ls "$work/o1" | wc -l)
echo "xcopy of 99 x 1 MB (reference): ${ref} ms"
echo "install sequence (install folder holds ${copied} entries): ${ours} ms"
awk -v o="$ours" -v r="$ref" 'BEGIN { printf "ratio: %.2f (goal: at most 1.20)\n", o / r }'
size=$(stat -c %s "$root/build/i686-dist/SetUp.exe")
echo "SetUp.exe (i686, shipped build): $size bytes ($(( size / 1024 )) KB; goal: under 512 KB)"
