#!/usr/bin/env bash
# SetUp.exe at 150 % scaling (144 DPI) against 96 DPI, in a Wine prefix of its
# own (a quick clone of the build's: links to its files, the registry copied),
# so that no other test sees the changed DPI. The screenshots stay in the build
# folder as PNG for a person to look at.
#   high_dpi.sh WINE_RUN TEST_EXE WORK_DIR SHOTS_DIR
set -u
wine_run=$1 test_exe=$2 work=$3 shots=$4
fail() { echo "FAIL: $*"; exit 1; }
base=$(sed -n 's/^export WINEPREFIX="\${TRABEX_WINEPREFIX:-\(.*\)}"$/\1/p' "$wine_run")
wine=$(sed -n 's/^exec "\(.*\)" "\$@"$/\1/p' "$wine_run")
server=wineserver
[ "$(basename "$wine")" = wine64 ] && server=/usr/lib/wine/wineserver64
prefix=$work/prefix
cleanup() {
  WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1
  WINEPREFIX=$prefix timeout 30 "$server" -w >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
[ -f "$base/system.reg" ] || fail "no prefix at $base"
rm -rf "$work"
mkdir -p "$work" "$shots"
# Files linked, never written in place by what runs here; the registry is the
# prefix's own (Wine rewrites those files whole).
cp -al "$base" "$prefix" || fail "cannot clone $base"
for f in system.reg user.reg userdef.reg; do
  rm -f "$prefix/$f"
  cp "$base/$f" "$prefix/$f" || fail "cannot copy $f"
done
cd "$work" || fail "no $work"
TRABEX_WINEPREFIX=$prefix "$wine_run" "$test_exe" --gtest_color=no
code=$?
for dpi in 96 144; do
  [ -f "high_dpi-$dpi.bmp" ] && convert "high_dpi-$dpi.bmp" "$shots/high_dpi-$dpi.png" \
    && echo "screenshot: $shots/high_dpi-$dpi.png"
done
exit $code
