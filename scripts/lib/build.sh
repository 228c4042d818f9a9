# Configure and build into $ORVE_BUILD_DIR (default: build/ in the checkout).
# Extra CMake arguments come from $ORVE_CMAKE_ARGS (e.g. -DORVE_SANITIZE=ON).
# Sourced by scripts/run and scripts/test.

ORVE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ORVE_BUILD_DIR="${ORVE_BUILD_DIR:-$ORVE_ROOT/build}"

orve_build() {
  # shellcheck disable=SC2086
  cmake -S "$ORVE_ROOT" -B "$ORVE_BUILD_DIR" -G Ninja ${ORVE_CMAKE_ARGS:-} >/dev/null
  cmake --build "$ORVE_BUILD_DIR" -j "$(nproc)" "$@"
}
