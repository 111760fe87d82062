#!/usr/bin/env bash
# Runs the shadow-mapping demo for many frames in an ASan+LSan build under Xvfb and
# reports leaks (at exit) and the resident size over the run (heap growth).
#   scripts/soak.sh [FRAMES]      default 2000
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-2000}
dir=build-asan
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVO_SANITIZE=ON \
  -DZARVO_BUILD_TESTS=OFF -DZARVO_BUILD_TOOLS=ON >/dev/null
cmake --build "$dir" -j2 --target zarvo zarvo_assets_data

out=$(mktemp -d)
# Mesa, LLVM, X and SDL keep allocations for the life of the process; engine code is not
# suppressed.
cat >"$out/lsan.supp" <<'SUPP'
leak:libGLX_mesa
leak:libgallium
leak:swrast_dri
leak:libLLVM
leak:libX11
leak:libxcb
leak:libSDL
leak:libdbus
leak:libasound
SUPP
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$out/lsan.supp:print_suppressions=0"
xvfb-run -a -n "$((200 + RANDOM % 5000))" -s "-screen 0 1024x768x24 -noreset" \
  "$dir/zarvo" --windowed --frames "$frames" >"$out/output.txt" 2>&1 &
runner=$!
echo "seconds rss_kB" >"$out/rss.txt"
start=$SECONDS
while kill -0 "$runner" 2>/dev/null; do
  pid=$(pgrep -n -f "^$dir/zarvo --windowed --frames $frames" || true)
  if [ -n "$pid" ]; then
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$rss" ] && echo "$((SECONDS - start)) $rss" >>"$out/rss.txt"
  fi
  sleep 5
done
status=0
wait "$runner" || status=$?
echo "exit status: $status"
grep -E "ERROR: LeakSanitizer|SUMMARY: AddressSanitizer" "$out/output.txt" || echo "no leak reported"
echo "resident size over the run (seconds, kB):"
cat "$out/rss.txt"
echo "full output: $out/output.txt"
exit "$status"
