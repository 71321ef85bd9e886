#!/usr/bin/env bash
# Installs what building and the tests need, builds, and runs every test
# through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test
bash scripts/build.sh
ctest --test-dir build --output-on-failure
