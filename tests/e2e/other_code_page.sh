#!/usr/bin/env bash
# Names that survive on any Windows. SetUp.exe on a Windows whose ANSI code page
# is not 936 (Wine under C.UTF-8 has 1252): a payload and a library with Chinese
# file names install whole into a Chinese-named folder, AutoCAD and Settings read
# the registrations and the Apps & Features entry as the right Unicode text, the
# log carries the messages as the right text, the dialog's headings and a message
# box's caption read right. And SetUp.exe unpacked below a folder whose name GBK
# cannot hold (a user called Søren): it installs, and its uninstaller removes it.
#   other_code_page.sh WINE_RUN SETUP_EXE READ_DIALOG_TEXT_EXE UNINSTALL_EXE
set -u
wine_run=$1 setup=$2 reader=$3 uninstaller=$4
fail() { echo "FAIL: $*"; exit 1; }
source "$(dirname "$0")/reg-view.sh"
machine_view=$(pe_view "$setup")
dir=$(mktemp -d /tmp/trabex-cp.XXXXXX)
drive_c=$(sed -n 's/^export WINEPREFIX="\${TRABEX_WINEPREFIX:-\(.*\)}"$/\1/p' "$wine_run")/drive_c
target="$drive_c/工具1252"
key='HKLM\SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804'
# What the setup keeps for every user (the Active Setup component; the user's record of it).
as_key='SOFTWARE\Microsoft\Active Setup\Installed Components\{60363AB1-8BAE-4127-8DC6-1D9214EF63E3}'
cleanup() {
  rm -rf "$dir" "$target" "$drive_c/ACAD1252" "$drive_c/Trabex936"
  "$wine_run" reg delete 'HKLM\SOFTWARE\Autodesk' /f $machine_view >/dev/null 2>&1
  "$wine_run" reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Q-Ostrevo' /f $machine_view >/dev/null 2>&1
  "$wine_run" reg delete "HKLM\\$as_key" /f $machine_view >/dev/null 2>&1
  "$wine_run" reg delete "HKCU\\${as_key/SOFTWARE/Software}" /f $user_view >/dev/null 2>&1
  "$wine_run" reg delete "HKCU\\${as_key/SOFTWARE/Software\\Wow6432Node}" /f $user_view >/dev/null 2>&1
  rm -rf "$drive_c/Program Files/Ostrevo"
}
trap cleanup EXIT
mkdir -p "$dir/Dist/Data/Trabex扩展绘图库" "$drive_c/ACAD1252/Fonts"
cp "$setup" "$dir/Dist/SetUp.exe"
cp "$(dirname "$setup")/TrabexTrustedPath.exe" "$dir/Dist/Data/"
for f in Trabex2010.ARX 说明.txt Trabex_EN.shx Trabex_HZ.shx Trabex.prt5; do echo "$f" > "$dir/Dist/Data/$f"; done
echo dwg > "$dir/Dist/Data/Trabex扩展绘图库/门窗.dwg"
"$wine_run" reg add "$key" /v AcadLocation /d 'C:\ACAD1252' /f $machine_view >/dev/null 2>&1
"$wine_run" reg add "$key" /v ProductName /d 'AutoCAD 2010' /f $machine_view >/dev/null 2>&1

win_dist="Z:${dir//\//\\}\\Dist"
run1252() { TRABEX_LC_ALL=C.UTF-8 "$wine_run" "$@"; }
run1252 cmd /c 'echo acp' >/dev/null 2>&1
run1252 "$win_dist\\SetUp.exe" /S "/LOG=$win_dist\\setup.log" '/D=C:\工具1252' >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || { cat "$dir/Dist/setup.log" 2>/dev/null; fail "exit code $code, not 0"; }
for f in Trabex2010.ARX 说明.txt Trabex.prt5 Trabex扩展绘图库/门窗.dwg; do
  [ -f "$target/Q-Ostrevo/$f" ] || fail "$f was not installed: $(ls -R "$target")"
done
[ -f "$drive_c/ACAD1252/Fonts/Trabex_EN.shx" ] || fail "the font was not installed"
grep -q '消息 \[Q-工具箱安装\] 安装完成，重启CAD即可使用 !' "$dir/Dist/setup.log" || fail "no completion message in the log"
grep -q '已复制：C:\\工具1252\\Q-Ostrevo\\说明.txt' "$dir/Dist/setup.log" || fail "the Chinese file name is not in the log"
# What AutoCAD and Settings read, as Unicode (another program, RegGetValueW).
values=$("$wine_run" "$reader" 'SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804\Applications\Trabex2010' LOADER 2>/dev/null | tr -d '\r')
grep -qx 'LOADER=C:\\工具1252\\Q-Ostrevo\\Trabex2010.ARX' <<<"$values" || fail "LOADER: $values"
entry='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Q-Ostrevo'
values=$("$wine_run" "$reader" "$entry" InstallLocation DisplayName UninstallString 2>/dev/null | tr -d '\r')
grep -qx 'InstallLocation=C:\\工具1252\\Q-Ostrevo' <<<"$values" || fail "InstallLocation: $values"
grep -qx 'DisplayName=Ostrevo软件（[36][24]位 AutoCAD版）' <<<"$values" || fail "DisplayName: $values"
grep -qx 'UninstallString="C:\\工具1252\\Q-Ostrevo\\Uninstall.exe"' <<<"$values" || fail "UninstallString: $values"

# The dialog's headings, set at run time, as another program reads them.
run1252 "$win_dist\\SetUp.exe" >/dev/null 2>&1 &
pid=$!
texts=$(timeout 60 "$wine_run" "$reader" 2>/dev/null | tr -d '\r')
"$wine_run" taskkill /f /im SetUp.exe >/dev/null 2>&1
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
grep -qx 'title=Ostrevo软件 V2026.03.31' <<<"$texts" || fail "dialog title: $texts"
grep -qx 'edition=( 32位 AutoCAD版 )' <<<"$texts" || fail "dialog edition: $texts"

# A box: the usage of an unknown switch, shown at once; its caption as X reads it.
run1252 "$win_dist\\SetUp.exe" /X >/dev/null 2>&1 &
pid=$!
found=
for _ in $(seq 100); do
  found=$(DISPLAY="${TRABEX_DISPLAY:-$DISPLAY}" xdotool search --name 'Q-软件安装' 2>/dev/null | head -1)
  [ -n "$found" ] && break
  sleep 0.1
done
kill "$pid" 2>/dev/null
"$wine_run" taskkill /f /im SetUp.exe >/dev/null 2>&1
[ -n "$found" ] || fail "no window captioned Q-软件安装 (the usage box)"
"$wine_run" reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Q-Ostrevo' /f $machine_view >/dev/null 2>&1

# Unpacked below a folder whose name GBK cannot hold; the log written there too.
soren="$dir/Søren"
mkdir -p "$soren"
cp -r "$dir/Dist" "$soren/Dist"
cp "$uninstaller" "$soren/Dist/Data/Uninstall.exe"
win_soren="Z:${soren//\//\\}\\Dist"
"$wine_run" "$win_soren\\SetUp.exe" /S "/LOG=$win_soren\\setup.log" '/D=C:\Trabex936' >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || { cat "$soren/Dist/setup.log" 2>/dev/null; fail "below Søren: exit code $code, not 0"; }
[ -f "$drive_c/Trabex936/Q-Ostrevo/说明.txt" ] || fail "below Søren: the payload was not installed"
grep -q "Søren" "$soren/Dist/setup.log" || fail "below Søren: the log does not name the folder whole"
"$wine_run" 'C:\Trabex936\Q-Ostrevo\Uninstall.exe' /S "/LOG=$win_soren\\uninstall.log" >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || { cat "$soren/Dist/uninstall.log" 2>/dev/null; fail "below Søren: the uninstaller ended with $code, not 0"; }
for _ in $(seq 100); do [ -e "$drive_c/Trabex936" ] || break; sleep 0.1; done
[ ! -e "$drive_c/Trabex936" ] || fail "below Søren: the install folder is still there: $(ls -R "$drive_c/Trabex936")"
values=$("$wine_run" "$reader" 'SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804\Applications\Trabex2010' LOADER 2>/dev/null | tr -d '\r')
grep -qx 'LOADER=<absent>' <<<"$values" || fail "below Søren: the registration is still there: $values"
grep -q '结束，退出代码 0' "$soren/Dist/uninstall.log" || fail "below Søren: the uninstaller's log is not where it was asked for"
echo "code page 1252: Chinese payload, library and folder names installed and registered as Unicode, log and box caption read right"
echo "below a folder named Søren: installed and removed, logs written there"
