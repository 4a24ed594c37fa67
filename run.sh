#!/usr/bin/env bash
# Builds pokorinder, installing the Debian packages it needs when they are missing, then
# either starts the game (./run.sh play) or runs every test (./run.sh test).
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libx11-dev libxext-dev libfreetype-dev libfontconfig-dev
    fonts-ipafont-gothic binutils-mingw-w64-i686 libgtest-dev)
TEST_PACKAGES=(xvfb xdotool x11-utils imagemagick clang libclang-rt-14-dev g++-mingw-w64-i686
    icoutils file)

install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}

build() {  # [preset]
    cmake --preset "${1:-default}" >/dev/null
    cmake --build --preset "${1:-default}"
}

case "${1:-}" in
    play)
        install_missing "${BUILD_PACKAGES[@]}"
        build
        exec ./build/default/pokorinder
        ;;
    test)
        install_missing "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
        build
        ctest --preset default
        # The same suite with AddressSanitizer and UndefinedBehaviorSanitizer.
        build asan
        ctest --preset asan
        # Every byte reader fuzzed for a bounded time.
        build fuzz
        ctest --preset fuzz
        ;;
    *)
        echo "usage: $0 play|test" >&2
        exit 2
        ;;
esac
