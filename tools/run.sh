#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessaly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
exec build/tessaly "$@"
