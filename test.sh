#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh          build into build/ and run all tests
#   ./test.sh --asan   the same in build-asan/ with AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
plix_install_deps

build=build
flags=()
if [ "${1:-}" = "--asan" ]; then
  build=build-asan
  flags+=(-DPLIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)"
