#!/usr/bin/env bash
# Sets up and builds (scripts/setup.sh), then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600
