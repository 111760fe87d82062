#!/usr/bin/env bash
# Line and branch coverage of the engine from the whole test suite (not part of CI).
# Builds with gcov instrumentation in build-coverage/, runs every test program under one
# private Xvfb, then summarises the engine folders with gcovr.
#   scripts/coverage.sh            build, run, summarise
#   scripts/coverage.sh --report   summarise the last run only
# BUILD_DIR overrides the build folder; JOBS the parallel build and test jobs (default 2);
# ZARVO_CORPUS the shared corpus when the checkout does not sit beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build-coverage}
jobs=${JOBS:-2}

if ! command -v gcovr >/dev/null; then
  echo "gcovr is missing: installing it from Debian"
  if [ "$(id -u)" -eq 0 ]; then apt-get install -y gcovr; else sudo apt-get install -y gcovr; fi
fi

if [ "${1:-}" != "--report" ]; then
  # No compiler cache here: objects shared with other checkouts can carry source paths
  # that gcov cannot resolve from this build folder.
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS="--coverage -O0" -DCMAKE_CXX_FLAGS="--coverage -O0" \
    -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
  cmake --build "$dir" -j"$jobs"
  find "$dir" -name '*.gcda' -delete

  # The corpus tests skip themselves without the corpus, which lowers the figures.
  corpus=${ZARVO_CORPUS:-$PWD/../shared/corpus}
  [ -d "$corpus" ] || echo "warning: no corpus at $corpus (set ZARVO_CORPUS); corpus tests skip" >&2

  # A failing test still leaves its counts, so the summary is printed either way and
  # the script's status reports the failures afterwards.
  export SDL_AUDIODRIVER=dummy
  status=0
  xvfb-run -a -n "$((200 + RANDOM % 5000))" -s "-screen 0 1024x768x24 -noreset" \
    ctest --test-dir "$dir" -j"$jobs" --output-on-failure || status=$?
fi

# Engine folders only: tests, tools and benchmarks are not counted.
filters=()
for folder in core math image render3d models scene2d gui sound demos; do
  filters+=(--filter "$PWD/$folder/")
done
gcovr -r . "$dir" "${filters[@]}" \
  --exclude-throw-branches --exclude-unreachable-branches \
  --txt "$dir/coverage.txt" --print-summary
echo "per-file table: $dir/coverage.txt"
exit "${status:-0}"
