#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing),
# then configures and builds the project into build/ at the repository root.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  build-essential cmake ninja-build pkg-config ccache clang clang-format codespell
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libqt6sql6-sqlite libqt6opengl6-dev
  libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libcli11-dev
  libcurl4-openssl-dev python3-aiosmtpd openssl fonts-liberation2 fonts-dejavu-core libsqlite3-dev
  libzip-dev poppler-utils libsndfile1-dev sqlite3
  dpkg-dev file binutils lintian desktop-file-utils appstream xvfb xdotool imagemagick
  postgresql libpq-dev libqt6sql6-psql graphviz libsecret-1-dev
  libmosquitto-dev mosquitto
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  # Refresh the package lists only when the install cannot find what it needs.
  if ! "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
  fi
fi

if [[ "${1:-}" == "--packages-only" ]]; then exit 0; fi

# The dev preset (build/, RelWithDebInfo) compiles through cmake/ccache-launcher: with ccache, a
# fresh clone in another folder reuses what an earlier build on this machine compiled.
cd "$root"
cmake --preset dev >/dev/null
cmake --build --preset dev --parallel "$(nproc)"
