#!/usr/bin/env bash
# From launch to the dialog on the screen: the distribution's SetUp.exe (with a
# small payload and its list, on a machine without AutoCAD: what runs
# before the dialog but discovery's walk) against a program that shows one
# dialog and nothing else, taking turns, median of 9. A third program shows the
# setup's own dialog and does nothing else: the setup against it is the setup's
# own work before the dialog; it against the trivial one, what that dialog costs.
set -euo pipefail
source "$(dirname "$0")/../scripts/build-env.sh"
source "$(dirname "$0")/arch-note.sh"
trabex_build Release StartupBench TrivialDialog TemplateDialog SetUp TrabexTrustedPath >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_up "$build"
work=$(mktemp -d /tmp/trabex-startup.XXXXXX)
trap 'wine_env_down; rm -rf "$work"' EXIT
run="$build/wine-run.sh"
win() { echo "Z:${1//\//\\}"; }
mkdir -p "$work/dist/Data"
cp "$build/TrabexTrustedPath.exe" "$work/dist/Data/"
for f in Trabex2008.ARX Trabex2010.ARX Trabex2015.ARX Trabex_EN.shx Trabex_HZ.shx Trabex.prt5; do echo "$f" > "$work/dist/Data/$f"; done
# The distribution's SetUp.exe, as users start it: linked with the list of its Data.
cmake -DDATA_DIR="$work/dist/Data" -DLIST="$build/bench/PayloadList.txt" -P "$root/cmake/PayloadList.cmake"
cmake --build "$build" --target SetUpListedBench >/dev/null
cp "$build/bench/SetUpListedBench/SetUp.exe" "$work/dist/"
cp "$build/bench/TrivialDialog.exe" "$build/bench/TemplateDialog.exe" "$work/"
ms_of() { tr -d '\r' | sed -n 's/^launch to dialog: \([0-9]*\) ms$/\1/p'; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
launch() { "$run" "$build/bench/StartupBench.exe" "$(win "$1")" "$(win "$(dirname "$1")")"; }
launch "$work/TrivialDialog.exe" >/dev/null  # warm
refs=() templates=() ours=()
for n in 1 2 3 4 5 6 7 8 9; do
  refs+=("$(launch "$work/TrivialDialog.exe" | ms_of)")
  templates+=("$(launch "$work/TemplateDialog.exe" | ms_of)")
  ours+=("$(launch "$work/dist/SetUp.exe" | ms_of)")
done
ref=$(printf '%s\n' "${refs[@]}" | median)
template=$(printf '%s\n' "${templates[@]}" | median)
our=$(printf '%s\n' "${ours[@]}" | median)
bench_arch_note
echo "a trivial dialog (reference):          ${ref} ms"
echo "the setup's dialog alone (reference):  ${template} ms"
echo "SetUp.exe to its dialog:               ${our} ms"
awk -v o="$our" -v r="$ref" 'BEGIN { printf "ratio: %.2f (goal: at most 1.10)\n", o / r }'
awk -v o="$our" -v t="$template" -v r="$ref" 'BEGIN { printf "  of which the dialog itself: %.2f; the work before it: %.2f\n", t / r, o / t }'
