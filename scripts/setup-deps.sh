#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on a Debian machine.
# Fast when everything is present: it checks before it calls apt-get.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686)
have_cmd i686-w64-mingw32-windres   || need+=(binutils-mingw-w64-i686)
# The 64-bit AutoCAD edition's programs, and the test build where 32-bit programs cannot run.
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64)
have_cmd x86_64-w64-mingw32-windres   || need+=(binutils-mingw-w64-x86-64)
have_cmd cmake                      || need+=(cmake)
have_pkg wine32:i386                || need+=(wine32:i386)
have_pkg wine64                     || need+=(wine64)
have_pkg wine                       || need+=(wine)
have_cmd Xvfb                       || need+=(xvfb)
have_cmd xdotool                    || need+=(xdotool)
have_cmd zip                        || need+=(zip)
have_pkg imagemagick                || need+=(imagemagick)
have_pkg locales                    || need+=(locales)
have_pkg fonts-wqy-zenhei           || need+=(fonts-wqy-zenhei)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# Signing a release (the dist target) and its test, which makes a certificate.
have_cmd osslsigncode               || need+=(osslsigncode)
have_cmd openssl                    || need+=(openssl)

install_pkgs() {
  echo "setup-deps: installing $*"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup-deps: missing packages (${need[*]}); run as root to install them" >&2
    exit 1
  fi
  install_pkgs "${need[@]}"
fi

# Where 32-bit programs cannot start natively, the test i686_emulated runs the
# shipped i686 programs through qemu-user. Optional: without it that test skips.
if ! have_cmd qemu-i386-static && [ "$(TRABEX_RUN_ARCH='' bash "$(dirname "$0")/run-arch.sh")" != i686 ]; then
  if [ "$(id -u)" = 0 ]; then
    install_pkgs qemu-user-static
  else
    echo "setup-deps: qemu-user-static missing (run as root to install it); the i686_emulated test will skip" >&2
  fi
fi

# zh_CN.UTF-8 makes Wine's ANSI code page 936 and lets GBK file names reach the disk.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup-deps: locale zh_CN.UTF-8 missing; run as root to generate it" >&2
    exit 1
  fi
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
