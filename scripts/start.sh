#!/usr/bin/env bash
# Sets up and starts the program. It runs in the build folder, beside its help pages.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "zelk: no display found (DISPLAY and WAYLAND_DISPLAY are not set); the program needs a desktop session." >&2
  echo "      Without a screen it can be started as: xvfb-run $here/build/zelk" >&2
  exit 1
fi
cd "$here/build"
exec ./zelk
