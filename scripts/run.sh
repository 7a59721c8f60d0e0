#!/usr/bin/env bash
# Builds greetcard and starts the window. Without a display it says so and
# shows how to render a card with the command-line renderer instead.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display is available, so the greetcard window cannot open here."
  echo "Render a card from the command line instead, for example:"
  echo "  build/release/greetcard-render \"ana\" -o ana.png"
  exit 0
fi
exec build/release/greetcard "$@"
