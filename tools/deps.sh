#!/usr/bin/env bash
# Installs the Debian packages Tallybrook needs, only those that are missing.
# Usage: tools/deps.sh build|test|run|fuzz|bench|sidebyside
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libsimdjson-dev
            fonts-inter)
run_pkgs=(libqt6svg6 qt6-qpa-plugins fonts-inter)
test_pkgs=(qt6-qpa-plugins xvfb xauth openbox tint2 xdotool imagemagick x11-utils desktop-file-utils appstream dpkg-dev
           file util-linux locales
           dbus-daemon at-spi2-core python3-pyatspi clang-format syncthing poppler-utils)

want=("${build_pkgs[@]}")
case "${1:-build}" in
    build) ;;
    test) want+=("${test_pkgs[@]}") ;;
    run) want+=("${run_pkgs[@]}") ;;
    fuzz) want+=(clang-14 libclang-rt-14-dev) ;;
    bench) want+=(libbenchmark-dev) ;;
    # bench/sidebyside.py: HomeBank to compare with, a private X server, the window probe's X headers
    sidebyside) want+=(libbenchmark-dev homebank xvfb xauth openbox tint2 x11-utils xdotool imagemagick libx11-dev libxext-dev libxdamage-dev) ;;
    *) echo "usage: $0 build|test|run|fuzz|bench|sidebyside" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
