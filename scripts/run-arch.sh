#!/usr/bin/env bash
# Prints the Windows architecture whose programs this machine can run under Wine:
# i686 (the product's own) when 32-bit Linux programs start here, else x86_64.
# Some virtual machines run no 32-bit Linux code at all, so Wine's 32-bit loader
# cannot start there; the tests then run a 64-bit build of the same sources.
if [ -n "${TRABEX_RUN_ARCH:-}" ]; then echo "$TRABEX_RUN_ARCH"; exit 0; fi
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo i686
else
  echo x86_64
fi
