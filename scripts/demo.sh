#!/usr/bin/env bash
# Installs what is missing, builds, and starts rp_tarifario on the demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/src/app/rp_tarifario --demo "$@"
