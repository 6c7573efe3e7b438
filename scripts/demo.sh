#!/usr/bin/env bash
# The main job: builds a small demonstration database and shows it through the Jet SQL shell.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "(the demonstration is not built yet)"
