#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only those missing,
# then configures and builds the program and its tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev
          libgtest-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth openbox pkg-config libxcb1-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  # sudo clears the environment, so the variable goes after it.
  as_root=(env DEBIAN_FRONTEND=noninteractive)
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2
      exit 1
    fi
    as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
build="$here/build"
# The test command builds with warnings as errors; starting the program does not.
werror=OFF
if [ "${ZELK_WERROR:-0}" = 1 ]; then werror=ON; fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_WARNINGS_AS_ERRORS=$werror
else
  cmake -S "$here" -B "$build" -DZELK_WARNINGS_AS_ERRORS=$werror >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)"
