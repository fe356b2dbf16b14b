#!/usr/bin/env bash
# Points a linked program's header at its load configuration (app/LoadConfig.c):
# GNU ld 2.40 emits the structure but leaves the header's load configuration
# entry (data directory 10) empty, so the loader would never read it.
#   LoadConfig.sh PROGRAM MAP_FILE OBJDUMP
set -euo pipefail
program=$1 map=$2 objdump=$3
fail() { echo "LoadConfig.sh: $program: $*" >&2; exit 1; }
# The structure's address as the linker placed it (the program itself is stripped).
vma=$(awk '($2 == "_load_config_used" || $2 == "__load_config_used") && !found { print $1; found = 1 }' "$map")
[ -n "$vma" ] || fail "no _load_config_used in $map"
header=$("$objdump" -p "$program")
base=$(awk '$1 == "ImageBase" { print $2 }' <<< "$header")
[ -n "$base" ] || fail "no image base"
rva=$(( vma - 0x$base ))
u32() { od -An -tu4 -j "$1" -N4 "$program" | tr -d ' '; }
u16() { od -An -tu2 -j "$1" -N2 "$program" | tr -d ' '; }
pe=$(u32 60)
optional=$(( pe + 24 ))
case $(u16 "$optional") in
  267) directories=$(( optional + 96 )) ;;   # PE32
  523) directories=$(( optional + 112 )) ;;  # PE32+
  *) fail "not a PE32 or PE32+ image" ;;
esac
[ "$(u32 $(( directories - 4 )))" -gt 10 ] || fail "the header has no load configuration entry"
# The structure's own first field is its size; the entry gives the same.
dump=$("$objdump" -s --start-address="$vma" --stop-address=$(( vma + 4 )) "$program")
size=$(awk '/^ [0-9a-f]+ / && !found { print $2; found = 1 }' <<< "$dump")
[ ${#size} = 8 ] || fail "the structure cannot be read"
size=$(( 0x${size:6:2}${size:4:2}${size:2:2}${size:0:2} ))
le32() { printf '\\%03o\\%03o\\%03o\\%03o' $(( $1 & 255 )) $(( ($1 >> 8) & 255 )) $(( ($1 >> 16) & 255 )) $(( $1 >> 24 )); }
printf "$(le32 "$rva")$(le32 "$size")" | dd of="$program" bs=1 seek=$(( directories + 10 * 8 )) conv=notrunc status=none
header=$("$objdump" -p "$program")
# objdump writes the address in 8 or 16 digits, by the image's kind.
grep -Eq "^Entry a 0*$(printf %x "$rva") $(printf %08x "$size") Load Configuration Directory" <<< "$header" ||
  fail "the load configuration entry did not take: $(grep "^Entry a" <<< "$header")"
