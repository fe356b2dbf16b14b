# Sourced by the shell tests: every reg.exe call names its registry view.
# HKEY_LOCAL_MACHINE in the view of the program under test (its own);
# HKEY_CURRENT_USER in the 64-bit view, as the programs open the user's hive
# (Windows keeps one user tree for both views; Wine redirects a 32-bit plain
# open below Software once Software\Wow6432Node exists).
user_view=/reg:64
# pe_view FILE: /reg:64 for an x86_64 program, /reg:32 for an i686 one.
pe_view() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
  if [ "$machine" = 8664 ]; then echo /reg:64; else echo /reg:32; fi
}
