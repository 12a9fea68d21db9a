#!/usr/bin/env bash
# Installs, from Debian's packages only, everything the build, the tests and
# the demo need. Safe to run again: it does nothing when all is there.
set -euo pipefail

packages=(
    build-essential cmake make python3 git
    googletest libbenchmark-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 wine32:i386 fonts-wine
    xvfb x11-apps x11-utils imagemagick
    clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
fi
# 32-bit Wine runs the shipped i686 build.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
