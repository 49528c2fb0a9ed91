#!/usr/bin/env bash
# Installs the Debian packages the build needs, once: a second run only asks
# dpkg and returns.  Sourced by ./play and ./run-tests.
set -euo pipefail

VELMAROK_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libpng-dev zlib1g-dev
  libopenal-dev libopenal-data
  libsidplayfp-dev
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  acme python3 python3-pil python3-fonttools sox
  xvfb xfonts-base
  sidplayfp  # the console SID player the music tests compare levels with
)

velmarok_install_deps() {
  local missing=()
  local p
  for p in "${VELMAROK_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
