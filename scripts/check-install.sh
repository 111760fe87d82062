#!/usr/bin/env bash
# Builds the engine in Release, installs it into a temporary prefix, checks the installed
# headers, builds the starter game against it twice (CMake package, then pkg-config) and
# runs it for a few frames, under Xvfb when there is no display.
#   scripts/check-install.sh [SCREENSHOT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
shot=${1:-$root/screenshots/starter.png}
mkdir -p "$(dirname "$shot")"

prefix=$(mktemp -d /tmp/zarvo-prefix.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
jobs=$(nproc 2>/dev/null || echo 2)

# Release is what a game's build uses (its tests are built too, not run); the prefix is
# compiled in as the last data root.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DZARVO_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build build-release -j"$jobs"
cmake --install build-release >/dev/null
echo "Installed into $prefix:"
(cd "$prefix" && find . -maxdepth 3 -not -path '*/include/zarvo/*/*' | sort | sed 's/^/  /')

# The installed headers are the engine's alone.
if grep -rEn '#include *["<](tests|demos|support)/|CommandLine\.h' "$prefix/include"; then
  echo "An installed header includes a test, demo or program header." >&2
  exit 1
fi
[ ! -e "$prefix/include/zarvo/demos" ] || { echo "demos/ was installed" >&2; exit 1; }

cmake -S examples/starter -B "$prefix/starter-cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/starter-cmake" -j"$jobs"
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" c++ -std=c++17 examples/starter/starter.cpp \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs zarvo) \
  -o "$prefix/starter-pkgconfig"

# Run from the game's own folder: its data there, the engine's from share/zarvo.
run() {
  (cd examples/starter && "$@" --frames 30 --screenshot "$shot")
}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
for starter in "$prefix/starter-cmake/starter" "$prefix/starter-pkgconfig"; do
  if [ -n "${DISPLAY:-}" ]; then
    run "$starter"
  else
    run xvfb-run -a -n "$((200 + RANDOM % 5000))" -s "-screen 0 1024x768x24 -noreset" "$starter"
  fi
done
[ -s "$shot" ] || { echo "The starter game saved no screenshot." >&2; exit 1; }
echo "The starter game ran against the installed engine; its last frame is $shot"
