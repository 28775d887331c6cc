#!/usr/bin/env bash
# Installs what is missing, builds the client in release mode, installs it
# (binary, menu entry, icon, and the shared settings directory) and starts it.
# Extra arguments go to CMake's configure step, e.g.
#   scripts/run.sh -DTARNWICK_SERVICE_HOST=127.0.0.1:8080
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset release "$@" >/dev/null
cmake --build --preset release -j "$(nproc)"
cmake --install build/release

# Started as the desktop user when run through sudo, so the window opens on
# that user's display and any new settings file is theirs.
if [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  exec sudo -u "$SUDO_USER" --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_RUNTIME_DIR tarnwick
fi
exec tarnwick
