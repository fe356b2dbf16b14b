#!/usr/bin/env bash
# The main job: builds SetUp.exe and its distribution folder, makes a simulated
# machine in a Wine prefix of its own (AutoCAD 2008, 2010, 2016 and 2018
# registered, profiles with trusted paths), and runs the setup on it.
#   With DISPLAY set, the dialog opens on your display for you to use.
#   Without one (or with TRABEX_HEADLESS=1) it runs under Xvfb, is driven to the
#   end as a user would, and leaves screenshots in build/<arch>/demo/shots.
# Either way it ends by printing what was installed.
set -euo pipefail
source "$(dirname "$0")/build-env.sh"
trabex_build Release dist demo_driver >/dev/null
dist="$build/dist/Q-Ostrevo-for-AutoCAD-32bit"
echo "Built $build/dist (per AutoCAD edition: SetUp.exe beside Data, and the zip)."

mode=auto
if [ -n "${DISPLAY:-}" ] && [ -z "${TRABEX_HEADLESS:-}" ]; then
  export TRABEX_DISPLAY="$DISPLAY"
  mode=interactive
fi
demo="$build/demo"
mkdir -p "$demo"
source "$root/scripts/wine-env.sh"
wine_env_up "$build" "$demo/wineprefix"
trap wine_env_down EXIT
export TRABEX_WINEPREFIX="$WINEPREFIX"

# The distribution folder as the user unpacked it.
target="$WINEPREFIX/drive_c/users/Public/Downloads/Q-Ostrevo"
rm -rf "$target"
mkdir -p "$(dirname "$target")"
cp -r "$dist" "$target"
rm -rf "$demo/shots" && mkdir -p "$demo/shots"

"$build/wine-run.sh" "$build/tests/demo_driver.exe" 'C:\users\Public\Downloads\Q-Ostrevo' \
    "Z:${demo//\//\\}\\shots" "$mode"

if [ "$mode" = auto ]; then
  for bmp in "$demo"/shots/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
  echo
  echo "Screenshots: $(ls "$demo"/shots/*.png | tr '\n' ' ')"
fi
