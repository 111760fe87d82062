#!/bin/sh
# The engine's frame overhead on the shadow-mapping demo: bench/demo_frames (the engine)
# against bench/demo_frames_raw (the same frame in plain SDL + GL), run alternately under
# one Xvfb so both see the same drift of this machine.
#   scripts/bench-demo.sh [ROUNDS] [WARMUP] [FRAMES]     defaults 5, 30, 300
# BUILD_DIR (default build-bench) names a build made with -DZARVO_BUILD_BENCH=ON.
# Prints each round's figures, then the median of the per-round ratios (engine / raw).
set -eu
cd "$(dirname "$0")/.."
rounds=${1:-5}
warmup=${2:-30}
frames=${3:-300}
build=${BUILD_DIR:-build-bench}

if [ -z "${ZARVO_BENCH_INNER:-}" ]; then
    for program in demo_frames demo_frames_raw; do
        if [ ! -x "$build/bench/$program" ]; then
            echo "missing $build/bench/$program: build with -DZARVO_BUILD_BENCH=ON" >&2
            exit 1
        fi
    done
    # llvmpipe's anisotropic sampling sometimes spins for minutes inside one frame (seen
    # with both programs), so both run with the extension hidden (ANISO=1 keeps it).
    override="-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic"
    [ "${ANISO:-0}" = 1 ] && override=""
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
        env ZARVO_BENCH_INNER=1 SDL_AUDIODRIVER=dummy MESA_EXTENSION_OVERRIDE="$override" \
        "$0" "$rounds" "$warmup" "$frames"
fi

# One run: its "startup_ms S median_ms M p95_ms P fastest_ms F" line, or nothing.
measure() {
    nice "$build/bench/$1" "$warmup" "$frames" 2>&1 >/dev/null | grep '^startup_ms' || true
}

results=$(mktemp)
trap 'rm -f "$results"' EXIT
echo "rounds $rounds, warm-up $warmup, frames $frames (times in ms)"
round=1
while [ "$round" -le "$rounds" ]; do
    # The order flips each round so neither program always runs right after the other.
    if [ $((round % 2)) -eq 1 ]; then
        engine=$(measure demo_frames)
        raw=$(measure demo_frames_raw)
    else
        raw=$(measure demo_frames_raw)
        engine=$(measure demo_frames)
    fi
    if [ -z "$engine" ] || [ -z "$raw" ]; then
        echo "round $round: a run failed (engine: '$engine', raw: '$raw')" >&2
        exit 1
    fi
    echo "$round $engine $raw" | awk '{
        printf "round %d  engine: startup %7.1f median %6.2f p95 %7.2f fastest %6.2f\n", $1, $3, $5, $7, $9
        printf "         raw:    startup %7.1f median %6.2f p95 %7.2f fastest %6.2f", $13, $15, $17, $19
        printf "   ratios: median %.3f fastest %.3f startup %.3f\n", $5 / $15, $9 / $19, $3 / $13
    }'
    echo "$engine $raw" >>"$results"
    round=$((round + 1))
done

# Column of per-round ratios a/b, sorted, then its median.
median_ratio() {
    awk -v a="$1" -v b="$2" '{ print $a / $b }' "$results" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# Fields: engine 2 startup, 4 median, 8 fastest; raw 12 startup, 14 median, 18 fastest.
echo "median of per-round median-frame ratios (engine/raw): $(median_ratio 4 14)"
echo "median of per-round fastest-frame ratios:             $(median_ratio 8 18)"
awk '{ e = (NR == 1 || $8 < e) ? $8 : e; r = (NR == 1 || $18 < r) ? $18 : r }
     END { printf "fastest frame over all rounds: engine %.2f raw %.2f ratio %.3f\n", e, r, e / r }' \
    "$results"
echo "median of per-round start-up ratios:                  $(median_ratio 2 12)"
