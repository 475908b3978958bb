#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing, fuzzing, benchmarking and packaging
# Quillbox need, and only those still missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev libgl-dev
    libxcb1-dev libxcb-keysyms1-dev libsodium-dev
    clang libclang-rt-14-dev
    xvfb xauth openbox trayer xdotool xclip x11-utils imagemagick
    fonts-dejavu-core python3
    desktop-file-utils appstream dpkg-dev fakeroot file librsvg2-bin dbus-daemon
    g++-mingw-w64-x86-64-posix wine64
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    ((EUID == 0)) || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
