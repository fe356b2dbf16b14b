# Sourced by the benchmarks: says which build the figures belong to.
bench_arch_note() {
  echo "Architecture measured: $arch"
  if [ "$arch" != i686 ]; then
    echo "NOTE: this machine cannot start 32-bit programs; these figures are the x86_64"
    echo "      stand-in's, NOT those of the shipped (i686) program."
  else
    echo "      (the shipped program's own build)"
  fi
}
