#!/usr/bin/env bash
# Runs the real program (the shadow-mapping demo, or the one named) for many frames in an
# ASan+LSan build under Xvfb. Fails on a leak reported at exit or on heap growth after the
# warm-up, which the heap probe linked into this copy of the program measures frame by frame.
#   scripts/soak.sh [FRAMES] [DEMO]      default 2000 frames of the shadow-mapping demo
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-2000}
demo=${2:-shadow}
dir=${ZARVO_SOAK_BUILD:-build-asan}
# The same configuration as the sanitizer test build, so the two share one tree.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DZARVO_SANITIZE=ON \
  -DZARVO_BUILD_TESTS=ON -DZARVO_BUILD_TOOLS=ON >/dev/null
cmake --build "$dir" -j2 --target zarvo_heap_probe zarvo_assets_data

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
# Mesa's software anisotropic filtering can stall single frames for minutes.
export MESA_EXTENSION_OVERRIDE=${MESA_EXTENSION_OVERRIDE--GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic}
export ASAN_OPTIONS=detect_leaks=1
# Mesa's driver is unloaded when the display closes, before the leak check runs; its
# allocations would then be reported from an unknown module that no suppression can name.
# Loading it up front (after the sanitizer runtime, which must come first) keeps it mapped.
# Only the program gets it, not Xvfb.
preload=""
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1 || true)
[ -n "$driver" ] && preload="$(gcc -print-file-name=libasan.so) $driver"
export LSAN_OPTIONS="suppressions=$out/lsan.supp:print_suppressions=0"
# A private server from a random display number; one that fails to start is retried.
for attempt in 1 2; do
  status=0
  xvfb-run -a -n "$((200 + RANDOM % 5000))" -s "-screen 0 1024x768x24 -noreset" \
    env LD_PRELOAD="$preload" "$dir/tests/zarvo_heap_probe" --demo "$demo" --windowed --frames "$frames" \
    >"$out/output.txt" 2>&1 || status=$?
  grep -q "Xvfb failed to start" "$out/output.txt" || break
  echo "Xvfb did not start (attempt $attempt); retrying."
  sleep 2
done
echo "exit status: $status"
grep -E "ERROR: LeakSanitizer|SUMMARY: AddressSanitizer|^heap probe" "$out/output.txt" || true
echo "full output: $out/output.txt"
failed=$status
grep -q "ERROR: LeakSanitizer\|SUMMARY: AddressSanitizer" "$out/output.txt" && failed=1
grep -q "heap steady" "$out/output.txt" || failed=1
if [ "$failed" -ne 0 ]; then
  tail -n 150 "$out/output.txt"
  exit 1
fi
echo "$demo: no leak, heap steady"
