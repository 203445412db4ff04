#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   scripts/setup.sh run    install what is missing, build, start the program
#   scripts/setup.sh test   install what is missing, build twice (plain and sanitized), run every test,
#                           then build the Debian package, check it and start it unpacked
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-charts-dev libgl-dev libsqlcipher-dev sqlcipher libbenchmark-dev
          fonts-noto-cjk qt6-translations-l10n xvfb xauth
          dpkg-dev file lintian desktop-file-utils appstream)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

build() { # build <dir> <extra cmake args...>
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec build/src/app/vellumore
    ;;
test)
    install_missing
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLUMORE_WERROR=ON
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DVELLUMORE_WERROR=ON -DVELLUMORE_SANITIZE=ON
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
    packaging/check-package.sh build
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
