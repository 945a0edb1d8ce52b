#!/usr/bin/env bash
# Installs every package Vornaly needs to build, run and test on Debian or Ubuntu.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    libsdl2-dev libsdl2-mixer-dev libepoxy-dev libphysfs-dev libstb-dev libfreetype-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core sox libsox-fmt-mp3
    libgl1-mesa-dri libegl-mesa0 libegl1 libx11-dev xvfb xauth xfonts-base xdotool x11-utils x11-apps imagemagick
)

sudo=""
if [ "$(id -u)" != 0 ]; then
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
