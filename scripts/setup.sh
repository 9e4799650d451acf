#!/usr/bin/env bash
# Installs every Debian package Hemorune needs to build, play and test; only what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    libsdl2-dev libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
    libopenal-dev libopenal1 libalut-dev libftgl-dev libfreetype-dev
    fontconfig libfontconfig-dev fonts-dejavu-core
    espeak-ng
    libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libpng-dev
    clang-14 libclang-rt-14-dev
    xvfb xauth xfonts-base xdotool x11-utils imagemagick
    desktop-file-utils groff-base man-db
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
