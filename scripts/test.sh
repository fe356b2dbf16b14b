#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine.
#   scripts/test.sh            all tests
#   scripts/test.sh -R acad    only the ctest entries matching "acad"
set -euo pipefail
source "$(dirname "$0")/build-env.sh"
trabex_build Release

if [ "$arch" != i686 ]; then
  echo "NOTE: this machine cannot start 32-bit Linux programs, so Wine's 32-bit loader"
  echo "      does not run here; the tests run an x86_64 build of the same sources."
  echo "      The i686 SetUp.exe and test programs are still built (build/i686)."
  trabex_configure "$root/build/i686" i686 Release -DBUILD_TESTING=ON -DTRABEX_WITH_EDITION64=OFF
  cmake --build "$root/build/i686" -j2
fi

source "$root/scripts/wine-env.sh"
wine_env_up "$build"
trap wine_env_down EXIT
# A test program that fails is run once more: Wine's shell, started cold, now and
# then fails to open its folder browser at all. A real fault fails both times.
ctest --test-dir "$build" --output-on-failure -j2 --repeat until-pass:2 "$@"
