#!/usr/bin/env bash
# From launch to the dialog on the screen: the shipped SetUp.exe (from a
# distribution with a small payload, on a machine without AutoCAD: what runs
# before the dialog but discovery's walk) against a program that shows one
# dialog and nothing else, taking turns, median of 7.
set -euo pipefail
source "$(dirname "$0")/../scripts/build-env.sh"
source "$(dirname "$0")/arch-note.sh"
trabex_build Release StartupBench TrivialDialog SetUp TrabexTrustedPath >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_up "$build"
work=$(mktemp -d /tmp/trabex-startup.XXXXXX)
trap 'wine_env_down; rm -rf "$work"' EXIT
run="$build/wine-run.sh"
win() { echo "Z:${1//\//\\}"; }
mkdir -p "$work/dist/Data"
cp "$build/SetUp.exe" "$work/dist/"
cp "$build/TrabexTrustedPath.exe" "$work/dist/Data/"
for f in Trabex2008.ARX Trabex2010.ARX Trabex2015.ARX Trabex_EN.shx Trabex_HZ.shx Trabex.prt5; do echo "$f" > "$work/dist/Data/$f"; done
cp "$build/bench/TrivialDialog.exe" "$work/"
ms_of() { tr -d '\r' | sed -n 's/^launch to dialog: \([0-9]*\) ms$/\1/p'; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
"$run" "$build/bench/StartupBench.exe" "$(win "$work/TrivialDialog.exe")" "$(win "$work")" >/dev/null  # warm
refs=() ours=()
for n in 1 2 3 4 5 6 7; do
  refs+=("$("$run" "$build/bench/StartupBench.exe" "$(win "$work/TrivialDialog.exe")" "$(win "$work")" | ms_of)")
  ours+=("$("$run" "$build/bench/StartupBench.exe" "$(win "$work/dist/SetUp.exe")" "$(win "$work/dist")" | ms_of)")
done
ref=$(printf '%s\n' "${refs[@]}" | median)
our=$(printf '%s\n' "${ours[@]}" | median)
bench_arch_note
echo "a trivial dialog (reference): ${ref} ms"
echo "SetUp.exe to its dialog:      ${our} ms"
awk -v o="$our" -v r="$ref" 'BEGIN { printf "ratio: %.2f (goal: at most 1.10)\n", o / r }'
