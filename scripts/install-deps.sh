#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the engine need.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
  libglew-dev libglu1-mesa-dev libgl1-mesa-dri
  xvfb xauth
  libgtest-dev libbenchmark-dev
  libfreetype-dev fonts-dejavu-core libpng-dev libjpeg62-turbo-dev
  libjpeg-turbo-progs imagemagick libassimp-dev assimp-utils
  libxml2-dev libpugixml-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "All build and test dependencies are installed."
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
