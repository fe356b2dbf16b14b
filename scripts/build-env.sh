# Sourced by the test, demo and benchmark scripts: installs what is missing,
# then configures and builds this machine's build folder.
#   trabex_build BUILD_TYPE [TARGET...]   -> sets root, arch, build
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

trabex_configure() {  # FOLDER ARCH BUILD_TYPE [cmake options...]
  local folder=$1 a=$2 type=$3
  shift 3
  cmake -S "$root" -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$a.cmake" \
        -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
}

trabex_build() {
  local type=$1
  shift
  bash "$root/scripts/setup-deps.sh"
  arch=$(bash "$root/scripts/run-arch.sh")
  build="$root/build/$arch"
  trabex_configure "$build" "$arch" "$type" -DBUILD_TESTING=ON
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$build" -j2 "${targets[@]}"
}
