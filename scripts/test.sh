#!/usr/bin/env bash
# Builds the engine and runs the whole test suite. Without a display it runs under a
# private Xvfb server, so the OpenGL tests read back real pixels from Mesa.
#   scripts/test.sh             normal build in build/, every test
#   scripts/test.sh --sanitize  ASan+UBSan build in build-asan/, the tests without GL
set -euo pipefail
cd "$(dirname "$0")/.."

mode=normal
[ "${1:-}" = "--sanitize" ] && mode=sanitize

jobs=$(nproc 2>/dev/null || echo 2)
if [ "$mode" = sanitize ]; then
  dir=build-asan
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DZARVO_SANITIZE=ON >/dev/null
  cmake --build "$dir" -j"$jobs"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$dir" -L cpu --output-on-failure -j"$jobs"
  exit 0
fi

dir=build
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$jobs"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The GL tests share one X server; a second xvfb-run started right after another can
# fail to open its display, so the whole suite runs under a single one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$dir" --output-on-failure
fi
ctest --test-dir "$dir" --output-on-failure
