#!/usr/bin/env bash
# The uninstaller never deletes through a link: a path of its list whose folder
# has become a junction to somewhere else (Wine takes a Unix symbolic link for
# one) is left alone, and so is what lies behind it; the rest goes. The setup
# never writes through a link put where a module goes, nor through an AutoCAD
# Fonts folder made into a link.
#   links.sh WINE_RUN SETUP_EXE UNINSTALL_EXE TRUSTED_PATH_EXE
set -u
wine_run=$1 setup=$2 uninstaller=$3 trusted=$4
fail() { echo "FAIL: $*"; exit 1; }
source "$(dirname "$0")/reg-view.sh"
machine_view=$(pe_view "$setup")
dir=$(mktemp -d /tmp/trabex-links.XXXXXX)
drive_c=$(sed -n 's/^export WINEPREFIX="\${TRABEX_WINEPREFIX:-\(.*\)}"$/\1/p' "$wine_run")/drive_c
install="$drive_c/TrabexLinks/Q-Ostrevo"
outside="$drive_c/Outside"
key='HKLM\SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804'
# What the setup keeps for every user (the Active Setup component; the user's record of it).
as_key='SOFTWARE\Microsoft\Active Setup\Installed Components\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}'
cleanup() {
  rm -f "$install/j"
  rm -rf "$dir" "$drive_c/TrabexLinks" "$drive_c/ACADLinks" "$outside" "$drive_c/Program Files/Ostrevo"
  "$wine_run" reg delete "HKLM\\$as_key" /f $machine_view >/dev/null 2>&1
  "$wine_run" reg delete "HKCU\\${as_key/SOFTWARE/Software}" /f $user_view >/dev/null 2>&1
  "$wine_run" reg delete "HKCU\\${as_key/SOFTWARE/Software\\Wow6432Node}" /f $user_view >/dev/null 2>&1
  "$wine_run" reg delete 'HKLM\SOFTWARE\Autodesk' /f $machine_view >/dev/null 2>&1
  "$wine_run" reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Q-Ostrevo' /f $machine_view >/dev/null 2>&1
}
trap cleanup EXIT
mkdir -p "$dir/Dist/Data" "$drive_c/ACADLinks/Fonts" "$outside"
cp "$setup" "$dir/Dist/SetUp.exe"
cp "$uninstaller" "$dir/Dist/Data/Uninstall.exe"
cp "$trusted" "$dir/Dist/Data/TrabexTrustedPath.exe"
for f in Trabex2010.ARX Trabex_EN.shx Trabex_HZ.shx Trabex.prt5; do echo "$f" > "$dir/Dist/Data/$f"; done
echo "a file of the system's" > "$outside/hosts"
"$wine_run" reg add "$key" /v AcadLocation /d 'C:\ACADLinks' /f $machine_view >/dev/null 2>&1
"$wine_run" reg add "$key" /v ProductName /d 'AutoCAD 2010' /f $machine_view >/dev/null 2>&1
win_dist="Z:${dir//\//\\}\\Dist"
"$wine_run" "$win_dist\\SetUp.exe" /S '/D=C:\TrabexLinks' >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || fail "the setup ended with $code, not 0"

# Someone puts a link to nowhere where a module goes: the next setup replaces
# the link with the module and creates nothing where it pointed.
rm -f "$install/Trabex2010.ARX"
ln -s "$outside/planted" "$install/Trabex2010.ARX"
"$wine_run" "$win_dist\\SetUp.exe" /S '/D=C:\TrabexLinks' >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || fail "the setup over a planted link ended with $code, not 0"
[ ! -L "$install/Trabex2010.ARX" ] || fail "the planted link is still there"
[ "$(cat "$install/Trabex2010.ARX")" = Trabex2010.ARX ] || fail "the module is not in place of the link"
[ ! -e "$outside/planted" ] || fail "the setup wrote where the link pointed"

# A user who may write the AutoCAD folder makes its Fonts folder a link: the
# fonts are not written through it, and the run says so (exit 8).
mv "$drive_c/ACADLinks/Fonts" "$drive_c/ACADLinks/Fonts.real"
mkdir -p "$outside/fonts"
ln -s "$outside/fonts" "$drive_c/ACADLinks/Fonts"
"$wine_run" "$win_dist\\SetUp.exe" /S '/D=C:\TrabexLinks' >/dev/null 2>&1
code=$?
[ -z "$(ls -A "$outside/fonts")" ] || fail "fonts were written through the linked Fonts folder: $(ls "$outside/fonts")"
[ "$code" = 8 ] || fail "the setup over a linked Fonts folder ended with $code, not 8"
rm "$drive_c/ACADLinks/Fonts"
mv "$drive_c/ACADLinks/Fonts.real" "$drive_c/ACADLinks/Fonts"

# Someone turns a folder of a listed path into a link to a system folder.
ln -s "$outside" "$install/j"
printf 'j\\hosts\r\n' >> "$install/InstalledFiles.lst"
"$wine_run" 'C:\TrabexLinks\Q-Ostrevo\Uninstall.exe' /S "/LOG=$win_dist\\uninstall.log" >/dev/null 2>&1
code=$?
[ "$(cat "$outside/hosts" 2>/dev/null)" = "a file of the system's" ] || fail "the file behind the link was deleted"
[ -L "$install/j" ] || fail "the link itself was removed"
[ ! -e "$install/Trabex2010.ARX" ] || fail "the add-on's own module was not removed"
[ "$code" = 8 ] || fail "exit code $code, not 8 (the listed path behind the link is left)"
grep -q 'j\\hosts（链接，未进入也未删除）' "$dir/Dist/uninstall.log" || fail "the log does not name the link: $(cat "$dir/Dist/uninstall.log")"
echo "a listed path through a link: left untouched, with what lies behind it; the rest removed"
