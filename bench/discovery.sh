#!/usr/bin/env bash
# Discovery over ~20,000 keys against Wine's own "reg query /s" over the same tree,
# both timed as whole Wine processes in the same run (median of 5).
set -euo pipefail
source "$(dirname "$0")/../scripts/build-env.sh"
source "$(dirname "$0")/arch-note.sh"
trabex_build Release DiscoveryBench >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_up "$build"
trap wine_env_down EXIT
run="$build/wine-run.sh"
bench="$build/bench/DiscoveryBench.exe"

"$run" "$bench" clean >/dev/null 2>&1 || true
"$run" "$bench" seed
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
ref=$(for _ in 1 2 3 4 5; do time_ms "$run" reg query 'HKLM\SOFTWARE\Autodesk\AutoCAD' /s; done | median)
ours=$(for _ in 1 2 3 4 5; do time_ms "$run" "$bench" run; done | median)
"$run" "$bench" run
"$run" "$bench" clean
bench_arch_note
echo "reg query /s (reference): ${ref} ms"
echo "FindAcadReleases:         ${ours} ms"
awk -v o="$ours" -v r="$ref" 'BEGIN { printf "ratio: %.2f (goal: at most 0.70, aim 0.30)\n", o / r }'
