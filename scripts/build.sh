#!/usr/bin/env bash
# Installs what building and playing need, then configures and builds
# Klikvar in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
