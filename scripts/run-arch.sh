#!/usr/bin/env bash
# Prints the Windows architecture whose programs this machine can run under Wine:
# i686 (the product's own) when 32-bit Linux programs start here natively, else x86_64.
# Some virtual machines run no 32-bit Linux code at all, so Wine's 32-bit loader
# cannot start there; the tests then run a 64-bit build of the same sources.
#
# "Starts" is not enough: a binfmt_misc handler for 32-bit x86 programs (qemu-user)
# makes Wine's loader start there too, emulated and about a hundred times slower.
# The kernel asks binfmt_misc before its own ELF loader, so while such a handler
# is enabled every 32-bit program goes through it, even on a machine that could
# run it natively. One left behind by a killed run must never turn the test suite
# or a benchmark into an emulated one: with such a handler present the answer is
# x86_64, whatever the loader does.
set -u
if [ -n "${TRABEX_RUN_ARCH:-}" ]; then echo "$TRABEX_RUN_ARCH"; exit 0; fi
loader=/usr/lib/wine/wine

# Succeeds when an enabled handler in the binfmt_misc folder $1 matches the
# first bytes of the 32-bit loader (hex in $2), as the kernel compares them:
# ((byte ^ magic) & mask) == 0 over the magic's length, from the offset.
handler_in() {
  local dir=$1 head=$2 entry
  [ "$(cat "$dir/status" 2>/dev/null)" = enabled ] || return 1
  for entry in "$dir"/*; do
    case "$(basename "$entry")" in register|status) continue ;; esac
    local state="" offset=0 magic="" mask="" key value
    while read -r key value; do
      case "$key" in
        enabled|disabled) state=$key ;;
        offset) offset=$value ;;
        magic) magic=$value ;;
        mask) mask=$value ;;
      esac
    done < "$entry"
    [ "$state" = enabled ] && [ -n "$magic" ] || continue
    local i n=$(( ${#magic} / 2 )) match=1
    for (( i = 0; i < n; i++ )); do
      local m=$(( 16#${magic:2*i:2} )) k=255 h
      [ -n "$mask" ] && k=$(( 16#${mask:2*i:2} ))
      h=${head:2*(offset+i):2}
      [ -n "$h" ] || { match=0; break; }
      if (( ((16#$h ^ m) & k) != 0 )); then match=0; break; fi
    done
    [ "$match" = 1 ] && return 0
  done
  return 1
}

# Whether any handler would take Wine's 32-bit loader. Where binfmt_misc is not
# mounted, handlers registered earlier may still be in force: as root, look at
# them through a mount that only this check's own mount namespace sees.
i386_handler() {
  [ -r "$loader" ] || return 1
  local head
  head=$(od -An -v -tx1 -N256 "$loader" | tr -d ' \n')
  if [ -e /proc/sys/fs/binfmt_misc/status ]; then
    handler_in /proc/sys/fs/binfmt_misc "$head"
    return
  fi
  [ "$(id -u)" = 0 ] || return 1
  unshare --mount --propagation private bash -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || exit 1
    '"$(declare -f handler_in)"'
    handler_in /proc/sys/fs/binfmt_misc "$1"' _ "$head" 2>/dev/null
}

# Checked before and after the loader's start: a handler registered meanwhile
# may have been what let it start.
if ! i386_handler && [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1 && ! i386_handler; then
  echo i686
else
  echo x86_64
fi
