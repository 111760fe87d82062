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
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DZARVO_SANITIZE=ON -DZARVO_WERROR=ON >/dev/null
  cmake --build "$dir" -j"$jobs"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$dir" -L cpu --output-on-failure -j"$jobs"
  exit 0
fi

dir=build
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVO_WERROR=ON >/dev/null
cmake --build "$dir" -j"$jobs"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
if [ -n "${DISPLAY:-}" ]; then
  exec ctest --test-dir "$dir" --output-on-failure -j"$jobs"
fi
# The GL tests share one private X server. -noreset keeps it up between test programs:
# without it Xvfb resets when the last client leaves and refuses the next program's
# connection meanwhile. The display number starts from a random point so that other
# runs on the same machine do not race for it; a server that fails to start is retried.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for attempt in 1 2; do
  status=0
  xvfb-run -a -n "$((200 + RANDOM % 5000))" -s "-screen 0 1024x768x24 -noreset" ctest --test-dir "$dir" --output-on-failure -j"$jobs" \
    2>&1 | tee "$log" || status=$?
  [ "$status" -eq 0 ] && exit 0
  grep -q "Xvfb failed to start" "$log" || exit "$status"
  echo "Xvfb did not start (attempt $attempt); retrying."
  sleep 2
done
exit 1
