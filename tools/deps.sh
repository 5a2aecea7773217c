#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tessaly needs.
# Packages already present cost nothing: apt runs only when one is missing.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6opengl6-dev
    qt6-webengine-dev libqt6webenginecore6-bin
    libgl-dev libvulkan-dev libxkbcommon-dev
    libicu-dev libuchardet-dev libsqlite3-dev
    fonts-noto-cjk fonts-droid-fallback qt6-pdf-dev
    xvfb xauth libxcb1-dev
    openssl ca-certificates
)

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
