#!/usr/bin/env bash
# Installs what is missing, builds, starts the local PostgreSQL used by the
# connection-loss tests, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
[ -x scripts/pg-start.sh ] && scripts/pg-start.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
