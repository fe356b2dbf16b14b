#!/usr/bin/env bash
# The install sequence over a payload of 99 files of 1 MB each, against Wine's own
# xcopy of the same files, both timed as whole Wine processes in the same run
# (median of 5); where the payload copy's time goes per kind of call; and the size
# of the shipped 32-bit SetUp.exe.
set -euo pipefail
source "$(dirname "$0")/../scripts/build-env.sh"
source "$(dirname "$0")/arch-note.sh"
trabex_build Release InstallBench >/dev/null
# The shipped program exactly as the packaging builds it.
trabex_configure "$root/build/i686-dist" i686 Release -DBUILD_TESTING=OFF -DTRABEX_WITH_EDITION64=OFF
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
# Reference and ours take turns, each into a fresh folder removed (and flushed)
# right after, so neither pays for the other's pending writes.
refs=() ours_runs=()
for n in 1 2 3 4 5; do
  rm -rf "$work/x" "$work/o"; sync
  refs+=("$(time_ms "$run" xcopy "$(win "$work/dist/Data")\\*" "$(win "$work/x")\\" /Y /Q /I)")
  rm -rf "$work/x"; sync
  ours_runs+=("$(time_ms "$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "$(win "$work/o")")")
  [ "$n" = 1 ] && cp -r "$work/o" "$work/o1"
done
ref=$(printf '%s\n' "${refs[@]}" | median)
ours=$(printf '%s\n' "${ours_runs[@]}" | median)
copied=$(ls "$work/o1" | wc -l)
bench_arch_note
echo "xcopy of 99 x 1 MB (reference): ${ref} ms"
echo "install sequence (install folder holds ${copied} entries): ${ours} ms"
awk -v o="$ours" -v r="$ref" 'BEGIN { printf "ratio: %.2f (goal: at most 1.20, aim 1.00)\n", o / r }'
rm -rf "$work/p"
"$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "$(win "$work/p")" profile
size=$(stat -c %s "$root/build/i686-dist/SetUp.exe")
echo "SetUp.exe (i686, shipped build): $size bytes ($(( size / 1024 )) KB; goal: under 400 KB)"
