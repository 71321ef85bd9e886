#!/usr/bin/env bash
# Installs what building and playing need, builds the game alone (not the
# tests), and starts it; without a display, installs a virtual display, plays
# a short demo on it and saves its screenshots in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh klikvar
exec bash scripts/start-game.sh build/app/klikvar build/demo
