#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game; without a display,
# plays a short demo and saves its screenshots in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh
exec bash scripts/start-game.sh build/app/klikvar build/demo
