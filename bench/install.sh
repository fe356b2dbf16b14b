#!/usr/bin/env bash
# The install sequence over a payload of 99 files of 1 MB each, with the list of
# that payload as the distribution's SetUp.exe carries it (every file opened and
# its SHA-256 checked before anything is written), against Wine's own xcopy of
# the same files, both timed as whole Wine processes in the same run (median of
# 5); where the payload copy's time goes per kind of call, and the whole
# sequence's per step; and the size of the
# shipped 32-bit SetUp.exe.
set -euo pipefail
source "$(dirname "$0")/../scripts/build-env.sh"
source "$(dirname "$0")/arch-note.sh"
trabex_build Release InstallBench DialogBench SetUp TrabexTrustedPath >/dev/null
# The shipped program exactly as the packaging builds it.
trabex_configure "$root/build/i686-dist" i686 Release -DBUILD_TESTING=OFF -DTRABEX_WITH_EDITION64=OFF
cmake --build "$root/build/i686-dist" -j2 --target SetUp >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_up "$build"
work=$(mktemp -d /tmp/trabex-bench.XXXXXX)
# Both copies go to drive C: of the prefix (the same disk as the payload): Wine
# reports no access lists for Z:, where the setup refuses to install.
drive_c="$WINEPREFIX/drive_c"
trap 'wine_env_down; rm -rf "$work" "$drive_c"/trabex-bench-*' EXIT
run="$build/wine-run.sh"

mkdir -p "$work/dist/Data"
for i in $(seq -w 1 99); do head -c 1048576 /dev/urandom > "$work/dist/Data/module$i.dat"; done
cp "$build/TrabexTrustedPath.exe" "$work/dist/Data/"  # every payload carries the per-user program
# The payload's list, written as the dist target writes it.
list() { cmake -DDATA_DIR="$1/Data" -DLIST="$2" -P "$root/cmake/PayloadList.cmake"; }
list "$work/dist" "$work/list.txt"
win() { echo "Z:${1//\//\\}"; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
# Reference and ours take turns, each into a fresh folder removed (and flushed)
# right after, so neither pays for the other's pending writes.
refs=() ours_runs=() unlisted_runs=()
for n in 1 2 3 4 5; do
  rm -rf "$drive_c"/trabex-bench-*; sync
  refs+=("$(time_ms "$run" xcopy "$(win "$work/dist/Data")\\*" "C:\\trabex-bench-x\\" /Y /Q /I)")
  rm -rf "$drive_c/trabex-bench-x"; sync
  ours_runs+=("$(time_ms "$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "C:\\trabex-bench-o" \
                 "$(win "$work/list.txt")")")
  [ "$n" = 1 ] && ls "$drive_c/trabex-bench-o/Q-Ostrevo" > "$work/copied.txt"
  rm -rf "$drive_c/trabex-bench-o"; sync
  unlisted_runs+=("$(time_ms "$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "C:\\trabex-bench-o")")
done
ref=$(printf '%s\n' "${refs[@]}" | median)
ours=$(printf '%s\n' "${ours_runs[@]}" | median)
unlisted=$(printf '%s\n' "${unlisted_runs[@]}" | median)
bench_arch_note
echo "xcopy of 99 x 1 MB (reference): ${ref} ms"
echo "install sequence with the list, every file checked (install folder holds $(wc -l < "$work/copied.txt") entries): ${ours} ms"
echo "install sequence without a list (the build's own program):  ${unlisted} ms"
awk -v o="$ours" -v r="$ref" 'BEGIN { printf "ratio with the list: %.2f (goal: at most 1.20, aim 1.00)\n", o / r }'
awk -v o="$unlisted" -v r="$ref" 'BEGIN { printf "ratio without a list: %.2f (aim: at most 0.90)\n", o / r }'
rm -rf "$drive_c"/trabex-bench-*
"$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "C:\\trabex-bench-p" profile "$(win "$work/list.txt")"
rm -rf "$drive_c"/trabex-bench-*
"$run" "$build/bench/InstallBench.exe" "$(win "$work/dist")" "C:\\trabex-bench-s" steps "$(win "$work/list.txt")"
# The real program: SetUp.exe's dialog on the simulated machine, Install clicked,
# timed to its first message. The sample payload gives the fixed part; 99 x 2 MB
# against xcopy of the same files gives the copy's cost per byte. Five rounds,
# taking turns, the disk flushed before each.
for kind in small large; do
  mkdir -p "$work/$kind/Data/Trabex扩展绘图库"
  for f in Trabex2008.ARX Trabex2010.ARX Trabex2015.ARX Trabex_EN.shx Trabex_HZ.shx Trabex.prt5; do
    echo "$f" > "$work/$kind/Data/$f"
  done
  echo dwg > "$work/$kind/Data/Trabex扩展绘图库/门窗.dwg"
  cp "$build/TrabexTrustedPath.exe" "$work/$kind/Data/"
done
for i in $(seq -w 1 99); do head -c 2097152 /dev/urandom > "$work/large/Data/module$i.dat"; done
# Each with its own distribution's SetUp.exe: linked with the list of its Data.
for kind in small large; do
  list "$work/$kind" "$build/bench/PayloadList.txt"
  cmake --build "$build" --target SetUpListedBench >/dev/null
  cp "$build/bench/SetUpListedBench/SetUp.exe" "$work/$kind/"
done
ms_of() { tr -d '\r' | sed -n 's/^click to message: \([0-9]*\) ms$/\1/p'; }
xl=() xs=() dl=() ds=()
for n in 1 2 3 4 5; do
  rm -rf "$work/x"; sync
  xl+=("$(time_ms "$run" xcopy "$(win "$work/large/Data")\\*" "$(win "$work/x")\\" /Y /Q /I)")
  rm -rf "$work/x"; sync
  xs+=("$(time_ms "$run" xcopy "$(win "$work/small/Data")\\*" "$(win "$work/x")\\" /Y /Q /I)")
  rm -rf "$work/x"; sync
  dl+=("$("$run" "$build/bench/DialogBench.exe" "$(win "$work/large")" 2>/dev/null | ms_of)")
  sync
  ds+=("$("$run" "$build/bench/DialogBench.exe" "$(win "$work/small")" 2>/dev/null | ms_of)")
done
xlarge=$(printf '%s\n' "${xl[@]}" | median)
xsmall=$(printf '%s\n' "${xs[@]}" | median)
dlarge=$(printf '%s\n' "${dl[@]}" | median)
dsmall=$(printf '%s\n' "${ds[@]}" | median)
echo "real SetUp.exe with the list of its payload, click on Install to the first message (median of 5):"
echo "  (Install clicked 0.5 s after the dialog shows, as a user first looks at it; the"
echo "   payload's check against the list begins when the dialog shows)"
echo "  sample payload (the fixed part): ${dsmall} ms (aim: at most 60 ms)"
echo "  with 99 x 2 MB more:             ${dlarge} ms"
echo "  xcopy of the sample payload:     ${xsmall} ms"
echo "  xcopy with the 99 x 2 MB:        ${xlarge} ms"
awk -v l="$dlarge" -v s="$dsmall" -v x="$xlarge" -v y="$xsmall" \
  'BEGIN { printf "  the 99 x 2 MB per byte against xcopy: %.2f (goal: at most 0.90)\n", (l - s) / (x - y) }'
size=$(stat -c %s "$root/build/i686-dist/SetUp.exe")
echo "SetUp.exe (i686, shipped build): $size bytes ($(( size / 1024 )) KB; goal: under 320 KB)"
