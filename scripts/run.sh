#!/usr/bin/env bash
# Builds the program and starts it. With no register at hand (the default), a
# simulated register answers on the configured port: scripts/run.sh
# To use a real register instead:                     scripts/run.sh --real
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLUM_BUILD_TESTS=OFF >/dev/null
# Qt's moc step can miss a newly added header or .moc include in an existing
# build tree; making it look again costs little.
find build -path '*_autogen/timestamp' -delete 2>/dev/null || true
cmake --build build -j"$(nproc)" --target plumanager plumctl
args=(--demo)
if [ "${1:-}" = "--real" ]; then args=(); shift; fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting in a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a build/bin/plumanager "${args[@]}" "$@"
fi
exec build/bin/plumanager "${args[@]}" "$@"
