#!/usr/bin/env bash
# Shared by scripts/run and scripts/test: installs the Debian packages the build
# needs (only the missing ones) and configures and builds the tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(
    g++ cmake ninja-build pkg-config lld python3
    qt6-base-dev qt6-declarative-dev libgl-dev
    libjpeg62-turbo-dev
    googletest libgtest-dev libbenchmark-dev libsqlite3-dev
    fonts-wqy-microhei qt6-translations-l10n
    xvfb xauth poppler-utils xdotool openbox x11-utils
    desktop-file-utils
)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build_tree [PRESET]: configures and builds one preset (default: "default").
build_tree() {
    local preset="${1:-default}"
    cd "$ROOT"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}
