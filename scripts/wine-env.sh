# Sourced by the test and demo scripts: prepares a build folder's Wine prefix,
# an X display and a persistent wineserver.  Never touches ~/.wine.
#   wine_env_up BUILD_DIR [PREFIX]  -> exports WINEPREFIX (default BUILD_DIR/wineprefix),
#                                      TRABEX_DISPLAY
#   wine_env_down           -> stops the server and the Xvfb it started

wine_env_server() {
  if [ "$(basename "$TRABEX_WINE")" = wine64 ]; then echo /usr/lib/wine/wineserver64; else echo wineserver; fi
}

wine_env_up() {
  local build=$1
  export WINEPREFIX="${2:-$build/wineprefix}" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml="
  TRABEX_WINE=$(sed -n 's/^exec "\(.*\)" "\$@"$/\1/p' "$build/wine-run.sh")
  export TRABEX_WINE

  # An X display: the user's own when set (and asked for), else a private Xvfb.
  local managed=Y
  if [ -n "${TRABEX_DISPLAY:-}" ]; then
    :
  else
    managed=N
    local n
    for n in $(seq 91 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      TRABEX_XVFB_PID=$!
      # Wait until the server answers, not just until its socket exists.
      for _ in $(seq 100); do DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
      export TRABEX_DISPLAY=":$n"
      break
    done
  fi
  export DISPLAY="$TRABEX_DISPLAY"

  if [ ! -f "$WINEPREFIX/.trabex-ready" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once per build folder)..."
    rm -rf "$WINEPREFIX"
    "$TRABEX_WINE" wineboot -i >/dev/null 2>&1 || true
    "$(wine_env_server)" -w
    # Wine has no SimSun: let the dialog font "宋体" render with WenQuanYi Zen Hei.
    local reg="$WINEPREFIX.fonts.reg"
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"宋体"="WenQuanYi Zen Hei"\r\n"SimSun"="WenQuanYi Zen Hei"\r\n"NSimSun"="WenQuanYi Zen Hei"\r\n' \
      | iconv -f UTF-8 -t UTF-16 > "$reg"
    "$TRABEX_WINE" regedit /S "$reg" >/dev/null 2>&1 || true
    "$(wine_env_server)" -w
    touch "$WINEPREFIX/.trabex-ready"
  fi
  # One server for the whole run keeps each program start fast.
  "$(wine_env_server)" -p >/dev/null 2>&1 || true
  # Start Wine's session services now, with no pipe of ours inherited: a service
  # started by the first test would hold ctest's output pipe open until the timeout.
  # Asking for the drives' volumes waits for the mount manager; the folder browser
  # started in a session whose devices are still coming up can stall for minutes.
  "$TRABEX_WINE" cmd /c "vol c: & vol z:" </dev/null >/dev/null 2>&1 || true
  sleep 2
  # Xvfb has no window manager: unmanaged windows spare Wine its wait (about two
  # seconds) for a manager's answer each time a window is hidden.
  "$TRABEX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f \
    </dev/null >/dev/null 2>&1 || true
}

wine_env_down() {
  "$(wine_env_server)" -k >/dev/null 2>&1 || true
  # Let the old session end before another can start on the same prefix.
  timeout 30 "$(wine_env_server)" -w >/dev/null 2>&1 || true
  if [ -n "${TRABEX_XVFB_PID:-}" ]; then kill "$TRABEX_XVFB_PID" 2>/dev/null || true; fi
}
