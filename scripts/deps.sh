# Sourced by scripts/test and scripts/demo: installs what the build needs from
# Debian's packages when it is missing.
rv_packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev libcli11-dev ccache pkg-config binutils qt6-base-dev)

# What scripts/fuzz adds: clang with its libFuzzer and sanitizer runtimes.
rv_fuzz_packages=(clang libclang-rt-dev)

rv_missing_packages() {
  local missing=() p
  for p in "${rv_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  echo "${missing[@]}"
}

rv_install_deps() {
  local missing
  missing=$(rv_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "Missing packages: $missing" >&2
    echo "Install them with: sudo apt-get install $missing" >&2
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq $missing >/dev/null
}

# Configures and builds one variant into build/<name>: every target, or those
# named in RV_TARGETS.
rv_build() {
  local name=$1 sanitize=$2; shift 2
  # ccache hits across checkouts of the project: paths are taken relative to
  # the checkout, and the build directory is not part of the hash.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$rv_root}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
  local dir="$rv_root/build/$name"
  cmake -S "$rv_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${RV_BUILD_TYPE:-RelWithDebInfo}" \
    -DRV_SANITIZE="$sanitize" -DRV_WERROR="${RV_WERROR:-ON}" "$@" >/dev/null
  # shellcheck disable=SC2086
  cmake --build "$dir" -j "${RV_JOBS:-$(nproc)}" ${RV_TARGETS:+--target $RV_TARGETS}
}
