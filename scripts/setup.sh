#!/usr/bin/env bash
# Installs what building and testing Pagimond needs on a Debian machine, then
# configures and builds into build/. Used by ./run and ./test.
# PAGIMOND_PRESET (default "default", see CMakePresets.json) names the configuration, BUILD_DIR the
# folder (default build/), CMAKE_EXTRA_ARGS more arguments for the first configure.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build qt6-base-dev libgl1-mesa-dev libgtest-dev libcli11-dev
          libzip-dev pkgconf unzip libgraphviz-dev qt6-translations-l10n xvfb xauth fonts-dejavu-core desktop-file-utils dpkg-dev time
          epubcheck poppler-utils libcpp-httplib-dev)
scripts/install-packages.sh "${packages[@]}"

BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake --preset "${PAGIMOND_PRESET:-default}" -B "$BUILD_DIR" ${CMAKE_EXTRA_ARGS:-}
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
