#!/usr/bin/env bash
# The shipped i686 SetUp.exe and Uninstall.exe, once end to end on a simulated
# machine in a Wine prefix of their own: SetUp.exe /S installs (exit code, the
# registrations in the 32-bit registry view, files, TRUSTEDPATHS, the Apps &
# Features entry, the log), the installed Uninstall.exe /S takes it all off again.
#
# Where 32-bit Linux programs start natively this runs without emulation. Where
# they cannot, Wine's 32-bit loader runs through qemu-user, registered as a
# binfmt_misc handler for 32-bit x86 programs; only SetUp.exe, Uninstall.exe and
# the uninstaller's own copy run emulated: the prefix, the machine and every
# check are made with the 64-bit Wine. The handler goes into a binfmt_misc of
# this test's own (a user namespace's, Linux 6.7 and later), which nothing else
# on the machine sees and which ends with the test whatever happens; where the
# kernel has none, the machine-wide one is used for the emulated runs only, as
# root, and a trap removes the handler again. Where neither can be had (no root,
# no binfmt_misc, no qemu-i386-static) the test reports itself skipped (77).
# A program start under emulation takes about a minute: emulated times say
# nothing about the program's speed.
#   i686_emulated.sh SETUP_EXE UNINSTALL_EXE FIXTURES_DIR WORK_DIR
set -u
setup_exe=$1 uninstall_exe=$2 fixtures=$3 work=$4 trusted_exe=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine64=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
loader=/usr/lib/wine/wine
qemu=/usr/bin/qemu-i386-static
binfmt=/proc/sys/fs/binfmt_misc
handler=trabex-i386
# The standard handler of 32-bit x86 ELF executables (qemu's qemu-binfmt-conf.sh).
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAIL: $*"; failed=1; }
failed=0

# ---- How 32-bit programs can run here; the private namespace re-enters below.
if [ "${TRABEX_I686_MODE:-}" = "" ]; then
  # A PE32 program for i386 (machine 0x14c), not the x86_64 stand-in.
  for exe in "$setup_exe" "$uninstall_exe"; do
    [ -f "$exe" ] || { echo "FAIL: $exe was not built"; exit 1; }
    pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
    [ "$(od -An -tx1 -j"$pe" -N6 "$exe" | tr -d ' \n')" = 504500004c01 ] \
      || { echo "FAIL: $exe is not a 32-bit x86 Windows program"; exit 1; }
  done
  [ -x "$loader" ] || skip "Wine's 32-bit loader ($loader, package wine32) is not installed"
  if [ "$(TRABEX_RUN_ARCH='' bash "$here/../../scripts/run-arch.sh")" = i686 ]; then
    export TRABEX_I686_MODE=native
  else
    [ -x "$qemu" ] || skip "32-bit programs cannot start here and $qemu is missing (scripts/setup-deps.sh installs qemu-user-static as root)"
    if unshare --user --map-root-user --mount --propagation private \
         bash -c "mount -t binfmt_misc binfmt_misc $binfmt" >/dev/null 2>&1; then
      export TRABEX_I686_MODE=private
      exec unshare --user --map-root-user --mount --propagation private bash "${BASH_SOURCE[0]}" "$@"
    fi
    [ "$(id -u)" = 0 ] || skip "32-bit programs cannot start here; emulating them needs a binfmt_misc handler, and this kernel offers no private binfmt_misc (Linux 6.7+) nor are we root to register one machine-wide"
    [ -d "$binfmt" ] || skip "32-bit programs cannot start here, and this kernel has no binfmt_misc to emulate them through"
    export TRABEX_I686_MODE=machine
  fi
fi
mode=$TRABEX_I686_MODE

# ---- The handler: registered only for the programs' runs.
mounted_binfmt=0 registered=0
emulation_on() {
  [ "$mode" = native ] && return 0
  # In our own namespace a fresh mount is a fresh, empty binfmt_misc, over
  # whatever the machine has mounted there.
  if [ "$mode" = private ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  elif [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
    mounted_binfmt=1
  fi
  # One of ours left behind by a killed run is replaced, not trusted.
  [ -e "$binfmt/$handler" ] && echo -1 > "$binfmt/$handler"
  printf ':%s:M::%s:%s:%s:F\n' "$handler" "$magic" "$mask" "$qemu" > "$binfmt/register" || return 1
  registered=1
  "$loader" --version >/dev/null 2>&1
}
emulation_off() {
  if [ "$registered" = 1 ] && [ -e "$binfmt/$handler" ]; then echo -1 > "$binfmt/$handler"; fi
  registered=0
  if [ "$mounted_binfmt" = 1 ] && [ -z "$(ls "$binfmt" | grep -vx 'register\|status')" ]; then
    umount "$binfmt" 2>/dev/null && mounted_binfmt=0
  fi
}

export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "${TRABEX_DISPLAY:-}" ]; then export DISPLAY="$TRABEX_DISPLAY"; fi
cleanup() {
  # A program still starting has not reached the Wine server yet: end it by its id.
  if [ -n "${program:-}" ]; then kill "$program" 2>/dev/null; wait "$program" 2>/dev/null; fi
  emulation_off
  "$server" -k >/dev/null 2>&1
  timeout 30 "$server" -w >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
started=$(date +%s)
elapsed() { echo "$(( $(date +%s) - started )) s"; }
# Every wait ends by this, well before ctest's timeout (600 s), so that a hung
# program is ended here, with the prefix's server and everything it started.
deadline=$(( started + 540 ))
left() { local n=$(( deadline - $(date +%s) )); [ "$n" -gt 1 ] && echo "$n" || echo 1; }
case "$mode" in
  native) echo "mode: native (32-bit programs start here)" ;;
  private) echo "mode: emulated, handler $handler in a binfmt_misc of this test's own" ;;
  machine) echo "mode: emulated, handler $handler in the machine's binfmt_misc during the programs' runs" ;;
esac

# ---- The machine, made with the 64-bit Wine before any handler exists: a 64-bit
# wineboot also starts 32-bit helpers, which would take minutes emulated.
rm -rf "$work"
mkdir -p "$work"
drive_c=$WINEPREFIX/drive_c
w64() { "$wine64" "$@" </dev/null; }
w64 wineboot -i >/dev/null 2>&1
# One server for all the runs; it ends by itself 30 s after the last, however this ends.
"$server" -p30 >/dev/null 2>&1
[ -d "$drive_c/windows" ] || { echo "FAIL: wineboot made no prefix"; exit 1; }
# Without 32-bit programs wineboot cannot run its 32-bit half, which lays out
# syswow64: Wine's own i386 DLLs and programs, and the code page files. Lay them
# out as it does. What that half also registers (32-bit COM classes) only the
# dialog's folder browser uses, and these runs open no window.
syswow64=$drive_c/windows/syswow64
if [ ! -f "$syswow64/kernel32.dll" ]; then
  for dir in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows /usr/lib32/wine/i386-windows; do
    [ -f "$dir/kernel32.dll" ] && break
  done
  [ -f "$dir/kernel32.dll" ] || skip "Wine's i386 DLLs (package wine32) were not found"
  mkdir -p "$syswow64"
  cp -a "$dir/." "$syswow64/" && cp "$drive_c"/windows/system32/*.nls "$syswow64/" \
    || { echo "FAIL: could not lay out $syswow64"; exit 1; }
fi
mkdir -p "$drive_c/stage"
# reg.exe reads version 5 files as UTF-16; the fixtures are kept in UTF-8.
for f in machine user; do
  sed 's/\r*$/\r/' "$fixtures/$f.reg" | iconv -f UTF-8 -t UTF-16 > "$drive_c/stage/$f.reg"
  w64 reg import "C:\\stage\\$f.reg" /reg:32 >/dev/null 2>&1 || fail "reg import $f.reg"
done
while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in ''|'#'*) continue ;; esac
  folder="$drive_c/${line//\\//}"
  mkdir -p "$folder/Fonts" "$folder/Drv"
  printf "AutoCAD's own PDF plot driver\n" > "$folder/Drv/pdfplot9.hdi"
done < "$fixtures/folders.txt"
# The distribution folder as a user unpacked it, with a small payload.
dist="$drive_c/users/Public/Downloads/Q-Ostrevo"
mkdir -p "$dist/Data/Trabex扩展绘图库"
cp "$setup_exe" "$dist/SetUp.exe"
cp "$uninstall_exe" "$dist/Data/Uninstall.exe"
cp "$trusted_exe" "$dist/Data/TrabexTrustedPath.exe"
for f in Trabex2008.ARX Trabex2010.ARX Trabex2015.ARX Trabex_EN.shx Trabex_HZ.shx Trabex.prt5; do
  printf '%s' "$f" > "$dist/Data/$f"
done
printf dwg > "$dist/Data/Trabex扩展绘图库/门窗.dwg"

# Registry trees as UTF-8 text (reg.exe exports UTF-16).
export_key() {  # KEY VIEW NAME
  rm -f "$drive_c/stage/$3.reg"
  w64 reg export "$1" "C:\\stage\\$3.reg" "$2" /y >/dev/null 2>&1
  if [ -f "$drive_c/stage/$3.reg" ]; then
    iconv -f UTF-16 -t UTF-8 "$drive_c/stage/$3.reg" | tr -d '\r' > "$work/$3.txt"
  else
    : > "$work/$3.txt"
  fi
}
# A value of KEY in an exported tree: strings unquoted and unescaped, else as
# written (dword:...); "<absent>" when there is none.
regval() {  # FILE KEY NAME
  awk -v key="[$2]" -v name="\"$3\"=" '
    /^\[/ { inkey = ($0 == key); next }
    inkey && index($0, name) == 1 { v = substr($0, length(name) + 1); found = 1 }
    END {
      if (!found) { print "<absent>"; exit }
      if (v !~ /^".*"$/) { print v; exit }
      out = ""
      for (i = 2; i < length(v); i++) {
        c = substr(v, i, 1)
        if (c == "\\") { i++; c = substr(v, i, 1) }
        out = out c
      }
      print out
    }' "$1"
}
expect() {  # WHAT EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}
acad='HKEY_LOCAL_MACHINE\SOFTWARE\Autodesk\AutoCAD'
user_acad='HKEY_CURRENT_USER\SOFTWARE\Autodesk\AutoCAD'
entry='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Q-Ostrevo'
p2008='R17.1\ACAD-6001:804' p2010='R18.0\ACAD-8001:804' p2016='R20.1\ACAD-F001:804'
p2016m='R20.1\ACAD-F004:804' p2018='R22.0\ACAD-1001:804'
unnamed='Profiles\<<未命名配置>>\Variables'
trusted() { regval "$work/user.txt" "$user_acad\\$1" TRUSTEDPATHS; }
export_key "$acad" /reg:32 machine-before
grep -q "ACAD-6001:804" "$work/machine-before.txt" || { echo "FAIL: the machine was not staged"; exit 1; }
echo "machine staged ($(elapsed))"

# A program of the prefix, and its exit code. In the background: bash runs a
# trap only once the foreground command has ended, minutes under emulation, while
# "wait" returns at once on a signal.
program=
run_program() {
  timeout "$(left)" "$wine64" "$@" </dev/null >/dev/null 2>&1 &
  program=$!
  wait "$program"
  local code=$?
  program=
  [ "$code" = 124 ] && echo "$1 had not ended when the entry's time ($(elapsed)) ran out"
  return "$code"
}

# ---- SetUp.exe /S, the way a deployment tool runs it.
emulation_on || skip "the binfmt_misc handler for 32-bit programs could not be set up (mode $mode)"
echo "32-bit programs start ($mode); SetUp.exe /S ..."
run_program 'C:\users\Public\Downloads\Q-Ostrevo\SetUp.exe' /S '/LOG=C:\users\Public\setup.log'
code=$?
echo "SetUp.exe ended with $code ($(elapsed))"
log="$drive_c/users/Public/setup.log"
if [ "$code" != 0 ]; then
  echo "FAIL: SetUp.exe /S exit code $code, not 0"
  cat "$log" 2>/dev/null
  exit 1
fi

export_key "$acad" /reg:32 machine
export_key "$acad" /reg:64 machine64
export_key "$user_acad" /reg:64 user
export_key "$entry" /reg:32 entry
export_key "$entry" /reg:64 entry64
m="$work/machine.txt"
q='C:\Trabex\Q-Ostrevo'
# One registration per offered release and product, in the 32-bit view; 2018 withheld.
expect "2008's registration" "$q\\Trabex2008.ARX" "$(regval "$m" "$acad\\$p2008\\Applications\\Trabex2008" LOADER)"
expect "2008 loads on start-up" dword:00000002 "$(regval "$m" "$acad\\$p2008\\Applications\\Trabex2008" LOADCTRLS)"
expect "2010's registration" "$q\\Trabex2010.ARX" "$(regval "$m" "$acad\\$p2010\\Applications\\Trabex2010" LOADER)"
expect "2016's registration" "$q\\Trabex2015.ARX" "$(regval "$m" "$acad\\$p2016\\Applications\\Trabex2016" LOADER)"
expect "Mechanical 2016's registration" "$q\\Trabex2015.ARX" \
  "$(regval "$m" "$acad\\$p2016m\\Applications\\Trabex2016" LOADER)"
grep -q "^\[.*R22.0.*Trabex" "$m" && fail "AutoCAD 2018 was registered by the 32-bit setup"
grep -q 'Trabex' "$work/machine64.txt" && fail "a registration in the 64-bit view: $(grep Trabex "$work/machine64.txt")"
# Trusted paths in every profile; entries of other folders kept.
expect "2008 TRUSTEDPATHS" 'C:\TOOLS\LISP;C:\TRABEX\Q-OSTREVO' "$(trusted "$p2008\\$unnamed")"
expect "2010 TRUSTEDPATHS" "$q" "$(trusted "$p2010\\$unnamed")"
expect "2010 Drafting TRUSTEDPATHS" "$q" "$(trusted "$p2010\\Profiles\\Drafting\\Variables")"
expect "2016 TRUSTEDPATHS" 'D:\COMPANY\BLOCKS\...;C:\TRABEX\Q-OSTREVO2;C:\TRABEX\Q-OSTREVO' \
  "$(trusted "$p2016\\$unnamed")"
expect "Mechanical 2016 TRUSTEDPATHS" 'C:\TRABEX\Q-OSTREVO' "$(trusted "$p2016m\\$unnamed")"
# Files: payload, library, list, uninstaller; fonts and 2008's plot driver.
inst="$drive_c/Trabex/Q-Ostrevo"
expect "install folder" "$(printf '%s\n' InstalledFiles.lst Trabex.prt5 Trabex2008.ARX Trabex2010.ARX \
  Trabex2015.ARX Trabex扩展绘图库 TrabexTrustedPath.exe Uninstall.exe | sort)" "$(ls "$inst" 2>/dev/null | sort)"
expect "library drawing" dwg "$(cat "$inst/Trabex扩展绘图库/门窗.dwg" 2>/dev/null)"
cmp -s "$uninstall_exe" "$inst/Uninstall.exe" || fail "Uninstall.exe in the install folder is not the shipped one"
acadc="$drive_c/Program Files"
for f in "AutoCAD 2008" "AutoCAD 2010" "Autodesk/AutoCAD 2016" "Autodesk/AutoCAD Mechanical 2016"; do
  expect "$f font" Trabex_EN.shx "$(cat "$acadc/$f/Fonts/Trabex_EN.shx" 2>/dev/null)"
  expect "$f font" Trabex_HZ.shx "$(cat "$acadc/$f/Fonts/Trabex_HZ.shx" 2>/dev/null)"
done
[ -e "$acadc/Autodesk/AutoCAD 2018/Fonts/Trabex_EN.shx" ] && fail "fonts placed for AutoCAD 2018"
expect "2008 plot driver" Trabex.prt5 "$(cat "$acadc/AutoCAD 2008/Drv/pdfplot9.hdi" 2>/dev/null)"
expect "2008 plot driver backup" "AutoCAD's own PDF plot driver" \
  "$(cat "$acadc/AutoCAD 2008/Drv/pdfplot9.hdi.bak" 2>/dev/null)"
expect "2010 plot driver" "AutoCAD's own PDF plot driver" "$(cat "$acadc/AutoCAD 2010/Drv/pdfplot9.hdi" 2>/dev/null)"
# Apps & Features, in the 32-bit view only.
e="$work/entry.txt"
expect "entry DisplayName" 'Ostrevo软件（32位 AutoCAD版）' "$(regval "$e" "$entry" DisplayName)"
expect "entry InstallLocation" "$q" "$(regval "$e" "$entry" InstallLocation)"
expect "entry UninstallString" "\"$q\\Uninstall.exe\"" "$(regval "$e" "$entry" UninstallString)"
expect "entry QuietUninstallString" "\"$q\\Uninstall.exe\" /S" "$(regval "$e" "$entry" QuietUninstallString)"
[ -s "$work/entry64.txt" ] && fail "an Apps & Features entry in the 64-bit view"
# The log: UTF-8 with a byte-order mark, a line per step.
[ "$(od -An -tx1 -N3 "$log" 2>/dev/null | tr -d ' ')" = efbbbf ] || fail "the log does not start with a UTF-8 byte-order mark"
for line in '找到 AutoCAD 2008：C:\Program Files\AutoCAD 2008' "安装路径：$q" \
            "已复制：$q\\Trabex扩展绘图库\\门窗.dwg" \
            "已注册：AutoCAD 2008: $acad\\$p2008\\Applications\\Trabex2008" \
            "受信任路径已写入：$user_acad\\$p2008\\$unnamed" \
            '已写入：C:\Program Files\AutoCAD 2008\Drv\pdfplot9.hdi' \
            "已写入“应用和功能”条目：$entry" \
            '消息 [Q-工具箱安装] 安装完成，重启CAD即可使用 !' '结束，退出代码 0'; do
  grep -qF -- "$line" "$log" || fail "the log lacks: $line"
done
grep -q '未能' "$log" && fail "the log names something not done: $(grep '未能' "$log")"
[ "$failed" = 0 ] || { echo "--- setup.log"; cat "$log"; exit 1; }
echo "installed: registrations (32-bit view), TRUSTEDPATHS, files, Apps & Features entry, log ($(elapsed))"

# ---- The installed Uninstall.exe /S; its copy below %TEMP% finishes the folder.
echo "Uninstall.exe /S ..."
run_program 'C:\Trabex\Q-Ostrevo\Uninstall.exe' /S '/LOG=C:\users\Public\uninstall.log'
code=$?
echo "Uninstall.exe ended with $code ($(elapsed))"
ulog="$drive_c/users/Public/uninstall.log"
[ "$code" = 0 ] || { echo "FAIL: Uninstall.exe /S exit code $code, not 0"; cat "$ulog" 2>/dev/null; exit 1; }
while [ -e "$drive_c/Trabex" ] && [ "$(date +%s)" -lt "$deadline" ]; do
  sleep 1
done
echo "install folder gone after $(elapsed)"
emulation_off

export_key "$acad" /reg:32 machine-after
export_key "$user_acad" /reg:64 user
export_key "$entry" /reg:32 entry
[ -e "$drive_c/Trabex" ] && fail "C:\\Trabex is still there: $(cd "$drive_c" && find Trabex)"
diff "$work/machine-before.txt" "$work/machine-after.txt" >/dev/null \
  || fail "AutoCAD's keys differ from before the install: $(diff "$work/machine-before.txt" "$work/machine-after.txt")"
expect "2008 TRUSTEDPATHS after" 'C:\TOOLS\LISP' "$(trusted "$p2008\\$unnamed")"
expect "2016 TRUSTEDPATHS after" 'D:\COMPANY\BLOCKS\...;C:\TRABEX\Q-OSTREVO2' "$(trusted "$p2016\\$unnamed")"
for profile in "$p2010\\$unnamed" "$p2010\\Profiles\\Drafting\\Variables" "$p2016m\\$unnamed"; do
  case "$(trusted "$profile")" in '<absent>'|'') ;; *) fail "TRUSTEDPATHS of $profile after: $(trusted "$profile")" ;; esac
done
[ -s "$work/entry.txt" ] && fail "the Apps & Features entry is still there"
expect "2008 plot driver after" "AutoCAD's own PDF plot driver" "$(cat "$acadc/AutoCAD 2008/Drv/pdfplot9.hdi" 2>/dev/null)"
[ -e "$acadc/AutoCAD 2008/Drv/pdfplot9.hdi.bak" ] && fail "pdfplot9.hdi.bak is still there"
expect "fonts stay" Trabex_EN.shx "$(cat "$acadc/AutoCAD 2008/Fonts/Trabex_EN.shx" 2>/dev/null)"
for line in "已删除“应用和功能”条目：$entry" '结束，退出代码 0'; do
  grep -qF -- "$line" "$ulog" || fail "the uninstall log lacks: $line"
done
[ "$failed" = 0 ] || { echo "--- uninstall.log"; cat "$ulog"; exit 1; }
echo "removed: registrations, TRUSTEDPATHS entries, install folder, Apps & Features entry ($(elapsed))"
echo "i686 SetUp.exe and Uninstall.exe ($mode): every check passed"
