#!/usr/bin/env bash
# The machine must give Wine code page 936 and store GBK names as UTF-8 on disk;
# otherwise every other result would be meaningless, so fail loudly here.
set -u
wine_run=$1 probe=$2
dir=$(mktemp -d /tmp/trabex-env.XXXXXX)
trap 'rm -rf "$dir"' EXIT
out=$("$wine_run" "$probe" "Z:${dir//\//\\}" 2>&1)
echo "$out"
grep -q '^acp=936' <<<"$out" || { echo "FAIL: Wine's ANSI code page is not 936 (is the zh_CN.UTF-8 locale generated?)"; exit 1; }
grep -q '^created=1' <<<"$out" || { echo "FAIL: the GBK-named folder could not be created"; exit 1; }
[ -d "$dir/Trabex扩展绘图库" ] || { echo "FAIL: the GBK name did not reach the disk as UTF-8:"; ls "$dir"; exit 1; }
echo "environment ok: code page 936, GBK names stored as UTF-8"
