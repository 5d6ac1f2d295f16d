#!/usr/bin/env bash
# Makes sure the Debian packages the build and the tests need are present; with --play only
# those that building and playing the game need.
# As root it installs what is missing; otherwise it prints the one apt-get line to run.
set -euo pipefail

# The font every window uses; the Wayland plugin for a desktop without an X display.
packages=(cmake g++ make pkg-config qt6-base-dev libx11-dev libxcb1-dev fonts-liberation qt6-wayland)
[ "${1:-}" = --play ] ||
  packages+=(libgtest-dev libbenchmark-dev xvfb xdotool openbox x11-utils x11-xserver-utils
             imagemagick desktop-file-utils appstream weston xwayland)
case "${1:-}" in
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  --mutate) packages+=(python3) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run this once, then try again:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
