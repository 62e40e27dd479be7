#!/usr/bin/env bash
# Installs every Debian package the program, its companions and its tests need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools
  libgl-dev
  zlib1g-dev libdeflate-dev
  libgtest-dev libgmock-dev
  gcc-mingw-w64-i686 g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xdotool
  zip unzip 7zip python3 libarchive-tools xdg-utils udisks2 desktop-file-utils libglib2.0-bin
  xvfb xauth x11-apps imagemagick
  at-spi2-core python3-dbus
  dosfstools
)

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

# Wine's 32-bit loader (wine32:i386) runs the self-extractor stub in the tests.
# On kernels without 32-bit support the tests use wine64 and a 64-bit build
# of the same stub (x86-64 MinGW).
added_arch=
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  added_arch=yes
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "$added_arch" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
