#!/usr/bin/env bash
# Installs what building and playing need, then configures and builds
# Klikvar in build/: the targets given, or everything, tests included.
# Usage: build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
if [ $# -eq 0 ]; then
  cmake --build build
else
  cmake --build build --target "$@"
fi
